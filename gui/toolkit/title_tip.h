#pragma once
// The popup that shows the whole text of a list cell that is too narrow for it: it lies exactly over the
// cell, grows to the right as far as the text needs and goes away when the mouse leaves it. It takes no
// input: the list keeps receiving the mouse and tells the tip where the mouse is.

#include <QPointer>
#include <QWidget>

namespace terrix {

class ZTitleTip : public QWidget {
    Q_OBJECT
public:
    // `owner`: the widget whose cells the tip covers (a list's viewport); its font is used.
    explicit ZTitleTip(QWidget* owner);

    // Shows the tip over `cell` (owner coordinates) when `text`, drawn `xOffset` pixels into the cell, does
    // not fit. Nothing happens for an empty text or cell, while the tip is shown, or while no window of the
    // program is active. True when the tip is shown.
    bool Show(const QRect& cell, const QString& text, int xOffset);

    // The mouse moved to `ownerPos`: outside the area the tip was shown for, the tip hides. True when it hid.
    bool MouseMoved(const QPoint& ownerPos);

    QString Text() const { return text_; }
    // Where the tip stands (screen coordinates).
    QRect TipRect() const { return geometry(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<QWidget> owner_;
    QString text_;
    QRect hoverRect_; // owner coordinates: the cell, one pixel wider to the left, top and bottom
};

} // namespace terrix
