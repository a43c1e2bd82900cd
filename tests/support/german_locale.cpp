#include "support/german_locale.h"

#include "support/temp_dir.h"

#include <clocale>
#include <cstdlib>
#include <optional>

namespace terrix::test {
#ifndef _WIN32
namespace {

constexpr const char* kCompiledName = "de_DE";
constexpr const char* kNumericSource = "LC_NUMERIC\n"
                                       "decimal_point \"<U002C>\"\n"
                                       "thousands_sep \"<U002E>\"\n"
                                       "grouping 3;3\n"
                                       "END LC_NUMERIC\n";

// The folder of the compiled locale, made on first use and removed when the process ends; empty when
// localedef could not make it. -c makes localedef write the locale although its other categories are
// missing; its warnings about them go nowhere.
const std::string& CompiledLocaleDir() {
    static TempDir dir;
    static const std::string path = [] {
        WriteFileBytes(dir / "numeric.src", kNumericSource);
        // The folder is one the test made itself: its path needs no quoting for the shell.
        const std::string command = "localedef -c -i " + (dir / "numeric.src").string() + " " +
                                    (dir / kCompiledName).string() + " 2>/dev/null";
        return std::system(command.c_str()) >= 0 &&
                       std::filesystem::exists(dir / kCompiledName / "LC_NUMERIC")
                   ? dir.path().string()
                   : std::string();
    }();
    return path;
}

} // namespace
#endif

GermanNumberLocale::GermanNumberLocale() {
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    previous_ = current != nullptr ? current : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
        active_ = true;
        return;
    }
#ifdef _WIN32
    // Windows names its locales differently and has no LOCPATH.
    active_ = std::setlocale(LC_NUMERIC, "de-DE") != nullptr;
#else
    const std::string& dir = CompiledLocaleDir();
    if (dir.empty()) {
        return;
    }
    // LOCPATH is read only while the locale is loaded; the process gets its own value back right after.
    const char* old = std::getenv("LOCPATH");
    const std::optional<std::string> oldPath =
        old != nullptr ? std::optional<std::string>(old) : std::nullopt;
    ::setenv("LOCPATH", dir.c_str(), 1);
    active_ = std::setlocale(LC_NUMERIC, kCompiledName) != nullptr;
    oldPath ? ::setenv("LOCPATH", oldPath->c_str(), 1) : ::unsetenv("LOCPATH");
#endif
}

GermanNumberLocale::~GermanNumberLocale() {
    std::setlocale(LC_NUMERIC, previous_.c_str());
}

} // namespace terrix::test
