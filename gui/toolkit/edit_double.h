#pragma once
// A floating-point entry field. It shows at least as many decimals as any value it has shown needed
// (1.25 once shown, 3 shows as 3.00), so a column of values keeps its decimals lined up.

#include "gui/toolkit/edit_num.h"

namespace terrix {

class CEditDouble : public CEditNum<double> {
    Q_OBJECT
public:
    explicit CEditDouble(QWidget* parent = nullptr);

    // Brings the value to six decimals first, as the field reads and shows it.
    bool SetValue(double value) override;
    int Validate(const QString& text) override;
    bool SetTextChecked(const QString& text) override;

    int Decimals() const { return decimals_; }
    // The text the field shows for `value`; raises the decimals when the value needs more.
    QString FormatValue(double value);

protected:
    void TakeTypedText() override;

private:
    int decimals_ = 0;
};

} // namespace terrix
