#include "gui/toolkit/edit_byte_spin_ctrl.h"

#include "gui/toolkit/edit_integer.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace terrix {

namespace {

constexpr int kArrowWidth = 16;

} // namespace

CEditByteSpinCtrl::CEditByteSpinCtrl(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        // A tool button's own height would stack two of them far above a line edit; they take half of
        // whatever the control has.
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
        button->setMinimumHeight(0);
        button->setFixedWidth(kArrowWidth);
        layout->addWidget(button, 1);
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
}

void CEditByteSpinCtrl::SetBuddy(CEditByte* buddy) {
    if (buddy_ != nullptr) {
        buddy_->removeEventFilter(this);
    }
    buddy_ = buddy;
    if (buddy_ != nullptr) {
        buddy_->installEventFilter(this);
    }
    updateGeometry();
}

QSize CEditByteSpinCtrl::sizeHint() const {
    // Without a buddy, the height of a line edit in this style.
    const int height = buddy_ != nullptr ? buddy_->sizeHint().height() : QLineEdit().sizeHint().height();
    return {kArrowWidth, height};
}

void CEditByteSpinCtrl::Step(int delta) {
    if (buddy_ != nullptr && buddy_->isEnabled() && !buddy_->isReadOnly()) {
        buddy_->Increment(delta, false);
    }
}

bool CEditByteSpinCtrl::eventFilter(QObject* watched, QEvent* event) {
    // The type first: comparing with the buddy casts it, which is undefined while it is being destroyed
    // (it still sends events then).
    if (event->type() == QEvent::KeyPress && watched == buddy_) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            Step(key->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace terrix
