#pragma once
// A context menu with a title line on top, drawn like a window caption (the module menu of the circuit
// window shows the module there). Items carry their command number as QAction data.

#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QWidgetAction>

namespace terrix {

class CTitledPopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit CTitledPopupMenu(QWidget* parent = nullptr);

    // Adds an item that sends command `commandId` to the tracking window.
    QAction* AddCommand(const QString& text, int commandId);

    // Puts a disabled, caption-coloured title line at the top (also for an empty text); a later call
    // replaces the text.
    void SetMenuTitle(const QString& text);
    QString MenuTitle() const { return title_; }
    // The title line's widget (null before SetMenuTitle).
    QLabel* TitleLabel() const { return titleLabel_; }

    // Shows the menu at `globalPos`; the chosen item's command goes to the top-level window of `window`
    // (a dialog, never one of its controls) as a CCommandEvent. Returns the chosen action or null.
    QAction* Track(const QPoint& globalPos, QWidget* window);

    // The window that receives the commands of a menu tracked for `window`.
    static QWidget* CommandTarget(QWidget* window);

protected:
    void changeEvent(QEvent* event) override;

private:
    void StyleTitle();

    QString title_;
    QPointer<QWidgetAction> titleAction_;
    QPointer<QLabel> titleLabel_;
};

} // namespace terrix
