#pragma once
// A measured-value field's title as shown. The records keep their titles in English, as the measurement files
// carry them; on screen the words are in the user's language, while symbols ("n1", "c0", "MatID") and a
// module's own unit names stay as they are.

#include <QString>

#include <string>

namespace terrix {

QString FieldTitleText(const std::string& title);

} // namespace terrix
