#pragma once
// The choices of "Export...": which values (those the plot shows, or all) and how the numbers are written
// (column separator, decimal mark, values that could not be measured), so that the spreadsheet program
// at hand reads the numbers as numbers.

#include "core/measure/csv_export.h"
#include "gui/toolkit/placement_dialog.h"

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace terrix {

class CExportValuesDlg : public CPlacementDialog {
    Q_OBJECT
public:
    // [shownBegin, shownEnd): the values on the plot; `count` all values. German spreadsheets expect ';'
    // and a decimal comma, which `german` chooses at the start.
    CExportValuesDlg(uint32_t shownBegin, uint32_t shownEnd, uint32_t count, bool german, QWidget* parent);

    bool AllValues() const;
    // The format chosen; with a byte order mark where a unit is not plain ASCII (such as "°C"), without
    // which some spreadsheet programs read the file as Windows-1252.
    CsvOptions Options(const std::vector<std::string>& units) const;

    QRadioButton* ShownButton() const { return shown_; }
    QComboBox* SeparatorBox() const { return separator_; }
    QComboBox* DecimalBox() const { return decimal_; }

private:
    QRadioButton* shown_ = nullptr;
    QRadioButton* all_ = nullptr;
    QComboBox* separator_ = nullptr;
    QComboBox* decimal_ = nullptr;
    QCheckBox* emptyErrors_ = nullptr;
};

} // namespace terrix
