// The program's frame: start-up, bus waits on the user-interface thread, ports, clock, commands and their
// windows, and the languages (choice, loading, numbered texts, run-time switch).

#include "core/busops/station_number.h"
#include "core/inventory/bus_info_file.h"
#include "core/inventory/bus_list.h"
#include "core/inventory/file_error.h"
#include "core/inventory/module_record.h"
#include "core/measure/meas_data_file.h"
#include "core/platform/clock.h"
#include "core/platform/com_port.h"
#include "core/platform/ini_section.h"
#include "core/platform/pump_wait.h"
#include "gui/app/single_instance.h"
#include "gui/app/terrix_app.h"
#include "gui/base/bus_activity.h"
#include "gui/base/language.h"
#include "gui/base/window_contracts.h"
#include "gui/frame/main_frame.h"
#include "gui/measure/field_title_text.h"
#include "gui/toolkit/about_dlg.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/placement_dialog.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui_test_support.h"
#include "support/temp_dir.h"
#include "tests/platform/file_size_limit.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSysInfo>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

#include <algorithm>
#include <chrono>
#include <future>

using namespace terrix;

namespace {

// The stored language choice (0 when there is none).
uint16_t StoredLanguage() {
    return CIniSection(SettingsFilePath(), "General settings").ReadWord("wPrimaryLID", 0);
}

QString MenuTitle(CMainFrame& frame, int index) {
    return frame.menuBar()->actions().at(index)->text();
}

// The accelerator letters of a menu's items (or of the menu bar's titles).
QStringList Accelerators(const QList<QAction*>& actions) {
    QStringList letters;
    for (const QAction* action : actions) {
        const QString text = action->text();
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        if (action->isVisible() && amp >= 0 && amp + 1 < text.size()) {
            letters << text.mid(amp + 1, 1).toLower();
        }
    }
    return letters;
}

} // namespace

class TestMainFrame : public QObject {
    Q_OBJECT

    test::TempDataDir data_;
    test::MessageRecorder messages;
    QString bothDir_;
    QString englishOnlyDir_;

private Q_SLOTS:
    void initTestCase() {
        ForbidBusWaitsOnThisThread();
        // Language files in two folders: both languages, and English alone.
        bothDir_ = data_.File(QStringLiteral("both"));
        englishOnlyDir_ = data_.File(QStringLiteral("english"));
        for (const auto& [dir, file] : {std::pair{bothDir_, "Terrix English.qm"},
                                        {bothDir_, "Terrix Deutsch.qm"},
                                        {englishOnlyDir_, "Terrix English.qm"}}) {
            QVERIFY(QDir().mkpath(dir));
            QVERIFY(
                QFile::copy(QStringLiteral(":/i18n/") + file, QDir(dir).filePath(QString::fromLatin1(file))));
        }
    }

    void init() {
        messages.Clear();
        QFile::remove(QString::fromStdString(SettingsFilePath().string()));
        SetLanguageDirs({bothDir_});
        QVERIFY(LoadLanguageModule(QStringLiteral("Terrix English")));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    // The first start follows the user's locale (English unless German); a stored known choice wins.
    void selectLanguage() {
        const struct {
            int stored; // -1: no settings file
            QLocale::Language locale;
            int expected;
        } cases[] = {{-1, QLocale::German, 7},
                     {-1, QLocale::French, 9},
                     {7, QLocale::English, 7},
                     {12, QLocale::German, 9}};
        for (const auto& c : cases) {
            QFile::remove(QString::fromStdString(SettingsFilePath().string()));
            QLocale::setDefault(QLocale(c.locale));
            if (c.stored >= 0) {
                CIniSection(SettingsFilePath(), "General settings")
                    .WriteWord("wPrimaryLID", static_cast<uint16_t>(c.stored));
            }
            QCOMPARE(SelectLanguage(0).primary, c.expected);
            QCOMPARE(StoredLanguage(), c.expected); // stored after every start
        }
    }

    void loadByName() {
        QVERIFY(LoadLanguageModule(QStringLiteral("Terrix Deutsch")));
        // Texts the design gives; bus errors stay English.
        QCOMPARE(FindText(TextKind::String, 5209), QStringLiteral("Module does not answer"));
        QCOMPARE(FindText(TextKind::String, 24707), QString::fromUtf8("Kein Modul ausgewählt!"));
        QVERIFY(FindText(TextKind::String, 24708 + 1).isNull()); // a number without a text
        // Unnumbered texts of other contexts are not taken from the catalogue.
        QCOMPARE(QCoreApplication::translate("terrix::SomeWindow", "&File"), QStringLiteral("&File"));
        QCOMPARE(QCoreApplication::translate("terrix::MessageBox", "&Yes"), QStringLiteral("&Ja"));

        // Without the file nothing changes, unless the built-in copy may serve.
        SetLanguageDirs({englishOnlyDir_});
        LoadLanguageModule(QStringLiteral("Terrix English"));
        QVERIFY(!LoadLanguageModule(QStringLiteral("Terrix Deutsch")));
        QCOMPARE(CurrentLanguageModule(), QStringLiteral("Terrix English"));
        QVERIFY(LoadLanguageModule(QStringLiteral("Terrix Deutsch"), true));
        QCOMPARE(PopupTitle(MenuPopup::File), QStringLiteral("&Datei"));

        // Directories are searched in order (beside the executable, then the installed data directory).
        SetLanguageDirs({englishOnlyDir_, bothDir_});
        QVERIFY(LoadLanguageModule(QStringLiteral("Terrix Deutsch")));
    }

    // The core's messages reach a window in the user's language; details (devices, paths, numbers) stay.
    void coreMessagesInTheUserLanguage() {
        QVERIFY(LoadLanguageModule(QStringLiteral("Terrix Deutsch")));
        QCOMPARE(CoreText(PortErrorText(EBUSY, "/dev/ttyUSB0")),
                 QString::fromUtf8("/dev/ttyUSB0 wird von einem anderen Programm benutzt."));
        QCOMPARE(CoreText("no such text in the core"), QStringLiteral("no such text in the core"));
        // A detail that looks like a placeholder stays as it is.
        QCOMPARE(CoreText(InventoryFileError{ENOSPC, "/d/%1/Terrix.ini"}.Message()),
                 QString::fromUtf8("/d/%1/Terrix.ini: Kein Speicherplatz mehr auf dem Gerät"));
        // Every message the core can send to a window has its translation (a changed core text would not).
        std::vector<std::string> produced = {kBusBusyMeasuringText,
                                             InventoryFileError{kNoSerialNumber, "/d/0.ini"}.Message()};
        for (const int error : {EACCES, EBUSY, ENOENT, ENOTTY, EIO}) {
            produced.push_back(PortErrorText(static_cast<uint32_t>(error), "/dev/ttyS0"));
        }
        for (const auto result : {StationChangeResult::kSaveFailed, StationChangeResult::kInvalidStation,
                                  StationChangeResult::kStationInUse, StationChangeResult::kNotConfirmed}) {
            produced.push_back(StationChangeText(result));
        }
        CBusList bus;
        auto holder = std::make_unique<ModuleRecord>();
        holder->iaStation = 5;
        holder->stationInfo.wSerialNo = 1500;
        bus.Add(std::move(holder));
        produced.push_back(StationInUseText(bus, 5));
        for (int error = kMeasErrShorterThanHeader; error >= kMeasErrOtherModule; --error) {
            produced.push_back(MeasFileErrorText(error));
        }
        for (const std::string& text : produced) {
            QVERIFY2(CoreText(text) != QString::fromStdString(text), text.c_str());
        }
        // Field titles on screen; the files keep the English, a module's unit names stay.
        QCOMPARE(FieldTitleText("Moisture [%]"), QStringLiteral("Feuchte [%]"));
        QCOMPARE(FieldTitleText("mV"), QStringLiteral("mV"));
        QVERIFY(LoadLanguageModule(QStringLiteral("Terrix English")));
        QCOMPARE(CoreText(produced.front()), QString::fromLatin1(kBusBusyMeasuringText));
    }

    void everyNumberedTextExistsInBothLanguages() {
        for (const auto& [file, english] :
             {std::pair{":/i18n/Terrix English.qm", true}, {":/i18n/Terrix Deutsch.qm", false}}) {
            QTranslator translator;
            QVERIFY(translator.load(QString::fromLatin1(file)));
            for (const NumberedText& text : NumberedTexts()) {
                const QString translated =
                    translator.translate(kCatalogueContext, text.text.source, text.text.id);
                QVERIFY2(!translated.isEmpty(),
                         qPrintable(QLatin1String(file) + QLatin1Char(' ') + text.text.id));
                if (english) {
                    QCOMPARE(translated, QString::fromLatin1(text.text.source));
                }
            }
        }
    }

    // lupdate adds each new text as "unfinished"; none may stay so, and none may lack its German.
    void everyTextHasAFinishedGermanTranslation() {
        QFile file(QStringLiteral(TERRIX_SOURCE_DIR "/res/terrix_de.ts"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString context;
        QString source;
        QStringList faults;
        int translations = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            if (xml.name() == u"name") {
                context = xml.readElementText();
            } else if (xml.name() == u"source") {
                source = xml.readElementText();
            } else if (xml.name() == u"translation") {
                ++translations;
                const QString type = xml.attributes().value(QLatin1String("type")).toString();
                if (!type.isEmpty() ||
                    xml.readElementText(QXmlStreamReader::IncludeChildElements).isEmpty()) {
                    faults << context + QStringLiteral(": ") + source;
                }
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(translations > 400);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void switchReloadsTextsOfOpenWindowsAndStoresTheChoice() {
        CMainFrame frame;
        CAboutDlg about(ProgramVersionInfo(), &frame);
        about.show();
        const auto choose = [&frame](uint16_t language) { // the language then stored
            frame.OnLanguage(language);
            QCoreApplication::processEvents();
            return StoredLanguage();
        };
        QCOMPARE(choose(kLangGerman), kLangGerman);
        QCOMPARE(MenuTitle(frame, 4), QStringLiteral("&Wartung"));
        QCOMPARE(frame.Action(ID_BUS_DISPLAY)->statusTip(),
                 QStringLiteral("Listet alle gefundenen Module auf"));
        QCOMPARE(about.windowTitle(), QString::fromUtf8("Info über Terrix"));
        // Only the German key table has Ctrl+B for "scan completely".
        QCOMPARE(frame.Action(ID_BUS_SCAN_COMPLETELY)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
        QVERIFY(frame.Action(ID_VIEW_GERMAN)->isChecked() && !frame.Action(ID_VIEW_ENGLISH)->isChecked());

        QCOMPARE(choose(kLangEnglish), kLangEnglish);
        QCOMPARE(MenuTitle(frame, 0), QStringLiteral("&File"));
        QCOMPARE(frame.Action(ID_BUS_SCAN_COMPLETELY)->shortcut(), QKeySequence());
        QCOMPARE(about.windowTitle(), QStringLiteral("About Terrix"));

        // Without the file the texts stay but the choice is stored; one message: the others had none.
        SetLanguageDirs({englishOnlyDir_});
        QCOMPARE(choose(kLangGerman), kLangGerman);
        QCOMPARE(messages.Texts(), QStringList{QStringLiteral("Error loading German resources!")});
        QCOMPARE(MenuTitle(frame, 0), QStringLiteral("&File"));
        QVERIFY(frame.Action(ID_VIEW_ENGLISH)->isChecked() && !frame.Action(ID_VIEW_GERMAN)->isChecked());
    }

    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    // Port items at start; commands of missing features or windows stay disabled.
    void startingFrame() {
        SetPortDeviceName(2, "/dev/ttyUSB0");
        CMainFrame frame;
        for (const int id : {ID_INSERT_CHART, ID_MAINT_MEASURE, ID_BUS_DISPLAY, ID_BUS_SCAN_COMPLETELY,
                             ID_BUS_SCAN_KNOWN, ID_MAINT_SCAN_BUS, ID_MAINT_CREATE_COLLISION,
                             ID_MAINT_RESOLVE_COLLISIONS, ID_BUS_SERIAL_PORTS, ID_BUS_TRAFFIC}) {
            QVERIFY2(!frame.Action(id)->isEnabled(), qPrintable(QString::number(id)));
        }
        QCOMPARE(frame.GetBusContext()->portContext.nPortNo, 1);
        QCOMPARE(frame.Action(ID_BUS_COM2)->text(), QStringLiteral("Serial Comport2 (/dev/ttyUSB0)"));
        QVERIFY(frame.Action(ID_BUS_COM1)->isChecked());
        frame.Action(ID_BUS_COM3)->trigger();
        QCOMPARE(frame.GetBusContext()->portContext.nPortNo, 3);
        QCOMPARE(frame.GetBusContext()->portContext.hPort, kInvalidPort);
        for (const int id : {ID_BUS_COM1, ID_BUS_COM2, ID_BUS_COM3, ID_BUS_COM4}) {
            QCOMPARE(frame.Action(id)->isChecked(), id == ID_BUS_COM3);
        }

        // Forgetting the bus deletes the stored bus state (what else stays is the core's to test); the
        // records in memory stay.
        CIniSection busInfo(SettingsFilePath(), "BUS INFO");
        busInfo.WriteInt("Count", 2);
        auto record = std::make_unique<ModuleRecord>();
        record->iaStation = 5;
        QVERIFY(frame.GetBusContext()->busList.Add(std::move(record)));
        frame.Action(ID_MAINT_FORGET_BUS_INFO)->trigger();
        QCOMPARE(messages.Texts(),
                 QStringList{QString::fromUtf8("Aktueller Buszustand wurde verworfen.\nBeim "
                                               "nächsten Mal wird der Bus komplett abgesucht.")});
        QVERIFY(!busInfo.HasKey("Count"));
        QCOMPARE(frame.GetBusContext()->busList.Count(), 1u);
    }

    // Scan commands run on the frame's context; while one bus operation runs, the others are refused.
    void scanCommandsAndBusActivity() {
        std::vector<std::pair<BusContext*, int>> scans;
        FrameWindows windows;
        windows.runScan = [&](BusContext& context, QWidget*, int mode) {
            scans.emplace_back(&context, mode);
            return true;
        };
        windows.runResolveCollisions = [](BusContext&, QWidget*) {};
        CMainFrame frame(windows);
        BusContext& context = *frame.GetBusContext();
        for (const int id : {ID_BUS_SCAN_KNOWN, ID_MAINT_SCAN_BUS, ID_BUS_SCAN_COMPLETELY}) {
            frame.Action(id)->trigger();
        }
        QCOMPARE(scans,
                 (std::vector<std::pair<BusContext*, int>>{{&context, 0}, {&context, 1}, {&context, 2}}));
        {
            BusActivity scan(context, nullptr, QStringLiteral("Scanning"));
            QVERIFY(scan.Granted());
            for (const int id : {ID_BUS_SCAN_COMPLETELY, ID_MAINT_RESOLVE_COLLISIONS, ID_BUS_COM2}) {
                QVERIFY2(!frame.Action(id)->isEnabled(), qPrintable(QString::number(id)));
            }
            QVERIFY(frame.Action(ID_MAINT_FORGET_BUS_INFO)->isEnabled());
            // Closing the frame now would free the context under the scan: it is asked to stop instead.
            QVERIFY(!frame.close());
            QVERIFY(scan.CancelRequested());
        }
        QVERIFY(frame.Action(ID_BUS_SCAN_COMPLETELY)->isEnabled());
        QVERIFY(frame.Action(ID_BUS_COM2)->isEnabled());
        QVERIFY(BusActivity(context, nullptr, QStringLiteral("again")).Granted());
    }

    // Until a scan has finished in this run, the main window names the menu items that scan.
    void scanHintUntilAScanFinishes() {
        bool finishes = false;
        FrameWindows windows;
        windows.runScan = [&](BusContext&, QWidget*, int) { return finishes; };
        CMainFrame frame(windows);
        for (const int id : {ID_BUS_SCAN_COMPLETELY, ID_BUS_SCAN_KNOWN}) {
            QVERIFY(
                frame.View()->ScanHint().contains(FindText(TextKind::Label, id).remove(QLatin1Char('&'))));
        }
        QVERIFY(frame.View()->ScanHintShown());
        frame.OnScan(2); // cancelled
        QVERIFY(frame.View()->ScanHintShown());
        finishes = true;
        frame.OnScan(0);
        QVERIFY(!frame.View()->ScanHintShown());

        // After a restart the saved bus is listed, not identified, and the hint says so.
        CIniSection saved(SettingsFilePath(), "BUS INFO");
        QVERIFY(saved.WriteDWord("Modules", 2) && saved.WriteString("Module0", "2003,12") &&
                saved.WriteString("Module1", "2004,13"));
        CMainFrame restarted(windows);
        restarted.ListSavedBus();
        QVERIFY(ForgetBusInfo());
        const CBusList& list = restarted.GetBusContext()->busList;
        QCOMPARE(list.Count(), 2u);
        QCOMPARE(list.GetAt(0)->SerialNo(), uint16_t(2003));
        QCOMPARE(list.GetAt(1)->enModuleState, msNotIdentified);
        QVERIFY(restarted.View()->ScanHintShown());
        QVERIFY2(!restarted.View()->ScanHint().contains(QStringLiteral("No bus has been scanned yet.")),
                 qPrintable(restarted.View()->ScanHint()));
        QVERIFY(restarted.View()->ScanHint().contains(QStringLiteral(": 2.")));
    }

    void atMostOneCircuitWindowAndAScanBringsItUp() {
        int created = 0;
        FrameWindows windows;
        windows.createCircuitWindow = [&](BusContext&, QWidget* owner, const ModuleWindows&) {
            ++created;
            return new CPlacementDialog(owner);
        };
        bool openDuringScan = false;
        bool scanFinishes = true;
        windows.runScan = [&](BusContext&, QWidget* frame, int) {
            openDuringScan = static_cast<CMainFrame*>(frame)->CircuitWindow() != nullptr;
            return scanFinishes;
        };
        CMainFrame frame(windows);
        frame.OnDisplay();
        QCOMPARE(created, 1);
        QPointer<QWidget> first = frame.CircuitWindow();
        QVERIFY(first != nullptr);
        frame.OnDisplay();
        QCOMPARE(created, 1);

        // Closing it tells the frame, which then creates a new one.
        static_cast<QDialog*>(first.data())->reject();
        QVERIFY(frame.CircuitWindow() == nullptr);

        // After a scan the window opens by itself.
        frame.OnScan(2);
        QTRY_COMPARE(created, 2);
        QVERIFY(frame.CircuitWindow() != nullptr);

        // A scan rebuilds the records the open window's rows point at: the window goes first.
        QPointer<QWidget> second = frame.CircuitWindow();
        frame.OnScan(1);
        QVERIFY(!openDuringScan);
        QTRY_VERIFY(second == nullptr);
        QTRY_COMPARE(created, 3);

        // A cancelled scan brings back the window that was open, and opens none that was not.
        scanFinishes = false;
        frame.OnScan(1);
        QTRY_COMPARE(created, 4);
        static_cast<QDialog*>(frame.CircuitWindow())->reject();
        QTRY_VERIFY(frame.CircuitWindow() == nullptr);
        frame.OnScan(1);
        QCoreApplication::processEvents(); // where a queued opening would run
        QCOMPARE(created, 4);
        QVERIFY(frame.CircuitWindow() == nullptr);

        // A window that keeps a change the user does not want to discard keeps the frame open. (That quitting
        // closes the windows before the bus context goes is the close sweep's, under AddressSanitizer.)
        messages.answers = {QMessageBox::No};
        frame.show();
        frame.OnDisplay();
        static_cast<CPlacementDialog*>(frame.CircuitWindow())->SetModified(1);
        QVERIFY(!frame.close());
        QVERIFY(frame.CircuitWindow() != nullptr);
    }

    // Within each menu, and among the menu titles, no two items share an accelerator key.
    void acceleratorsAreUniqueInEveryMenu() {
        for (const QString& language : {QStringLiteral("Terrix English"), QStringLiteral("Terrix Deutsch")}) {
            QVERIFY(LoadLanguageModule(language, true));
            CMainFrame frame;
            QList<QList<QAction*>> groups{frame.menuBar()->actions()};
            for (qsizetype i = 0; i < groups.size(); ++i) {
                const QList<QAction*> group = groups[i];
                for (QAction* item : group) {
                    if (item->menu() != nullptr) {
                        groups << item->menu()->actions();
                    }
                }
                QStringList letters = Accelerators(group);
                const QString shown = language + QStringLiteral(": ") + letters.join(QLatin1Char(' '));
                QVERIFY2(letters.removeDuplicates() == 0, qPrintable(shown));
            }
        }
    }

    // One copy per data directory: a second start brings the first forward, or says that it could not.
    void secondStartBringsTheFirstForward() {
        {
            CTerrixApp first;
            QVERIFY(first.InitInstance());
            first.MainFrame()->showMinimized();
            QCoreApplication::processEvents();
            QTemporaryDir other;
            QVERIFY(CSingleInstance(other.path()).TryBecomeFirst());
            // The later copy is another process; here a thread asks while this one serves.
            CSingleInstance second(data_.Path());
            QCOMPARE(second.TakeLock(), CSingleInstance::Start::kOtherCopy);
            auto answer = std::async(std::launch::async, [&second] { return second.ActivateFirst(); });
            QTRY_VERIFY(answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
            QVERIFY(answer.get());
            QVERIFY(!first.MainFrame()->isMinimized());
        }
        // A first copy that does not answer (here: busy on this very thread): the second start says that
        // it is activating it, then that it could not.
        messages.Clear();
        CSingleInstance blocker(data_.Path());
        QVERIFY(blocker.TryBecomeFirst());
        CTerrixApp second;
        QVERIFY(!second.InitInstance());
        QVERIFY(second.MainFrame() == nullptr);
        QCOMPARE(messages.Texts(), (QStringList{Text(24578), Text(24579)}));
        QCOMPARE(messages.messages.front().icon, MessageIcon::Information);
    }

    // A lock left by an earlier copy whose process id this process has now (Windows kills the program at the
    // end of the session, and gives ids out again after a restart) does not keep the program from starting.
    void lockLeftUnderThisProcessIdIsTakenOver() {
        QTemporaryDir dir;
        const QByteArray left = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                                QCoreApplication::applicationName().toUtf8() + '\n' +
                                QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() +
                                '\n' + QSysInfo::bootUniqueId() + '\n';
        test::WriteFileBytes(dir.filePath(QStringLiteral("Terrix.lock")).toStdString(), left.toStdString());
        CSingleInstance instance(dir.path());
        QCOMPARE(instance.TakeLock(), CSingleInstance::Start::kFirst);
        QCOMPARE(CSingleInstance(dir.path()).TakeLock(), CSingleInstance::Start::kOtherCopy); // now held
    }

    // A lock that cannot be taken while no copy runs is no running copy: the program names the folder and the
    // reason, and ends.
    void lockFailureNamesItsReason() {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("missing"));
        const QString file = dir.filePath(QStringLiteral("file"));
        test::WriteFileBytes(file.toStdString(), "");
        for (const auto& [folder, error] : {std::pair{missing, ENOENT}, std::pair{file, ENOTDIR}}) {
            CSingleInstance instance(folder);
            QCOMPARE(instance.TakeLock(), CSingleInstance::Start::kFailed);
            QVERIFY2(instance.FailureText().contains(folder) &&
                         instance.FailureText().contains(WriteErrorText(error)),
                     qPrintable(instance.FailureText()));
        }
        // A full disk (a file size limit, which binds root too): the lock file is made but cannot be written.
        QVERIFY(test::RunWithFileSizeLimit(0, [&] {
            CSingleInstance full(dir.path());
            return full.TakeLock() == CSingleInstance::Start::kFailed &&
                   full.FailureText().contains(WriteErrorText(EFBIG));
        }));

        // The program's start shows that reason alone (not "already started"), and ends.
        SetDataDir(file.toStdString());
        CTerrixApp app;
        const bool started = app.InitInstance();
        SetDataDir(data_.Path().toStdString());
        QVERIFY(!started);
        QCOMPARE(messages.Texts().size(), 1);
        QVERIFY(messages.Texts().front().contains(WriteErrorText(ENOTDIR)));
        QCOMPARE(messages.messages.front().icon, MessageIcon::Stop);
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_main_frame.moc"
