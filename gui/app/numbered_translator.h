#pragma once
// A translator that serves numbered texts (disambiguation = resource number) from the catalogue context
// first, so every window that asks for a numbered text gets the one translation of that number.

#include <QTranslator>

namespace terrix {

class CNumberedTranslator : public QTranslator {
    Q_OBJECT
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
};

// True when `disambiguation` is a resource number (digits only).
bool IsResourceNumber(const char* disambiguation);

} // namespace terrix
