#include "support/german_locale.h"

#include "support/temp_dir.h"

#include <clocale>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace terrix::test {
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
        const std::string source = (dir / "numeric.src").string();
        const std::string target = (dir / kCompiledName).string();
        const char* argv[] = {"localedef", "-c", "-i", source.c_str(), target.c_str(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        int status = 0;
        const bool ran =
            ::posix_spawnp(&pid, "localedef", &actions, nullptr, const_cast<char**>(argv), environ) == 0 &&
            ::waitpid(pid, &status, 0) == pid;
        posix_spawn_file_actions_destroy(&actions);
        return ran && std::filesystem::exists(dir / kCompiledName / "LC_NUMERIC") ? dir.path().string()
                                                                                  : std::string();
    }();
    return path;
}

} // namespace

GermanNumberLocale::GermanNumberLocale() {
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    previous_ = current != nullptr ? current : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
        active_ = true;
        return;
    }
    const std::string& dir = CompiledLocaleDir();
    if (dir.empty()) {
        return;
    }
    // LOCPATH is read only while the locale is loaded; the process gets its own value back right after.
    const char* old = std::getenv("LOCPATH");
    const std::string oldPath = old != nullptr ? old : "";
    ::setenv("LOCPATH", dir.c_str(), 1);
    active_ = std::setlocale(LC_NUMERIC, kCompiledName) != nullptr;
    if (old != nullptr) {
        ::setenv("LOCPATH", oldPath.c_str(), 1);
    } else {
        ::unsetenv("LOCPATH");
    }
}

GermanNumberLocale::~GermanNumberLocale() {
    std::setlocale(LC_NUMERIC, previous_.c_str());
}

} // namespace terrix::test
