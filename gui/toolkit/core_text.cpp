#include "gui/toolkit/core_text.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <array>
#include <vector>

namespace terrix {

namespace {

constexpr const char* kContext = "terrix::CoreText";

// Whole texts: port, station-number, measurement-file and copy messages, and the system's error texts that
// a full, read-only or vanished medium gives. Each must match the core's wording exactly.
constexpr std::array kWholeTexts = {
    QT_TRANSLATE_NOOP("terrix::CoreText", "the serial port"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "The measuring loop is running on this port. Stop the measurement "
                                          "before using bus commands."),
    QT_TRANSLATE_NOOP("terrix::CoreText",
                      "The station number was sent, but the bus state could not be saved."),
    QT_TRANSLATE_NOOP("terrix::CoreText", "Station numbers range from 0 to 252."),
    QT_TRANSLATE_NOOP("terrix::CoreText", "Another module of the bus already uses that station number."),
    QT_TRANSLATE_NOOP("terrix::CoreText", "The module does not answer at its new station number; the bus "
                                          "state was not changed. Scan the bus."),
    QT_TRANSLATE_NOOP("terrix::CoreText", "record has no serial number"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "the file is shorter than a measurement file header"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "the file is not a measurement data file (wrong identification); "
                                          "it is left unchanged"),
    QT_TRANSLATE_NOOP("terrix::CoreText",
                      "the measurement data file has an unknown version; it is left unchanged"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "the file is not open"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "the file is open for reading only"),
    QT_TRANSLATE_NOOP(
        "terrix::CoreText",
        "the file's records do not match this module's record layout (did the module change?); "
        "it is left unchanged: erase the file or move it elsewhere to measure this module again"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "no such record in the file"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "no record size is set"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "the file belongs to another module (its header names another "
                                          "serial number); it is left unchanged"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "the file is in use by another writer"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "the output could not be written"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "not copied"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "incomplete copy"),
    // The C library's texts (strerror) for the failures a technician meets on a laptop in the field.
    QT_TRANSLATE_NOOP("terrix::CoreText", "No space left on device"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "Permission denied"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "Read-only file system"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "No such file or directory"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "Input/output error"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "Disk quota exceeded"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "Device or resource busy"),
};

// Fixed words around one or two details %1, %2; the most specific first, the bare "<file>: <reason>" last.
constexpr std::array kPatterns = {
    QT_TRANSLATE_NOOP("terrix::CoreText",
                      "Permission denied opening %1. Add your user to the 'dialout' group "
                      "(sudo usermod -aG dialout $USER), then log in again."),
    QT_TRANSLATE_NOOP("terrix::CoreText", "%1 is in use by another program."),
    QT_TRANSLATE_NOOP("terrix::CoreText",
                      "%1 does not exist. Check the cable and the port chosen in the settings."),
    QT_TRANSLATE_NOOP("terrix::CoreText", "%1 is not a serial device."),
    QT_TRANSLATE_NOOP("terrix::CoreText", "Lost the connection to %1 (input/output error). Check that the "
                                          "serial adapter is still plugged in."),
    QT_TRANSLATE_NOOP("terrix::CoreText", "Cannot use %1: %2."),
    QT_TRANSLATE_NOOP("terrix::CoreText", "Station %1 is used by module %2 of the bus; moving another module "
                                          "there would create a collision. Choose a free station."),
    QT_TRANSLATE_NOOP("terrix::CoreText", "record %1 could not be read: %2"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "cannot create %1: %2"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "cannot write %1: %2"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "cannot replace %1: %2"),
    QT_TRANSLATE_NOOP("terrix::CoreText", "%1: %2"),
};

// A pattern as a regular expression with one capture per placeholder, in the order they stand.
struct CompiledPattern {
    QRegularExpression match;
    std::vector<int> order; // the placeholder number of each capture
};

CompiledPattern Compile(const char* source) {
    static const QRegularExpression placeholder(QStringLiteral("%(\\d)"));
    const QString text = QString::fromUtf8(source);
    QString expression = QStringLiteral("^");
    std::vector<int> order;
    qsizetype at = 0;
    for (auto it = placeholder.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        expression +=
            QRegularExpression::escape(text.mid(at, m.capturedStart() - at)) + QStringLiteral("(.+?)");
        order.push_back(m.captured(1).toInt());
        at = m.capturedEnd();
    }
    expression += QRegularExpression::escape(text.mid(at)) + QStringLiteral("$");
    // One or two details, numbered from 1 without a gap; any other pattern matches nothing.
    const bool numbered = (order.size() == 1 && order[0] == 1) ||
                          (order.size() == 2 && order[0] + order[1] == 3 && order[0] != order[1]);
    if (!numbered) {
        order.clear();
    }
    return {QRegularExpression(expression, QRegularExpression::DotMatchesEverythingOption), std::move(order)};
}

QString Translate(const CoreTextTable& table, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    for (const char* whole : table.whole) {
        if (utf8 == whole) {
            return QCoreApplication::translate(table.context, whole);
        }
    }
    // Compiled on each call: messages are rare, and the tables are short.
    for (const char* source : table.patterns) {
        const CompiledPattern pattern = Compile(source);
        const QRegularExpressionMatch m = pattern.match.match(text);
        if (pattern.order.empty() || !m.hasMatch()) {
            continue;
        }
        QStringList details(static_cast<qsizetype>(pattern.order.size()));
        for (size_t i = 0; i < pattern.order.size(); ++i) {
            // A detail may itself be a text of the table ("the serial port", a system error after a path).
            details[pattern.order[i] - 1] = Translate(table, m.captured(static_cast<int>(i) + 1));
        }
        const QString translated = QCoreApplication::translate(table.context, source);
        // All details at once, so a "%1" inside a detail (a path) is not taken for a placeholder.
        return details.size() == 1 ? translated.arg(details[0]) : translated.arg(details[0], details[1]);
    }
    return text;
}

} // namespace

QString TranslateCoreText(const CoreTextTable& table, const std::string& text) {
    return Translate(table, QString::fromStdString(text));
}

QString CoreText(const std::string& text) {
    return TranslateCoreText({kContext, kWholeTexts, kPatterns}, text);
}

} // namespace terrix
