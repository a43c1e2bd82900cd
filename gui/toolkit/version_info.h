#pragma once
// The program's own version data (internal name, file version "a, b, c, d", legal text) and the version
// line the about box shows from it.

#include <QString>

namespace terrix {

struct VersionInfo {
    QString internalName;
    QString fileVersion; // "major, minor, patch, build"
    QString legalCopyright;
};

// This program's version data, from the project's version numbers.
VersionInfo ProgramVersionInfo();

// "<InternalName> Version a.b (Build c.d)".
QString FormatVersionLine(const VersionInfo& info);

} // namespace terrix
