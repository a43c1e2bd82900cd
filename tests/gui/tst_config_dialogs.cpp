// The configuration dialogs of one module on the simulated bus: what they show, enable, send and refuse.
// The operations, conversions and files behind them are the core's and tested there.

#include "config_dialog_support.h"
#include "core/config/app_params.h"
#include "core/config/calib_files.h"
#include "core/config/calib_set.h"
#include "core/config/error66_limit.h"
#include "core/config/halt_state.h"
#include "core/config/loc_directory.h"
#include "core/config/offset_adjust.h"
#include "core/config/par_file.h"
#include "core/config/reset_baud.h"
#include "core/platform/port_user.h"
#include "core/platform/pump_wait.h"
#include "gui/base/bus_activity.h"
#include "gui/base/language.h"
#include "gui/busops/conversion_time_dlg.h"
#include "gui/busops/station_number_dlg.h"
#include "gui/config/active_calib_dlg.h"
#include "gui/config/app_params_dlg.h"
#include "gui/config/coefficients_dlg.h"
#include "gui/config/config_text.h"
#include "gui/config/error66_dlg.h"
#include "gui/config/offset_dlg.h"
#include "gui/config/reset_baud_dlg.h"
#include "gui/config/user_data_dlg.h"
#include "gui/toolkit/edit_double.h"
#include "gui/toolkit/edit_integer.h"
#include "gui/toolkit/module_window_title.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/virtual_list_model.h"
#include "gui_test_support.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace terrix;

namespace {

using Dlg = CAppParamsDlg;

void Type(QLineEdit* field, const QString& text) {
    field->selectAll();
    field->del();
    QTest::keyClicks(field, text);
}

constexpr int kDiffColumn = 1;

// CAL and TDC files in `dir` for the module of differencesAndIdenticalData: material IDs 500+i with c3 = 4
// (`c3At4` at position 4), temperature IDs 700+i with t0 = 1.
void WriteCalibFiles(const std::filesystem::path& dir, int c3At4) {
    for (uint16_t i = 0; i < kCalibPositions; ++i) {
        test::WriteFileBytes(dir / CalibFileName(500 + i, "CAL"), "c3=" + std::to_string(i == 4 ? c3At4 : 4));
        test::WriteFileBytes(dir / CalibFileName(700 + i, "TDC"), "t0=1");
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

class TestConfigDialogs : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

private Q_SLOTS:
    // The dialogs' bus work runs in jobs: a bus wait on this thread fails the test.
    void initTestCase() { ForbidBusWaitsOnThisThread(); }

    // While the loop holds the port no bus dialog opens; a dialog closes the port only if it opened it.
    void busDialogsRefusedWhileMeasuring() {
        test::ConfigBus bus;
        PortUser loop(&bus.context.portContext);
        QVERIFY(loop.Reserve());
        QVERIFY(!CError66Dlg(bus.context, nullptr, bus.xv).Open());
        QCOMPARE(bus.messages.Texts(), QStringList{BusBusyMeasuringText()});
        QCOMPARE(bus.bus->RequestLog().size(), size_t{0});
        loop.FreeReservation();

        auto dialog = bus.OpenRead<CActiveCalibDlg>();
        QVERIFY(dialog && bus.context.portContext.hPort != kInvalidPort);
        QVERIFY(bus.OpenRead<COffsetDlg>());
        QVERIFY2(bus.context.portContext.hPort != kInvalidPort, "closed by a dialog that did not open it");
        dialog.reset();
        QCOMPARE(bus.context.portContext.hPort, kInvalidPort);
    }

    // The change stops at the end of its range; the new offset follows it.
    void offsetStepsAndFailedRead() {
        test::ConfigBus bus;
        bus.ChangeXv([](sim::ModuleState& m) { m.offsets[0] = {1, 15}; }); // 1.5 tenths: 0.15 %
        const auto offset = bus.OpenRead<COffsetDlg>();
        QVERIFY(offset);
        COffsetDlg& dialog = *offset;
        const double previous = dialog.PreviousField()->GetValue();
        for (const auto& [button, presses, change] :
             {std::tuple{dialog.PlusButton(), 1001, 100.0}, std::tuple{dialog.MinusButton(), 2001, -100.0}}) {
            for (int i = 0; i < presses; ++i) {
                button->click();
            }
            QCOMPARE(dialog.ChangeField()->GetValue(), change);
            QCOMPARE(dialog.NewField()->GetValue(), previous + change);
        }
        // Typing a new offset moves the change, and not back again.
        dialog.NewField()->clear();
        QTest::keyClicks(dialog.NewField(), "2");
        QCOMPARE(dialog.ChangeField()->GetValue(), 2 - previous);
        QCOMPARE(dialog.NewField()->text(), QStringLiteral("2"));

        // After a failed read nothing can be written: all fields 0, the change buttons and OK disabled.
        bus.ChangeXv([](sim::ModuleState& m) {
            m.offsets[0] = {0, 300};
            m.faults.mute = true;
        });
        const auto failed = bus.OpenRead<COffsetDlg>();
        QVERIFY(failed);
        QCOMPARE(bus.messages.Texts(), QStringList{QString::fromLatin1(kMsgOffsetReadFailed)});
        for (CEditDouble* field : {failed->PreviousField(), failed->NewField(), failed->ChangeField()}) {
            QCOMPARE(field->GetValue(), 0.0);
        }
        QVERIFY(!failed->PlusButton()->isEnabled() && !failed->MinusButton()->isEnabled() &&
                !failed->OkButton()->isEnabled());
        QCOMPARE(failed->IsModified(), 0);
    }

    // An unchanged position closes without a question and without a set command; a new one is set.
    void activeCalibrationSetOnlyWhenChanged() {
        test::ConfigBus bus;
        bus.ChangeXv([](sim::ModuleState& m) { m.activeCalibration = 10; });
        for (const uint8_t chosen : {uint8_t{10}, uint8_t{4}}) {
            bus.messages.Clear();
            const auto dialog = bus.OpenRead<CActiveCalibDlg>();
            QVERIFY(dialog);
            QCOMPARE(dialog->PreviousField()->text(), QStringLiteral("A"));
            bus.bus->ClearRequestLog();
            dialog->NewField()->SetValue(chosen);
            dialog->accept();
            QTRY_COMPARE(dialog->result(), int(QDialog::Accepted));
            QCOMPARE(dialog->ModuleChanged(), chosen != 10);
            QCOMPARE(bus.Sent(205), size_t{chosen == 10 ? 0u : 1u});
            QCOMPARE(bus.messages.messages.size(), size_t{chosen == 10 ? 0u : 2u}); // question and "done"
        }
    }

    // The new value starts at the limit read; writing happens only for a changed value that was read. Escape
    // in the middle of the read closes the dialog at once and drops what the read brings (here a failure).
    void error66Limit() {
        const struct {
            bool refuseCfgWrite;
            const char* typed; // null: left at the value read
            QStringList messages;
            bool escape = false;
        } cases[] = {{false, nullptr, {}},
                     {false, "12.37", {}},
                     {true, nullptr, {QString::fromLatin1(kMsgSetAnalogCfgFailed)}},
                     {true, nullptr, {}, true}};
        for (const auto& c : cases) {
            test::ConfigBus bus;
            bus.ChangeXv([&](sim::ModuleState& m) {
                m.channels[1].zeroOffset = 46;
                if (c.refuseCfgWrite) {
                    m.faults.status6.insert(225);
                }
            });
            if (c.escape) {
                auto dialog = std::make_unique<CError66Dlg>(bus.context, nullptr, bus.xv);
                dialog->show();
                // At the first frame (the module check before the read), the worker waiting: gone at once.
                bool escaped = false;
                bool closedAtOnce = false;
                test::ActOnFirstFrame escape;
                escape.Arm([&] {
                    QTest::keyClick(dialog.get(), Qt::Key_Escape);
                    closedAtOnce = !dialog->isVisible() && dialog->result() == QDialog::Rejected;
                    escaped = true;
                });
                SetBusTraceObserver(&escape);
                QVERIFY(dialog->Open());
                QTRY_VERIFY(escaped);
                QVERIFY(closedAtOnce);
                QTRY_VERIFY(!dialog->Busy());
                QCoreApplication::processEvents();
                SetBusTraceObserver(nullptr);
                QCOMPARE(bus.messages.Texts(), c.messages);
                continue;
            }
            const auto dialog = bus.OpenRead<CError66Dlg>();
            QVERIFY(dialog);
            QCOMPARE(bus.messages.Texts(), c.messages);
            QCOMPARE(dialog->OkButton()->isEnabled(), !c.refuseCfgWrite);
            QCOMPARE(dialog->NewField()->GetValue(), c.refuseCfgWrite ? 0.0 : 4.6);
            if (c.typed != nullptr) {
                dialog->NewField()->clear();
                QTest::keyClicks(dialog->NewField(), c.typed);
            }
            bus.bus->ClearRequestLog();
            dialog->accept();
            QTRY_COMPARE(dialog->result(), int(QDialog::Accepted));
            QCOMPARE(dialog->ModuleChanged(), c.typed != nullptr);
            QCOMPARE(bus.Sent(224), size_t{c.typed != nullptr ? 1u : 0u});
        }
    }

    // After a failed read "Set Parameters" and "Set All..." stay disabled until a parameter file is read.
    void failedReadWritesNothingUntilAFileIsRead() {
        test::ConfigBus bus;
        bus.ChangeXv([](sim::ModuleState& m) { m.faults.mute = true; });
        const std::string text =
            "Offset Value in Percentage = 15.0\nAveraging Time in No of Measurements = 26\n"
            "Error66 Delay in units of 10 Measurements = 1\n"
            "Queue-Full Time in No of Measurements = 25\n"
            "Queue-Empty Time in No of Measurements = 5\n";
        const QString five = data_.File(QStringLiteral("five.par"));
        test::WriteFileBytes(five.toStdString(), text);
        const auto dialog = bus.OpenRead<Dlg>();
        QVERIFY(dialog);
        QCOMPARE(bus.messages.Texts(), QStringList{QString::fromLatin1(kMsgGetAppParamsFailed)});
        QVERIFY(!dialog->OkButton()->isEnabled());
        QVERIFY(!dialog->SetAllButton()->isEnabled());
        dialog->accept();
        QVERIFY(!dialog->Busy());

        bus.messages.Clear();
        dialog->SetFileChooser([&](QWidget*, bool save) { return save ? QString() : five; });
        dialog->ReadParametersFromFile();
        QCOMPARE(bus.messages.Texts(), QStringList());
        QCOMPARE(dialog->NewField(Dlg::kOffset)->text(), QStringLiteral("1.5"));
        QCOMPARE(dialog->NewCountField(Dlg::kQueueEmpty)->text(), QStringLiteral("5"));
        QCOMPARE(dialog->PreviousField(Dlg::kAveraging)->text(), QStringLiteral("0"));
        QVERIFY(dialog->OkButton()->isEnabled());
        QCOMPARE(bus.Sent(193), size_t{0});
    }

    // Offset and averaging go into every XV module of the bus, the other modules named as skipped; each count
    // follows its typed seconds (an entry whose count would not fit is refused, never wrapped).
    void countsAndSetAllOffsets() {
        const struct {
            Dlg::Field field;
            const char* seconds;
            const char* count;   // of an accepted entry
            const char* message; // a refused entry
        } cases[] = {{Dlg::kAveraging, "20", "26", nullptr},
                     {Dlg::kError66, "7", "1", nullptr},
                     {Dlg::kQueueFull, "10", "25", nullptr},
                     {Dlg::kQueueEmpty, "102", "255", nullptr},
                     {Dlg::kQueueFull, "103", nullptr, "Value must be less or equal than 102.\n"},
                     {Dlg::kAveraging, "49624", nullptr, "Value must be less or equal than 49623.\n"}};
        test::ConfigBus bus;
        bus.ChangeXv([](sim::ModuleState& m) {
            m.applicationParameters = AppParams{0, 26, 15, 25, 25}.ToBytes();
        });
        test::UseSimBus(bus.context, test::IdentifiedSimModules({1, 3})); // a probe and the XV module
        QCOMPARE(bus.context.busList.Count(), 2u);
        const auto dialog = bus.OpenRead<Dlg>();
        QVERIFY(dialog);
        Type(dialog->NewField(Dlg::kOffset), QStringLiteral("1.5"));
        Type(dialog->NewField(Dlg::kAveraging), QStringLiteral("40"));
        Type(dialog->NewField(Dlg::kError66), QStringLiteral("8"));
        bus.bus->ClearRequestLog();
        dialog->SetAllOffsetsAndAveTime();
        QTRY_VERIFY(!dialog->Busy());       // the set, then the dialog's own module read again
        QCOMPARE(bus.Sent(193), size_t{1}); // the XV module only
        QCOMPARE(bus.messages.messages.size(), size_t{1});
        QVERIFY2(bus.messages.Texts().front().contains(QStringLiteral("station 1 (PX-TAVIK2, serial 31042)")),
                 qPrintable(bus.messages.Texts().front()));
        // The dialog's own module was read again: previous and new values are the module's.
        QCOMPARE(dialog->PreviousField(Dlg::kAveraging)->text(), QStringLiteral("40"));
        QCOMPARE(dialog->NewField(Dlg::kError66)->text(), QStringLiteral("60"));
        for (const auto& c : cases) {
            bus.messages.Clear();
            const QString seconds = QString::fromLatin1(c.seconds);
            Type(dialog->NewField(c.field), seconds);
            if (c.message == nullptr) {
                QCOMPARE(dialog->NewCountField(c.field)->text(), QString::fromLatin1(c.count));
                QCOMPARE(bus.messages.Texts(), QStringList());
            } else {
                QVERIFY(dialog->NewField(c.field)->text() != seconds);
                QCOMPARE(bus.messages.Texts(), QStringList{QString::fromLatin1(c.message)});
            }
        }
    }

    // The difference column as the core marks it; with identical files, No to the question sends nothing.
    void differencesAndIdenticalData() {
        test::ConfigBus bus;
        bus.ChangeXv([](sim::ModuleState& m) {
            for (uint16_t i = 0; i < kCalibPositions; ++i) {
                m.material[i] = {static_cast<uint16_t>(500 + i), {0, 0, 0, 0.04f, 0, 0}, true};
                m.temperature[i] = {static_cast<uint16_t>(700 + i), {1, 0, 0, 0, 0, 0}, true};
            }
        });
        WriteCalibFiles(data_.Path().toStdString(), 5);
        CCoefficientsDlg dialog(bus.context, nullptr, bus.xv);
        QVERIFY(dialog.Open());
        QTRY_VERIFY(!dialog.Busy());
        QStringList expected(16, QString());
        expected[4] = QStringLiteral("m");
        QCOMPARE(DiffColumn(dialog), expected);
        // Choosing the row shows its coefficients and allows setting it active.
        QVERIFY(!dialog.SetActiveButton()->isEnabled());
        dialog.CalibListView()->Select(4);
        QVERIFY(dialog.SetActiveButton()->isEnabled());
        const CVirtualListModel* coeffs = dialog.CoeffListView()->ListModel();
        QVERIFY(coeffs->data(coeffs->index(3, 2)).toString() != coeffs->data(coeffs->index(3, 3)).toString());

        WriteCalibFiles(data_.Path().toStdString(), 4);
        dialog.RereadFiles();
        QCOMPARE(DiffColumn(dialog), QStringList(16, QString()));
        bus.messages.Clear();
        bus.messages.answers = {QMessageBox::No};
        bus.bus->ClearRequestLog();
        dialog.ProgramModule(); // the question (its text is the core's) answered No
        QCOMPARE(bus.messages.messages.size(), size_t{1});
        QCOMPARE(bus.bus->RequestLog().size(), size_t{0});
        // Yes: asked on this thread, then written and verified in a job.
        dialog.ProgramModule();
        QTRY_VERIFY(dialog.ModuleChanged());
        QCOMPARE(bus.messages.Texts().back(),
                 QStringLiteral("calibration data successfully written into module."));
    }

    // The file dialog starts in the stored LOC directory; the comment is shown, a missing CAL file named.
    void openLocFile() {
        test::ConfigBus bus;
        const QString locDir = data_.File(QStringLiteral("loc"));
        const std::filesystem::path locPath = locDir.toStdString();
        QVERIFY(QDir().mkpath(locDir));
        QVERIFY(SaveLocDirectory(data_.Path().toStdString()));
        std::string loc = ";  Soils of the north field\n";
        for (int i = 0; i < 16; ++i) {
            loc += "[" + std::to_string(i) + "]=" + std::to_string(100 + i) + "\n";
        }
        test::WriteFileBytes(locPath / "north.LOC", loc);
        for (uint16_t i = 1; i < 16; ++i) {
            test::WriteFileBytes(locPath / CalibFileName(100 + i, "CAL"), "c0=1.5\n");
        }
        CCoefficientsDlg dialog(bus.context, nullptr, bus.xv);
        QString startedIn;
        dialog.SetLocFileChooser([&](QWidget*, const QString& directory) {
            startedIn = directory;
            return locDir + QStringLiteral("/north.LOC");
        });
        dialog.OpenLocFile();
        QCOMPARE(startedIn, data_.Path());
        QCOMPARE(dialog.FileCommentField()->text(), QStringLiteral("Soils of the north field"));
        QCOMPARE(bus.messages.messages.size(), size_t{1});
        QVERIFY2(bus.messages.Texts().front().contains(QStringLiteral("XV00100.CAL")),
                 qPrintable(bus.messages.Texts().front()));
    }

    // Every window that acts on one module names it after its own title, in the language shown.
    void moduleDialogsNameTheirModule() {
        test::ConfigBus bus;
        QWidget owner;
        std::vector<std::unique_ptr<CPlacementDialog>> dialogs;
        dialogs.push_back(std::make_unique<COffsetDlg>(bus.context, &owner, bus.xv));
        dialogs.push_back(std::make_unique<CActiveCalibDlg>(bus.context, &owner, bus.xv));
        dialogs.push_back(std::make_unique<CError66Dlg>(bus.context, &owner, bus.xv));
        dialogs.push_back(std::make_unique<CResetBaudDlg>(bus.context, &owner, bus.xv));
        dialogs.push_back(std::make_unique<CAppParamsDlg>(bus.context, &owner, bus.xv));
        dialogs.push_back(std::make_unique<CConversionTimeDlg>(bus.context, &owner, bus.xv));
        dialogs.push_back(std::make_unique<CStationNumberDlg>(bus.context, &owner, bus.xv));
        // The user-data title is the module itself ("40218 (PX-TAVIK2XV)"): only the station follows it.
        CUserDataDlg userData(&owner, bus.xv);
        for (const bool german : {true, false}) {
            LoadLanguageModule(german ? QStringLiteral("Terrix Deutsch") : QStringLiteral("Terrix English"),
                               true);
            QCoreApplication::processEvents();
            const QString suffix =
                QString::fromUtf8(german ? " – 40218 (Station 3)" : " – 40218 (station 3)");
            // Where the window manager would cut the title, the body names the module.
            int lines = 0;
            for (const auto& dialog : dialogs) {
                dialog->show();
                QVERIFY2(dialog->windowTitle().endsWith(suffix), qPrintable(dialog->windowTitle()));
                const QLabel* line = ModuleTitleLine(dialog.get());
                QVERIFY2(line != nullptr && line->isVisibleTo(dialog.get()) ==
                                                !TitleFitsWindow(dialog.get(), dialog->windowTitle()),
                         qPrintable(dialog->windowTitle()));
                lines += line->isVisibleTo(dialog.get()) ? 1 : 0;
                QVERIFY(!line->isVisibleTo(dialog.get()) ||
                        line->text() == QString::fromUtf8(german ? "40218 (PX-TAVIK2XV), Station 3"
                                                                 : "40218 (PX-TAVIK2XV), station 3"));
            }
            QVERIFY(lines > 0); // the compact dialogs
            QCOMPARE(userData.windowTitle().count(QStringLiteral("40218")), 1);
            QVERIFY2(userData.windowTitle().endsWith(german ? QStringLiteral("Station 3")
                                                            : QStringLiteral("station 3")),
                     qPrintable(userData.windowTitle()));
        }
    }

    // The core's messages show in the user's language, also a fixed text followed by a detail; a text
    // without a translation shows as it is.
    void coreMessagesInTheUsersLanguage() {
        LoadLanguageModule(QStringLiteral("Terrix Deutsch"), true);
        for (const char* text :
             {kErrorCaption, kMsgActiveCalibReadFailed, kMsgResetBaudFailed, kMsgGetAppParamsFailed,
              kMsgSetAppParamsFailed, kMsgSetOffsetFailed, kMsgOffsetReadFailed, kMsgGetAnalogCfgFailed,
              kMsgSetAnalogCfgFailed, kMsgZeroOffsetFailed, kMsgSetLowLimitFailed, kMsgLimitRange,
              kMsgHaltStateReadFailed, kMsgSaveNoFileName, kMsgLoadNoFileName, kMsgCantReadFileFinal}) {
            QVERIFY2(ConfigText(text) != QString::fromLatin1(text), text);
        }
        QCOMPARE(ConfigText("Open /tmp/a.par failed!"),
                 QString::fromUtf8("Öffnen von /tmp/a.par fehlgeschlagen!"));
        QCOMPARE(ConfigText("c0 differs"), QStringLiteral("c0 differs"));
        LoadLanguageModule(QStringLiteral("Terrix English"), true);
        QCOMPARE(ConfigText(kMsgResetBaudFailed), QString::fromLatin1(kMsgResetBaudFailed));
    }
};

QTEST_MAIN(TestConfigDialogs)
#include "tst_config_dialogs.moc"
