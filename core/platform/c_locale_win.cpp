#include "core/platform/c_locale.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace terrix {

// The C runtime's locale becomes this thread's own for the scope, so that setting it to "C" never reaches
// another thread.
ThreadCLocale::ThreadCLocale() {
    mode_ = ::_configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    if (current != nullptr && std::strcmp(current, "C") != 0) {
        previous_ = ::_strdup(current);
        std::setlocale(LC_NUMERIC, "C");
    }
}

ThreadCLocale::~ThreadCLocale() {
    if (previous_ != nullptr) {
        std::setlocale(LC_NUMERIC, static_cast<const char*>(previous_));
        std::free(previous_);
    }
    if (mode_ == _DISABLE_PER_THREAD_LOCALE) {
        ::_configthreadlocale(_DISABLE_PER_THREAD_LOCALE);
    }
}

double StrtodC(const char* text, char** end) {
    // Created once and never freed: it lives as long as the process reads anything.
    static const _locale_t c = ::_create_locale(LC_ALL, "C");
    return ::_strtod_l(text, end, c);
}

} // namespace terrix
