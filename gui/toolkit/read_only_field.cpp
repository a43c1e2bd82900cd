#include "gui/toolkit/read_only_field.h"

namespace terrix {

void MakeShowOnly(QLineEdit* field) {
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
}

QLineEdit* ReadOnlyField(QWidget* parent, int digits) {
    auto* field = new QLineEdit(parent);
    MakeShowOnly(field);
    field->setAlignment(Qt::AlignRight);
    const int width = field->fontMetrics().horizontalAdvance(QString(digits, QLatin1Char('0'))) + 16;
    field->setMinimumWidth(width);
    if (digits < 8) {
        field->setMaximumWidth(width);
    }
    return field;
}

} // namespace terrix
