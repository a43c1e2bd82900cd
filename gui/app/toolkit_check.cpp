#include "gui/app/toolkit_check.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QtGlobal>

namespace terrix {

bool VersionAtLeast(const QString& runtime, const QString& required) {
    const QStringList have = runtime.split(QLatin1Char('.'));
    const QStringList need = required.split(QLatin1Char('.'));
    for (qsizetype i = 0; i < need.size(); ++i) {
        const int h = i < have.size() ? have[i].toInt() : 0;
        const int n = need[i].toInt();
        if (h != n) {
            return h > n;
        }
    }
    return true;
}

bool ToolkitSufficient(QString* required) {
    // Patch releases keep the interface, so major and minor version decide.
    const QString needed = QStringLiteral("%1.%2").arg(QT_VERSION_MAJOR).arg(QT_VERSION_MINOR);
    if (required != nullptr) {
        *required = needed;
    }
    return VersionAtLeast(QString::fromLatin1(qVersion()), needed) &&
           QGuiApplication::primaryScreen() != nullptr;
}

} // namespace terrix
