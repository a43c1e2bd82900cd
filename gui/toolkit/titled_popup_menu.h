#pragma once
// A context menu with a title line on top, drawn like a window caption (the module menu of the circuit
// window shows the module there). Items are the window's own QActions: choosing one triggers it, once;
// their command number (QAction data) serves only to find them.

#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QWidgetAction>

namespace terrix {

class CTitledPopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit CTitledPopupMenu(QWidget* parent = nullptr);

    // Adds an item with command number `commandId`; connect its triggered signal.
    QAction* AddCommand(const QString& text, int commandId);

    // Puts a disabled, caption-coloured title line at the top (also for an empty text). Once per menu,
    // after its commands.
    void SetMenuTitle(const QString& text);
    QString MenuTitle() const { return title_; }
    // The title line's widget (null before SetMenuTitle).
    QLabel* TitleLabel() const { return titleLabel_; }

    // Shows the menu at `globalPos` and returns at once; the chosen action is triggered from the event loop,
    // and the menu deletes itself once it has closed. (No loop of its own: a window closed meanwhile, at the
    // end of the session, is not deleted under a menu that still runs.) Create the menu with `new`.
    void Track(const QPoint& globalPos);

protected:
    void changeEvent(QEvent* event) override;

private:
    void StyleTitle();

    QString title_;
    QPointer<QWidgetAction> titleAction_;
    QPointer<QLabel> titleLabel_;
};

} // namespace terrix
