#include "gui/config/config_text.h"

#include "gui/toolkit/core_text.h"

#include <QtGlobal>

#include <array>

namespace terrix {

namespace {

constexpr const char* kContext = "terrix::ConfigText";

// The core's fixed texts. Each must match the core's wording exactly (tst_config_dialogs checks the texts
// the core's headers name).
constexpr std::array kWholeTexts = {
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Error"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Failed to request for TavikXV's actual switch postion!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Error getting coefficient from module!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Don't set reset baudrate!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Don't get application parameters!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Don't set application parameters!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Set Offset failed!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "The offset must be a finite number of percent."),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Don't get analog config!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Don't set analog config!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Don't get zero offset!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Don't set measuring low limit!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "The limit must lie between 0 and 100 %."),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Don't get Halt Measuring State!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Don't get file name!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "don't get file name!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Can't read file !"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Can't open the file!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Can't write the file!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Can't read the file!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Number of parameters isn't 5,\nCheck it and try again please!"),
    QT_TRANSLATE_NOOP(
        "terrix::ConfigText",
        "Program has not read (successfully) any calibration data from a module.\nAdditionally "
        "no calibration data has been retrieved from LOC files.\nTherfor this function won't be "
        "executed!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText",
                      "Program has not read (successfully) any calibration data from a module.\nEither the "
                      "module or the communication with the NKP-bus has been damaged.\nIf you continue to "
                      "write any data into the module you possibly can destroy the module!\nDO YOU STILL "
                      "INSIST TO CONTINUE this operation?"),
    QT_TRANSLATE_NOOP(
        "terrix::ConfigText",
        "No calibration data has been read from the LOC files.\nTherfor this operation will only "
        "write the actual calibration data into the module.\nAre you sure to continue this "
        "operation?"),
    QT_TRANSLATE_NOOP("terrix::ConfigText",
                      "No calibration data has been read from the LOC files.\nProgramming all modules writes "
                      "the data of the LOC files into every module, so nothing has been written."),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "The actual calibration data is identical to that on the "
                                            "module!\nAre you sure to rewrite the module's data?"),
    QT_TRANSLATE_NOOP("terrix::ConfigText",
                      "If including known modules, need to fully scan again!\nNow continue program?"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Writing data into module..."),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Calibration data written into module.\nReading calibration data "
                                            "from module for verifying correctness of written data."),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Verifying written data..."),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Loading data from module..."),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Failed to write calibration data into selected module!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Failed to read material calibration data from module!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "calibration data successfully written into module."),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Failed to read LOC file!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText",
                      "Before using this function, please enter a new calibration switch value!"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "CAUTION! Product selection switch will be activated by setting "
                                            "calibration 0.\n\n  Are you sure to proceed?"),
    QT_TRANSLATE_NOOP("terrix::ConfigText",
                      "CAUTION! This function is fixing the selected calibration\n  and deactivating the "
                      "product selection switch!\n  Please choose calibration 0 to activate the product "
                      "selection switch.\n\n  Are you sure to proceed?"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Failed to set active calibration"),
};

// Fixed words around a detail (a list of files, a path).
constexpr std::array kPatterns = {
    QT_TRANSLATE_NOOP("terrix::ConfigText",
                      "The LOC file names calibration files that are missing or cannot be read: %1"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "The LOC file names calibration files that are missing or cannot "
                                            "be read, so nothing has been programmed: %1"),
    QT_TRANSLATE_NOOP("terrix::ConfigText", "Open %1 failed!"),
};

} // namespace

QString ConfigText(const std::string& text) {
    return TranslateCoreText({kContext, kWholeTexts, kPatterns}, text);
}

} // namespace terrix
