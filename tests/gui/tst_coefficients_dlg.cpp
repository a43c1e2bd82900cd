// "Material and Temperature Coefficients" on the simulated bus with calibration files beside it: the "=?"
// marks, the question before rewriting identical data, the busy banner, and the LOC file actions.

#include "config_dialog_support.h"
#include "core/config/calib_files.h"
#include "core/config/loc_directory.h"
#include "gui/config/coefficients_dlg.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/virtual_list_model.h"
#include "gui_test_support.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>

using namespace terrix;

namespace {

constexpr int kDiffColumn = 1;
constexpr const char* kAskIdentical = "The actual calibration data is identical to that on the module!\nAre "
                                      "you sure to rewrite the module's data?";

void WriteFile(const QString& path, const std::string& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.data(), static_cast<qint64>(text.size()));
}

// CAL and TDC files in `dir` holding what the module holds.
void WriteCalibFiles(const QString& dir, const CalibSet& set) {
    for (size_t i = 0; i < kCalibPositions; ++i) {
        for (const bool temperature : {false, true}) {
            const uint16_t id = temperature ? set.aTempCalib[i].wCalibId : set.aMatCalib[i].wCalibId;
            const CalibCoeffs& coeffs = temperature ? set.aTempCalib[i].adCoeff : set.aMatCalib[i].adCoeff;
            std::string text = "; calibration " + std::to_string(id) + "\n";
            for (size_t j = 0; j < 6; ++j) {
                char line[64];
                std::snprintf(line, sizeof line, "%c%zu=%.17g\n", temperature ? 't' : 'c', j, coeffs[j]);
                text += line;
            }
            WriteFile(dir + QLatin1Char('/') +
                          QString::fromStdString(CalibFileName(id, temperature ? "TDC" : "CAL")),
                      text);
        }
    }
}

QStringList DiffColumn(const CCoefficientsDlg& dialog) {
    QStringList marks;
    const CVirtualListModel* model = dialog.CalibListView()->ListModel();
    for (int row = 0; row < model->RowCount(); ++row) {
        marks << model->data(model->index(row, kDiffColumn)).toString();
    }
    return marks;
}

} // namespace

class TestCoefficientsDlg : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

private Q_SLOTS:
    // Files that differ from the module only in c3 of position 4 mark row 4 with "m" and no other row;
    // with identical files, Program module asks first, and No sends nothing.
    void differencesAndIdenticalData() {
        test::ConfigBus bus;
        test::MessageRecorder recorder;
        CCoefficientsDlg dialog(bus.context, nullptr, bus.xv);
        QVERIFY(dialog.OpenPort());
        dialog.RereadModule();
        QVERIFY(dialog.Workspace().ModuleRead());
        QCOMPARE(dialog.BannerText(), QString());
        CalibSet files = dialog.Workspace().ModuleSet();
        files.aMatCalib[4].adCoeff[3] += 0.5;
        WriteCalibFiles(data_.Path(), files);
        dialog.RereadFiles();
        QStringList expected(16, QString());
        expected[4] = QStringLiteral("m");
        QCOMPARE(DiffColumn(dialog), expected);
        // Choosing the row shows its coefficients and allows setting it active.
        QVERIFY(!dialog.SetActiveButton()->isEnabled());
        dialog.CalibListView()->Select(4);
        QVERIFY(dialog.SetActiveButton()->isEnabled());
        const CVirtualListModel* coeffs = dialog.CoeffListView()->ListModel();
        QVERIFY(coeffs->data(coeffs->index(3, 2)).toString() != coeffs->data(coeffs->index(3, 3)).toString());

        WriteCalibFiles(data_.Path(), dialog.Workspace().ModuleSet());
        dialog.RereadFiles();
        QCOMPARE(DiffColumn(dialog), QStringList(16, QString()));
        recorder.Clear();
        recorder.answers = {QMessageBox::No};
        bus.bus->ClearRequestLog();
        dialog.ProgramModule();
        QCOMPARE(recorder.Texts(), QStringList{QString::fromLatin1(kAskIdentical)});
        QCOMPARE(bus.bus->RequestLog().size(), size_t{0});
        QCOMPARE(dialog.BannerText(), QString());
        QVERIFY(!dialog.ModuleChanged());
    }

    void openLocFile_data() {
        QTest::addColumn<bool>("calFilePresent");
        QTest::newRow("complete") << true;
        QTest::newRow("CAL file missing") << false;
    }
    // The file dialog starts in the stored LOC directory; a LOC file read shows its comment without the
    // leading ";" and blanks and stores its directory. One that names a missing CAL file names that file.
    void openLocFile() {
        QFETCH(bool, calFilePresent);
        test::ConfigBus bus;
        const QString locDir = data_.File(QStringLiteral("loc"));
        QVERIFY(QDir().mkpath(locDir));
        QVERIFY(SaveLocDirectory(data_.Path().toStdString()));
        std::string loc = ";  Soils of the north field\n";
        for (int i = 0; i < 16; ++i) {
            loc += "[" + std::to_string(i) + "]=" + std::to_string(i == 0 ? 777 : 100 + i) + "\n";
        }
        WriteFile(locDir + QStringLiteral("/north.LOC"), loc);
        QFile::remove(locDir + QStringLiteral("/XV00777.CAL"));
        for (int i = 0; i < 16; ++i) {
            if (i != 0 || calFilePresent) {
                WriteFile(locDir + QLatin1Char('/') +
                              QString::fromStdString(CalibFileName(i == 0 ? 777 : 100 + i, "CAL")),
                          "c0=1.5\n");
            }
        }
        test::MessageRecorder recorder;
        CCoefficientsDlg dialog(bus.context, nullptr, bus.xv);
        QString startedIn;
        dialog.SetLocFileChooser([&](QWidget*, const QString& directory) {
            startedIn = directory;
            return locDir + QStringLiteral("/north.LOC");
        });
        dialog.OpenLocFile();
        QCOMPARE(startedIn, data_.Path());
        // A LOC file naming a missing CAL file is still shown (IDs and comparison visible), the missing
        // file named; it can never be programmed.
        QVERIFY(dialog.Workspace().FilesRead());
        QCOMPARE(dialog.Workspace().FilesComplete(), calFilePresent);
        QCOMPARE(dialog.FileCommentField()->text(), QStringLiteral("Soils of the north field"));
        if (calFilePresent) {
            QCOMPARE(recorder.Texts(), QStringList());
            QCOMPARE(QString::fromStdString(LoadLocDirectory().string()), locDir);
        } else {
            QCOMPARE(recorder.messages.size(), size_t{1});
            const QString text = recorder.Texts().front();
            QVERIFY2(text.contains(QStringLiteral("XV00777.CAL")), qPrintable(text));
        }
    }
};

QTEST_MAIN(TestCoefficientsDlg)
#include "tst_coefficients_dlg.moc"
