#pragma once
// The numbered texts of the program: every text with a resource number (menu items, status prompts, the
// string table) is listed once here under the context "Terrix", with its number as disambiguation. The
// translator looks numbered texts up here first, so a window's tr("No module selected!", "24707") finds
// the one translation of number 24707 whatever class asks.

#include <QString>

#include <span>

namespace terrix {

inline constexpr const char* kCatalogueContext = "Terrix";

struct NumberedText {
    const char* source; // English text
    const char* id;     // resource number
};

std::span<const NumberedText> NumberedTexts();

// The translation of a numbered text in the current language.
QString CatalogueText(const char* source, const char* id);

} // namespace terrix
