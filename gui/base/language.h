#pragma once
// The user-interface language: choosing it from "General settings"/"wPrimaryLID", loading the language file
// ("Terrix English.qm", "Terrix Deutsch.qm") by name, and switching at run time.

#include <QString>
#include <QStringList>

#include <cstdint>

class QWidget;

namespace terrix {

inline constexpr uint16_t kLangEnglish = 9;
inline constexpr uint16_t kLangGerman = 7;

struct LanguageRow {
    uint16_t primary;
    const char* moduleName;
    // Qt's own texts (standard buttons, line-edit menus, file dialogs) in this language; none for English,
    // the language Qt is written in.
    const char* qtTranslation;
};

// Searched in this order; a code without a row takes the first row (English).
inline constexpr LanguageRow kLanguageTable[] = {{kLangEnglish, "Terrix English", nullptr},
                                                 {kLangGerman, "Terrix Deutsch", "qtbase_de"}};

// The primary language of the user's locale as a Windows primary language code (9 English, 7 German, 0 for
// any other language).
uint16_t UserDefaultPrimaryLanguage();

// primary 0: the stored language, by default the user's; else primary & 0x3FF. Writes the chosen row's code
// to "wPrimaryLID", so the key exists after every start, and returns the row.
LanguageRow SelectLanguage(uint16_t primary);

// Loads the language file `moduleName`.qm from the first language directory that holds it and makes it the
// current translation; the previous one is released. When no directory holds it, `useBuiltIn` takes the
// copy embedded in the program instead; otherwise the result is false and nothing changes. Qt's own
// translation for the language comes with it, from the language directories or else Qt's translations
// folder; without it Qt's texts stay English, which is not an error.
bool LoadLanguageModule(const QString& moduleName, bool useBuiltIn = false);

// The module name of the current translation (empty before the first load) and its language code.
QString CurrentLanguageModule();
uint16_t CurrentLanguage();

// Where language files are looked for, in this order: by default the executable's directory, then the
// installed data directory (share/terrix). Qt's translations are looked for here first, then in Qt's own
// translations folder (QtTranslationDirs).
QStringList LanguageDirs();
void SetLanguageDirs(const QStringList& dirs);
QStringList QtTranslationDirs();

// Selects (and stores) the language and loads its file; every open window then retranslates itself (Qt
// sends it a LanguageChange event). False when the file cannot be loaded: the old texts stay.
bool SwitchLanguage(uint16_t primary);

} // namespace terrix
