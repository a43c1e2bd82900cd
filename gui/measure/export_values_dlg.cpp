#include "gui/measure/export_values_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace terrix {

CExportValuesDlg::CExportValuesDlg(uint32_t shownBegin, uint32_t shownEnd, uint32_t count, bool german,
                                   QWidget* parent)
    : CPlacementDialog(parent) {
    setWindowTitle(tr("Export values"));
    auto* range = new QGroupBox(tr("Values"), this);
    shown_ = new QRadioButton(shownEnd > shownBegin
                                  ? tr("&Shown on the plot: %1 to %2").arg(shownBegin).arg(shownEnd - 1)
                                  : tr("&Shown on the plot: none"),
                              range);
    all_ = new QRadioButton(tr("&All %1 values").arg(count), range);
    all_->setChecked(true);
    shown_->setEnabled(shownEnd > shownBegin);
    auto* rangeLayout = new QVBoxLayout(range);
    rangeLayout->addWidget(shown_);
    rangeLayout->addWidget(all_);

    separator_ = new QComboBox(this);
    separator_->addItem(tr("Semicolon ( ; )"), QVariant(int{';'}));
    separator_->addItem(tr("Comma ( , )"), QVariant(int{','}));
    separator_->addItem(tr("Tab"), QVariant(int{'\t'}));
    separator_->setCurrentIndex(german ? 0 : 1);
    decimal_ = new QComboBox(this);
    decimal_->addItem(tr("Comma ( 1,5 )"), QVariant(int{','}));
    decimal_->addItem(tr("Point ( 1.5 )"), QVariant(int{'.'}));
    decimal_->setCurrentIndex(german ? 0 : 1);
    emptyErrors_ = new QCheckBox(tr("Leave values that could not be &measured empty"), this);

    auto* format = new QFormLayout;
    format->addRow(tr("&Column separator:"), separator_);
    format->addRow(tr("&Decimal mark:"), decimal_);
    format->addRow(emptyErrors_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CExportValuesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CExportValuesDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(range);
    layout->addLayout(format);
    layout->addWidget(buttons);
    setLayout(layout);
}

bool CExportValuesDlg::AllValues() const {
    return all_->isChecked();
}

CsvOptions CExportValuesDlg::Options(const std::vector<std::string>& units) const {
    CsvOptions options;
    options.separator = static_cast<char>(separator_->currentData().toInt());
    options.decimalMark = static_cast<char>(decimal_->currentData().toInt());
    options.emptyErrorCells = emptyErrors_->isChecked();
    options.byteOrderMark = std::any_of(units.begin(), units.end(), [](const std::string& unit) {
        return std::any_of(unit.begin(), unit.end(),
                           [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    });
    return options;
}

} // namespace terrix
