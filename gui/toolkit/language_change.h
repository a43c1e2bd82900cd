#pragma once
// A window's texts follow a language switch at run time: `retranslate` runs whenever `widget` receives
// QEvent::LanguageChange, which Qt sends to every widget once a new translator is installed. One line in
// the window's constructor instead of a changeEvent override in every window.

#include <functional>

class QWidget;

namespace terrix {

void RetranslateOnLanguageChange(QWidget* widget, std::function<void()> retranslate);

} // namespace terrix
