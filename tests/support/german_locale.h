#pragma once
// Puts a German number format (decimal comma) in force for the process while it lives, so a test can show
// that a text keeps its decimal point whatever the user's locale. The machine's de_DE.UTF-8 is used when
// installed; else a locale holding only the German number format is compiled once into a temporary folder.

#include <string>

namespace terrix::test {

class GermanNumberLocale {
public:
    GermanNumberLocale();
    ~GermanNumberLocale();
    GermanNumberLocale(const GermanNumberLocale&) = delete;
    GermanNumberLocale& operator=(const GermanNumberLocale&) = delete;

    // False when no such locale could be had (no localedef on the machine); the test is then skipped.
    bool Active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

} // namespace terrix::test
