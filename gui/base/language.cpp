#include "gui/base/language.h"

#include "core/platform/ini_section.h"
#include "gui/toolkit/message_box.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace terrix {

namespace {

constexpr const char* kSection = "General settings";
constexpr const char* kKey = "wPrimaryLID";

struct LanguageState {
    std::unique_ptr<QTranslator> translator;
    std::unique_ptr<QTranslator> qtTranslator;
    QString moduleName;
    bool dirsSet = false;
    QStringList dirs;
};

LanguageState& State() {
    static LanguageState state;
    return state;
}

const LanguageRow& FindRow(uint16_t code) {
    for (const LanguageRow& row : kLanguageTable) {
        if (row.primary == code) {
            return row;
        }
    }
    // Any other language gets the first row rather than a search past the table's end.
    return kLanguageTable[0];
}

const LanguageRow* FindRowByModule(const QString& moduleName) {
    for (const LanguageRow& row : kLanguageTable) {
        if (moduleName == QLatin1String(row.moduleName)) {
            return &row;
        }
    }
    return nullptr;
}

// Loads `fileName` from the first of `dirs` that holds it. A whole path: QTranslator::load(name, dir) would
// fall back to "qtbase.qm" when "qtbase_de.qm" is missing.
bool LoadFromFirst(QTranslator& translator, const QStringList& dirs, const QString& fileName) {
    for (const QString& dir : dirs) {
        const QString path = QDir(dir).filePath(fileName);
        if (QFileInfo::exists(path) && translator.load(path)) {
            return true;
        }
    }
    return false;
}

// Installs `next` (none: nothing) in place of `current`.
void ReplaceTranslator(std::unique_ptr<QTranslator>& current, std::unique_ptr<QTranslator> next) {
    if (next) {
        QCoreApplication::installTranslator(next.get());
    }
    if (current) {
        QCoreApplication::removeTranslator(current.get());
    }
    current = std::move(next);
}

// Replaces Qt's own translation by the one of `row` (none for English or when no folder has it).
void LoadQtTranslation(const LanguageRow* row) {
    std::unique_ptr<QTranslator> translator;
    if (row != nullptr && row->qtTranslation != nullptr) {
        translator = std::make_unique<QTranslator>();
        if (!LoadFromFirst(*translator, QtTranslationDirs(),
                           QLatin1String(row->qtTranslation) + QStringLiteral(".qm"))) {
            translator.reset();
        }
    }
    ReplaceTranslator(State().qtTranslator, std::move(translator));
}

} // namespace

uint16_t UserDefaultPrimaryLanguage() {
    switch (QLocale().language()) {
    case QLocale::German:
        return kLangGerman;
    case QLocale::English:
        return kLangEnglish;
    default:
        return 0;
    }
}

LanguageRow SelectLanguage(uint16_t primary) {
    CIniSection ini;
    ini.SetSection(kSection);
    const uint16_t code = primary != 0 ? static_cast<uint16_t>(primary & 0x3FF)
                                       : ini.ReadWord(kKey, UserDefaultPrimaryLanguage() & 0x3FF);
    const LanguageRow& row = FindRow(code);
    ini.WriteWord(kKey, row.primary);
    return row;
}

QStringList LanguageDirs() {
    if (State().dirsSet) {
        return State().dirs;
    }
    // Beside the executable (a build tree, a portable copy), then where an installation puts them, seen from
    // the executable (bin/../share/terrix) and at the configured prefix; the copy embedded in the program
    // serves at start-up when none has the file.
    const QString exeDir = QCoreApplication::applicationDirPath();
    return {exeDir, QDir::cleanPath(exeDir + QStringLiteral("/" TERRIX_TRANSLATIONS_FROM_BIN)),
            QStringLiteral(TERRIX_TRANSLATIONS_DIR)};
}

void SetLanguageDirs(const QStringList& dirs) {
    State().dirs = dirs;
    State().dirsSet = true;
}

QStringList QtTranslationDirs() {
    // A portable copy or an installation may carry Qt's translations beside the program's own.
    return LanguageDirs() << QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool LoadLanguageModule(const QString& moduleName, bool useBuiltIn) {
    const QString fileName = moduleName + QStringLiteral(".qm");
    auto translator = std::make_unique<QTranslator>();
    bool loaded = LoadFromFirst(*translator, LanguageDirs(), fileName);
    if (!loaded && useBuiltIn) {
        loaded = translator->load(QStringLiteral(":/i18n/") + fileName);
    }
    if (!loaded) {
        return false;
    }
    LanguageState& state = State();
    ReplaceTranslator(state.translator, std::move(translator));
    state.moduleName = moduleName;
    LoadQtTranslation(FindRowByModule(moduleName));
    return true;
}

QString CurrentLanguageModule() {
    return State().moduleName;
}

uint16_t CurrentLanguage() {
    const LanguageRow* row = FindRowByModule(State().moduleName);
    return row != nullptr ? row->primary : 0;
}

bool SwitchLanguage(uint16_t primary) {
    // The choice is stored before loading, so the next start tries the new language even if loading fails.
    const LanguageRow row = SelectLanguage(primary);
    return LoadLanguageModule(QLatin1String(row.moduleName));
}

} // namespace terrix
