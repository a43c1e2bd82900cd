#include "gui/toolkit/edit_integer.h"

#include <cstdlib>

namespace terrix {

template <typename T, uint32_t DefaultMaximum>
CEditInteger<T, DefaultMaximum>::CEditInteger(QWidget* parent) : CEditNum<T>(parent) {
    this->step_ = 1;
    this->min_ = 0;
    this->max_ = static_cast<T>(DefaultMaximum);
}

template <typename T, uint32_t DefaultMaximum>
QString CEditInteger<T, DefaultMaximum>::FormatValue(T value) const {
    return QString::fromStdString(FormatUnsigned(value, hex_));
}

template <typename T, uint32_t DefaultMaximum> bool CEditInteger<T, DefaultMaximum>::SetValue(T value) {
    if (value > this->max_ || value < this->min_) {
        return false;
    }
    this->previous_ = this->value_;
    this->value_ = value;
    this->setText(FormatValue(value));
    return true;
}

template <typename T, uint32_t DefaultMaximum>
int CEditInteger<T, DefaultMaximum>::Validate(const QString& text) {
    uint64_t value = 0;
    if (!ScanUnsigned(text.toStdString(), hex_, value)) {
        this->ShowValidationMessage(CEditNumBase::tr("Characters must form a number.\n"));
        return kNotANumber;
    }
    if (value < this->min_) {
        this->ShowValidationMessage(
            CEditNumBase::tr("Value must be at least %1.\n").arg(FormatValue(this->min_)));
        return kTooLow;
    }
    if (value > this->max_) {
        // The hexadecimal wording is the field's own.
        const QString format = hex_ ? CEditNumBase::tr("Value must be less or equal than least %1.\n")
                                    : CEditNumBase::tr("Value must be less or equal than %1.\n");
        this->ShowValidationMessage(format.arg(FormatValue(this->max_)));
        return kTooHigh;
    }
    return kValid;
}

template <typename T, uint32_t DefaultMaximum> void CEditInteger<T, DefaultMaximum>::TakeTypedText() {
    uint64_t value = 0;
    if (ScanUnsigned(this->text().toStdString(), hex_, value)) {
        this->value_ = static_cast<T>(value);
    }
}

template <typename T, uint32_t DefaultMaximum>
bool CEditInteger<T, DefaultMaximum>::SetTextChecked(const QString& text) {
    const int code = Validate(text);
    if (code != kValid) {
        this->ShowPasteNotice(code, text);
        return false;
    }
    this->previous_ = this->value_;
    uint64_t value = 0;
    ScanUnsigned(text.toStdString(), hex_, value);
    if (SetValue(static_cast<T>(value))) {
        this->setText(text);
    }
    return true;
}

template <typename T, uint32_t DefaultMaximum>
void CEditInteger<T, DefaultMaximum>::Increment(int steps, bool wrap) {
    // In 64 bits, so that neither maximum - step nor minimum + step can wrap around.
    const int64_t minimum = this->min_;
    const int64_t maximum = this->max_;
    const int64_t step = this->step_;
    int64_t value = this->value_;
    const long long count = std::llabs(static_cast<long long>(steps));
    for (long long i = 0; i < count; ++i) {
        if (steps > 0) {
            value = value <= maximum - step ? value + step : (wrap ? minimum : maximum);
        } else {
            value = value >= minimum + step ? value - step : (wrap ? maximum : minimum);
        }
    }
    SetValue(static_cast<T>(value));
}

template class CEditInteger<uint8_t, 255>;
template class CEditInteger<uint32_t, kMaxDWord>;
template class CEditInteger<uint32_t, 86400>;

} // namespace terrix
