#include "gui/toolkit/version_info.h"

#include <QStringList>

namespace terrix {

VersionInfo ProgramVersionInfo() {
    VersionInfo info;
    info.internalName = QStringLiteral("Terrix");
    info.fileVersion = QStringLiteral("%1, %2, %3, %4")
                           .arg(TERRIX_VERSION_MAJOR)
                           .arg(TERRIX_VERSION_MINOR)
                           .arg(TERRIX_VERSION_PATCH)
                           .arg(0);
    info.legalCopyright = QString::fromUtf8("Copyright \u00a9 ORVA GmbH. All rights reserved.");
    return info;
}

QString FormatVersionLine(const VersionInfo& info) {
    if (info.internalName.isEmpty() && info.fileVersion.isEmpty()) {
        return {};
    }
    // "%u, %u, %u, %u": numbers separated by commas; a missing number reads as 0.
    unsigned numbers[4] = {0, 0, 0, 0};
    const QStringList parts = info.fileVersion.split(QLatin1Char(','));
    for (qsizetype i = 0; i < parts.size() && i < 4; ++i) {
        bool ok = false;
        const unsigned value = parts[i].trimmed().toUInt(&ok);
        if (!ok) {
            break;
        }
        numbers[i] = value;
    }
    return info.internalName + QStringLiteral(" Version %1.%2 (Build %3.%4)")
                                   .arg(numbers[0])
                                   .arg(numbers[1])
                                   .arg(numbers[2])
                                   .arg(numbers[3]);
}

} // namespace terrix
