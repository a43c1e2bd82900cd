#include "gui/toolkit/string_catalogue.h"

#include <QCoreApplication>

namespace terrix {

std::span<const NumberedText> NumberedTexts() {
    return kNumberedTexts;
}

QString TranslatedText(const NumberedText& entry) {
    return QCoreApplication::translate(kCatalogueContext, entry.text.source, entry.text.id);
}

QString FindText(TextKind kind, int number) {
    const int index = NumberedTextIndex(kind, number);
    return index >= 0 ? TranslatedText(kNumberedTexts[index]) : QString();
}

QString Text(ListedNumber<TextKind::String> number) {
    return FindText(TextKind::String, number.number);
}

QString MenuText(ListedNumber<TextKind::Label> commandId) {
    return FindText(TextKind::Label, commandId.number);
}

QString PromptText(ListedNumber<TextKind::Prompt> commandId) {
    return FindText(TextKind::Prompt, commandId.number);
}

QString PopupTitle(MenuPopup popup) {
    int index = static_cast<int>(popup);
    for (const NumberedText& entry : kNumberedTexts) {
        if (entry.kind == TextKind::Popup && index-- == 0) {
            return TranslatedText(entry);
        }
    }
    return QString();
}

} // namespace terrix
