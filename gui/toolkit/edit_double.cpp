#include "gui/toolkit/edit_double.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>

namespace terrix {

CEditDouble::CEditDouble(QWidget* parent) : CEditNum<double>(parent) {
    step_ = 1.0;
    min_ = -DBL_MAX;
    max_ = DBL_MAX;
}

QString CEditDouble::FormatValue(double value) {
    decimals_ = std::max(decimals_, DecimalsOf(value));
    return QString::fromStdString(FormatFixed(value, decimals_));
}

bool CEditDouble::SetValue(double value) {
    value = RoundToSixDecimals(value);
    if (!std::isfinite(value) || value > max_ || value < min_) {
        return false;
    }
    previous_ = value_;
    value_ = value;
    setText(FormatValue(value));
    return true;
}

int CEditDouble::Validate(const QString& text) {
    if (text == QLatin1String("+") || text == QLatin1String("-")) {
        return kIncomplete;
    }
    double value = 0;
    if (!ScanDouble(text.toStdString(), value)) {
        ShowValidationMessage(CEditNumBase::tr("Characters must be a number.\n"));
        return kNotANumber;
    }
    if (value < min_) {
        ShowValidationMessage(CEditNumBase::tr("Value must be at least %1.\n")
                                  .arg(QString::fromStdString(FormatFixed(min_, 6))));
        return kTooLow;
    }
    if (value > max_) {
        ShowValidationMessage(CEditNumBase::tr("Value must be less or equal than %1.\n")
                                  .arg(QString::fromStdString(FormatFixed(max_, 6))));
        return kTooHigh;
    }
    return kValid;
}

void CEditDouble::TakeTypedText() {
    double value = 0;
    if (ScanDouble(text().toStdString(), value)) {
        value_ = value;
    }
}

bool CEditDouble::SetTextChecked(const QString& text) {
    const int code = Validate(text);
    if (code != kValid) {
        ShowPasteNotice(code, text);
        return false;
    }
    previous_ = value_;
    double value = 0;
    ScanDouble(text.toStdString(), value);
    if (SetValue(value)) {
        setText(text);
    }
    return true;
}

} // namespace terrix
