#pragma once
// Fields that show a value the user cannot change (a previous value, a count found so far): read-only and
// passed over by Tab.

#include <QLineEdit>

namespace terrix {

// Makes an existing field (also a numeric edit) show-only.
void MakeShowOnly(QLineEdit* field);

// A new show-only field for a number (right-aligned), at least as wide as `digits` digits; one for fewer than
// eight digits also stays that narrow, so that a number field does not take the room of the controls beside
// it.
QLineEdit* ReadOnlyField(QWidget* parent, int digits);

} // namespace terrix
