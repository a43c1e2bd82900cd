#include "core/platform/c_locale.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace terrix {

namespace {

locale_t CLocale() {
    // Created once and never freed: it lives as long as the process formats anything.
    static const locale_t loc = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

} // namespace

ThreadCLocale::ThreadCLocale() {
    // uselocale changes only this thread's locale.
    if (const locale_t c = CLocale(); c != static_cast<locale_t>(nullptr)) {
        previous_ = ::uselocale(c);
    }
}

ThreadCLocale::~ThreadCLocale() {
    if (previous_ != nullptr) {
        ::uselocale(static_cast<locale_t>(previous_));
    }
}

double StrtodC(const char* text, char** end) {
    return ::strtod_l(text, end, CLocale());
}

} // namespace terrix
