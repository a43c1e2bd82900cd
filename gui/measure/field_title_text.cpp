#include "gui/measure/field_title_text.h"

#include <QCoreApplication>

#include <array>

namespace terrix {

namespace {

// The titles of the record layouts that are words; each must match the layout's title exactly.
constexpr std::array kTranslatedTitles = {
    QT_TRANSLATE_NOOP("terrix::FieldTitle", "Date/Time"),
    QT_TRANSLATE_NOOP("terrix::FieldTitle", "Value"),
    QT_TRANSLATE_NOOP("terrix::FieldTitle", "Value 1"),
    QT_TRANSLATE_NOOP("terrix::FieldTitle", "Value 2"),
    QT_TRANSLATE_NOOP("terrix::FieldTitle", "Density"),
    QT_TRANSLATE_NOOP("terrix::FieldTitle", "Moisture [%]"),
    QT_TRANSLATE_NOOP("terrix::FieldTitle", "StdDev"),
    QT_TRANSLATE_NOOP("terrix::FieldTitle", "Error [%]"),
    QT_TRANSLATE_NOOP("terrix::FieldTitle", "TDR Level"),
    QT_TRANSLATE_NOOP("terrix::FieldTitle", "Temperature"),
};

} // namespace

QString FieldTitleText(const std::string& title) {
    for (const char* known : kTranslatedTitles) {
        if (title == known) {
            return QCoreApplication::translate("terrix::FieldTitle", known);
        }
    }
    // A unit name from a module (which may be Windows-1252 text) or a symbol: as it is.
    return QString::fromStdString(title);
}

} // namespace terrix
