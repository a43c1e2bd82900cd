#pragma once
// "XV Application Parameters": the XV module's five application parameters in percent and seconds, with
// the counts the module keeps following the entered seconds as they are typed; writing to the module, to
// every XV module of the bus (offset and averaging time), and saving to and reading from ".par" files.
// Nothing is written that was neither read from the module nor loaded from a file.

#include "core/config/app_params.h"
#include "gui/config/module_config_dialog.h"

#include <functional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace terrix {

class CEditDouble;
class CEditDWord;

class CAppParamsDlg : public CModuleConfigDialog {
    Q_OBJECT
public:
    // Asks for a file name: true for saving. An empty result means the user cancelled.
    using FileChooser = std::function<QString(QWidget* parent, bool save)>;

    CAppParamsDlg(BusContext& context, QWidget* owner, ModuleRecord& record);

    // The block the new values give; false (the reason shown) when a field does not hold a usable value.
    bool TakeNewValues(AppParams& params);

    void SetAllOffsetsAndAveTime();
    void SaveParameters();
    void ReadParametersFromFile();

    void SetFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
    bool HasValues() const { return haveValues_; }

    enum Field { kOffset, kAveraging, kError66, kQueueFull, kQueueEmpty, kFieldCount };
    // The editable new value (offset: a CEditDouble; the others: CEditDWord).
    QLineEdit* NewField(Field field) const;
    QLineEdit* PreviousField(Field field) const { return previous_[field]; }
    // The derived counts (empty for the offset).
    QLineEdit* NewCountField(Field field) const { return newCount_[field]; }
    QLineEdit* PreviousCountField(Field field) const { return previousCount_[field]; }
    QPushButton* OkButton() const;
    QPushButton* SetAllButton() const { return setAll_; }

    // Writes the new values (a failure is reported), then closes; a value that is not usable keeps the
    // dialog open.
    void accept() override;

protected:
    // Reads the block and shows it as previous and new values; on failure (reported) everything shows 0
    // and writing stays disabled until a parameter file is read.
    void ReadModule() override;

private:
    void Retranslate();
    void ShowPrevious(const AppParams& params);
    void ShowNew(const AppParams& params);
    void UpdateCount(Field field);
    void UpdateEnabling();
    QString ChooseFile(bool save);

    FileChooser chooseFile_;
    bool haveValues_ = false;

    QLabel* headers_[4] = {};
    QLabel* labels_[kFieldCount] = {};
    QLineEdit* previous_[kFieldCount] = {};
    CEditDouble* newOffset_ = nullptr;
    CEditDWord* newSeconds_[kFieldCount] = {};
    QLineEdit* previousCount_[kFieldCount] = {};
    QLineEdit* newCount_[kFieldCount] = {};
    QLabel* units_[kFieldCount] = {};
    QPushButton* setAll_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* load_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

bool RunAppParamsDialog(BusContext& context, QWidget* owner, ModuleRecord& record);

} // namespace terrix
