#include "gui/app/numbered_translator.h"

#include "gui/app/string_catalogue.h"

namespace terrix {

bool IsResourceNumber(const char* disambiguation) {
    if (disambiguation == nullptr || *disambiguation == '\0') {
        return false;
    }
    for (const char* p = disambiguation; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') {
            return false;
        }
    }
    return true;
}

QString CNumberedTranslator::translate(const char* context, const char* sourceText,
                                       const char* disambiguation, int n) const {
    if (IsResourceNumber(disambiguation)) {
        QString text = QTranslator::translate(kCatalogueContext, sourceText, disambiguation, n);
        if (!text.isNull()) {
            return text;
        }
    }
    return QTranslator::translate(context, sourceText, disambiguation, n);
}

} // namespace terrix
