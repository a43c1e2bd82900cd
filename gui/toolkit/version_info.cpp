#include "gui/toolkit/version_info.h"

#include "terrix_version.h"

#include <QCoreApplication>
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
    // Kept in English here and translated where it is shown.
    info.legalCopyright = QString::fromUtf8(
        QT_TRANSLATE_NOOP("terrix::CAboutDlg", "Copyright © ORVA GmbH. All rights reserved."));
    return info;
}

QString FormatVersionLine(const VersionInfo& info) {
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
    return QCoreApplication::translate("terrix::CAboutDlg", "%1 Version %2.%3 (Build %4.%5)")
        .arg(info.internalName)
        .arg(numbers[0])
        .arg(numbers[1])
        .arg(numbers[2])
        .arg(numbers[3]);
}

} // namespace terrix
