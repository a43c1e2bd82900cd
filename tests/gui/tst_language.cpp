// Language choice, loading by name, the numbered-text catalogue and the run-time switch.

#include "core/platform/ini_section.h"
#include "gui/app/language.h"
#include "gui/app/main_frame.h"
#include "gui/toolkit/about_dlg.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui_test_support.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTranslator>

using namespace terrix;

namespace {

uint16_t StoredLanguage() {
    CIniSection ini;
    ini.SetSection("General settings");
    return ini.ReadWord("wPrimaryLID", 0);
}

bool HasStoredLanguage() {
    CIniSection ini;
    ini.SetSection("General settings");
    return ini.HasKey("wPrimaryLID");
}

void StoreLanguage(uint16_t code) {
    CIniSection ini;
    ini.SetSection("General settings");
    ini.WriteWord("wPrimaryLID", code);
}

QString MenuTitle(CMainFrame& frame, int index) {
    return frame.menuBar()->actions().at(index)->text();
}

class FakeFrame : public CLanguageReloadable {
public:
    bool menuOk = true, toolOk = true, statusOk = true;
    int calls = 0;
    bool ReloadMenuBar() override { return ++calls, menuOk; }
    bool ReloadToolBar() override { return ++calls, toolOk; }
    bool ReloadStatusBar() override { return ++calls, statusOk; }
    QWidget* ReloadParent() override { return nullptr; }
};

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT

    test::TempDataDir data_;
    QString bothDir_;
    QString englishOnlyDir_;

private Q_SLOTS:
    void initTestCase() {
        // Language files in two folders: both languages, and English alone.
        bothDir_ = data_.File(QStringLiteral("both"));
        englishOnlyDir_ = data_.File(QStringLiteral("english"));
        QDir().mkpath(bothDir_);
        QDir().mkpath(englishOnlyDir_);
        for (const char* name : {"Terrix English.qm", "Terrix Deutsch.qm"}) {
            const QString file = QString::fromLatin1(name);
            QVERIFY(QFile::copy(QStringLiteral(":/i18n/") + file, QDir(bothDir_).filePath(file)));
        }
        QVERIFY(QFile::copy(QStringLiteral(":/i18n/Terrix English.qm"),
                            QDir(englishOnlyDir_).filePath(QStringLiteral("Terrix English.qm"))));
    }

    void init() {
        QFile::remove(QString::fromStdString(SettingsFilePath().string()));
        SetLanguageDirs({bothDir_});
        QVERIFY(LoadLanguageModule(QStringLiteral("Terrix English")));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void selectLanguage_data() {
        QTest::addColumn<int>("stored"); // -1: no settings file
        QTest::addColumn<QLocale::Language>("locale");
        QTest::addColumn<int>("expected");
        QTest::newRow("first start, German user") << -1 << QLocale::German << 7;
        QTest::newRow("first start, English user") << -1 << QLocale::English << 9;
        QTest::newRow("first start, French user gets English") << -1 << QLocale::French << 9;
        QTest::newRow("stored German beats English user") << 7 << QLocale::English << 7;
        QTest::newRow("stored English beats German user") << 9 << QLocale::German << 9;
        QTest::newRow("stored unknown code gets English") << 12 << QLocale::German << 9;
    }

    void selectLanguage() {
        QFETCH(int, stored);
        QFETCH(QLocale::Language, locale);
        QFETCH(int, expected);
        QLocale::setDefault(QLocale(locale));
        if (stored >= 0) {
            StoreLanguage(static_cast<uint16_t>(stored));
        }
        const LanguageRow row = SelectLanguage(0);
        QCOMPARE(row.primary, expected);
        QCOMPARE(QString::fromLatin1(row.moduleName),
                 expected == 7 ? QStringLiteral("Terrix Deutsch") : QStringLiteral("Terrix English"));
        // The key exists after every start and holds the chosen language.
        QVERIFY(HasStoredLanguage());
        QCOMPARE(StoredLanguage(), expected);
    }

    void loadByName() {
        QVERIFY(LoadLanguageModule(QStringLiteral("Terrix Deutsch")));
        QCOMPARE(CurrentLanguageModule(), QStringLiteral("Terrix Deutsch"));
        QCOMPARE(CurrentLanguage(), kLangGerman);
        QCOMPARE(PopupTitle(MenuPopup::File), QStringLiteral("&Datei"));

        // Without the file nothing changes, unless the built-in copy may serve.
        SetLanguageDirs({englishOnlyDir_});
        QVERIFY(LoadLanguageModule(QStringLiteral("Terrix English")));
        QVERIFY(!LoadLanguageModule(QStringLiteral("Terrix Deutsch")));
        QCOMPARE(CurrentLanguageModule(), QStringLiteral("Terrix English"));
        QCOMPARE(PopupTitle(MenuPopup::File), QStringLiteral("&File"));
        QVERIFY(LoadLanguageModule(QStringLiteral("Terrix Deutsch"), true));
        QCOMPARE(PopupTitle(MenuPopup::File), QStringLiteral("&Datei"));

        // Directories are searched in order (beside the executable, then the installed data directory).
        SetLanguageDirs({englishOnlyDir_, bothDir_});
        QVERIFY(LoadLanguageModule(QStringLiteral("Terrix English")));
        QVERIFY(LoadLanguageModule(QStringLiteral("Terrix Deutsch")));
        QCOMPARE(PopupTitle(MenuPopup::File), QStringLiteral("&Datei"));
    }

    void everyNumberedTextExistsInBothLanguages() {
        for (const char* file : {":/i18n/Terrix English.qm", ":/i18n/Terrix Deutsch.qm"}) {
            QTranslator translator;
            QVERIFY(translator.load(QString::fromLatin1(file)));
            const bool english = QString::fromLatin1(file).contains(QLatin1String("English"));
            for (const NumberedText& text : NumberedTexts()) {
                const QString translated =
                    translator.translate(kCatalogueContext, text.text.source, text.text.id);
                QVERIFY2(!translated.isEmpty(),
                         qPrintable(QStringLiteral("%1 %2: %3")
                                        .arg(QLatin1String(file), QLatin1String(text.text.id),
                                             QLatin1String(text.text.source))));
                if (english) {
                    QCOMPARE(translated, QString::fromLatin1(text.text.source));
                }
            }
        }
    }

    void germanTextsGivenByTheDesignStayAsGiven() {
        QVERIFY(LoadLanguageModule(QStringLiteral("Terrix Deutsch")));
        const std::pair<int, const char*> cases[] = {
            {24737, "Aktiv"},
            {24742, "Ort"},
            {24743, "Anz. Mittelungen"},
            {24747, "Ergebnis"},
            {24777, "Stop"},
            {32790, "Keine Module gefunden."}, // stays German
            {5209, "Module does not answer"},  // bus errors stay English
            {24707, "Kein Modul ausgewählt!"}};
        for (const auto& [number, german] : cases) {
            QCOMPARE(FindText(TextKind::String, number), QString::fromUtf8(german));
        }
        QVERIFY(FindText(TextKind::String, 24708 + 1).isNull()); // a number without a text
    }

    void unnumberedTextsOfOtherContextsAreNotTakenFromTheCatalogue() {
        QVERIFY(LoadLanguageModule(QStringLiteral("Terrix Deutsch")));
        QCOMPARE(QCoreApplication::translate("terrix::SomeWindow", "&File"), QStringLiteral("&File"));
        QCOMPARE(QCoreApplication::translate("terrix::MessageBox", "&Yes"), QStringLiteral("&Ja"));
    }

    void switchReloadsTextsOfOpenWindowsAndStoresTheChoice() {
        test::MessageRecorder messages;
        CMainFrame frame;
        CAboutDlg about(ProgramVersionInfo(), &frame);
        about.show();
        QCOMPARE(MenuTitle(frame, 0), QStringLiteral("&File"));
        QCOMPARE(about.windowTitle(), QStringLiteral("About Terrix"));

        frame.OnLanguage(kLangGerman);
        QCoreApplication::processEvents();
        QVERIFY(messages.messages.empty());
        QCOMPARE(StoredLanguage(), kLangGerman);
        QCOMPARE(MenuTitle(frame, 0), QStringLiteral("&Datei"));
        QCOMPARE(MenuTitle(frame, 4), QStringLiteral("&Wartung"));
        QCOMPARE(frame.Action(ID_MAINT_FORGET_BUS_INFO)->text(),
                 QStringLiteral("Businformationen &vergessen"));
        QCOMPARE(frame.Action(ID_FILE_NEW)->toolTip(), QStringLiteral("Neu"));
        QCOMPARE(frame.Action(ID_BUS_DISPLAY)->statusTip(),
                 QStringLiteral("Listet alle gefundenen Module auf"));
        QCOMPARE(frame.MessagePane()->text(), QStringLiteral("Bereit"));
        QCOMPARE(about.windowTitle(), QString::fromUtf8("Info über Terrix"));
        // Only the German key table has Ctrl+B for "scan completely".
        QCOMPARE(frame.Action(ID_BUS_SCAN_COMPLETELY)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));

        frame.OnLanguage(kLangEnglish);
        QCoreApplication::processEvents();
        QCOMPARE(StoredLanguage(), kLangEnglish);
        QCOMPARE(MenuTitle(frame, 0), QStringLiteral("&File"));
        QCOMPARE(frame.MessagePane()->text(), QStringLiteral("Ready"));
        QCOMPARE(frame.Action(ID_BUS_SCAN_COMPLETELY)->shortcut(), QKeySequence());
        QCOMPARE(about.windowTitle(), QStringLiteral("About Terrix"));
    }

    void switchToAMissingFileKeepsTextsButStoresTheChoice() {
        SetLanguageDirs({englishOnlyDir_});
        test::MessageRecorder messages;
        CMainFrame frame;
        frame.OnLanguage(kLangGerman);
        QCoreApplication::processEvents();
        QCOMPARE(messages.Texts(), QStringList{QStringLiteral("Error loading German resources!")});
        QCOMPARE(MenuTitle(frame, 0), QStringLiteral("&File"));
        QCOMPARE(CurrentLanguageModule(), QStringLiteral("Terrix English"));
        // The next start tries German.
        QCOMPARE(StoredLanguage(), kLangGerman);
    }

    void partialReloadFailures() {
        const QString menu = QStringLiteral("Failed to reload menubar!");
        const QString tool = QStringLiteral("Failed to reload toolbar!");
        const QString status = QStringLiteral("Failed to reload status bar resources!");
        const struct {
            bool menuOk, toolOk, statusOk;
            QStringList messages;
        } cases[] = {{true, true, true, {}},
                     {false, true, true, {menu}},
                     {true, false, true, {tool}},
                     {true, true, false, {status}},
                     {false, true, false, {menu, status}}};
        for (const auto& c : cases) {
            test::MessageRecorder recorder;
            FakeFrame frame;
            frame.menuOk = c.menuOk;
            frame.toolOk = c.toolOk;
            frame.statusOk = c.statusOk;
            QCOMPARE(SwitchLanguage(kLangGerman, &frame), c.messages.isEmpty());
            QCOMPARE(frame.calls, 3);
            QCOMPARE(recorder.Texts(), c.messages);
        }
    }

    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
