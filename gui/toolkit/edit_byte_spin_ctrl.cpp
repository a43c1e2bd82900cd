#include "gui/toolkit/edit_byte_spin_ctrl.h"

#include "gui/toolkit/edit_num.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace terrix {

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
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        button->setFixedWidth(16);
        layout->addWidget(button);
    }
    connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
}

void CEditByteSpinCtrl::SetBuddy(CEditNumBase* buddy) {
    if (buddy_ != nullptr) {
        buddy_->removeEventFilter(this);
    }
    buddy_ = buddy;
    if (buddy_ != nullptr) {
        buddy_->installEventFilter(this);
    }
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
