#pragma once
// The start-up check of the user-interface toolkit: the Qt libraries the program runs with must be at least
// the version it was built against (a program built for Qt 6.4 may use 6.4 features that an older library
// lacks), and the platform must offer a screen to show windows on.

#include <QString>

namespace terrix {

// Compares "major.minor[.patch]" version strings; true when `runtime` is at least `required`.
bool VersionAtLeast(const QString& runtime, const QString& required);

// True when the running toolkit is sufficient; `required` receives the version that is needed.
bool ToolkitSufficient(QString* required = nullptr);

} // namespace terrix
