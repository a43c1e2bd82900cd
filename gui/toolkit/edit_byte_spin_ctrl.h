#pragma once
// Up and down arrows beside a numeric field: each step calls the field's Increment, so the field, not the
// arrows, holds the value and the range. The Up and Down keys in the field step it too. The two arrows
// share the field's height, so that they sit beside it as one control.

#include <QPointer>
#include <QWidget>

class QToolButton;

namespace terrix {

class CEditByte;

class CEditByteSpinCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CEditByteSpinCtrl(QWidget* parent = nullptr);

    void SetBuddy(CEditByte* buddy);
    CEditByte* Buddy() const { return buddy_; }

    // What one click on an arrow does: +1 up, -1 down.
    void Step(int delta);

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

    // As tall as the buddy field (the arrows halve it), as wide as one arrow.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    QPointer<CEditByte> buddy_;
};

} // namespace terrix
