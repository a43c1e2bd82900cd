#include "core/platform/data_paths.h"
#include "file_size_limit.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sys/stat.h>

namespace terrix::test {
namespace {

// The environment is read once per process, so each case resolves the directory in a forked child.
TEST(DataDirTest, EnvironmentThenTheWritableExecutableFolderThenAnExplicitChoice) {
    const TempDir dir;
    const std::filesystem::path fromEnv = dir / "from-env";
    const std::filesystem::path exeDir = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    const struct {
        const char* env; // null: unset
        const char* chosen;
        std::filesystem::path expected;
    } cases[] = {{fromEnv.c_str(), nullptr, fromEnv},
                 {"", nullptr, exeDir},
                 {nullptr, nullptr, exeDir},
                 {fromEnv.c_str(), "relative-choice", std::filesystem::current_path() / "relative-choice"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_TRUE(RunWithFileSizeLimit(RLIM_INFINITY, [&] {
            c.env != nullptr ? ::setenv("TERRIX_DATA_DIR", c.env, 1) : ::unsetenv("TERRIX_DATA_DIR");
            SetDataDir(c.chosen != nullptr ? c.chosen : ""); // the parent's tests may have chosen one
            return DataDir() == c.expected && std::filesystem::is_directory(c.expected) &&
                   SettingsFilePath() == c.expected / "Terrix.ini";
        }));
    }
    std::filesystem::remove(std::filesystem::current_path() / "relative-choice");
}

// Sets or unsets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// An installed program (bin beside share, as in /usr or a scratch root) keeps its files in the per-user
// folder even when its own folder is writable, as /usr/bin is for root; a portable copy keeps them beside
// itself.
TEST(DataDirTest, PortableCopyBesideItselfInstalledProgramInThePerUserFolder) {
    const TempDir dir;
    const std::filesystem::path home = dir / "home";
    const std::filesystem::path xdg = dir / "xdg";
    const std::filesystem::path portable = dir / "portable";
    const std::filesystem::path portableBin = dir / "tools" / "bin"; // a bin folder with no share beside it
    const std::filesystem::path installedBin = dir / "usr" / "bin";
    const std::filesystem::path readOnly = dir / "read-only";
    for (const auto& folder : {portable, portableBin, installedBin, dir / "usr" / "share", readOnly}) {
        std::filesystem::create_directories(folder);
    }
    ::chmod(readOnly.c_str(), 0555);
    const bool rootWrites = ::access(readOnly.c_str(), W_OK) == 0;
    const struct {
        std::filesystem::path exeDir;
        const char* xdgDataHome; // null: unset
        std::filesystem::path expected;
    } cases[] = {{portable, xdg.c_str(), portable},
                 {portableBin, xdg.c_str(), portableBin},
                 {installedBin, xdg.c_str(), xdg / "terrix"},
                 {installedBin, nullptr, home / ".local/share/terrix"},
                 {installedBin, "relative/xdg", home / ".local/share/terrix"},
                 {readOnly, xdg.c_str(), rootWrites ? readOnly : xdg / "terrix"}};
    const ScopedEnv noOverride("TERRIX_DATA_DIR", nullptr);
    const ScopedEnv homeEnv("HOME", home.c_str());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exeDir);
        const ScopedEnv xdgEnv("XDG_DATA_HOME", c.xdgDataHome);
        EXPECT_EQ(DefaultDataDir(c.exeDir), c.expected);
    }
    const ScopedEnv overrideEnv("TERRIX_DATA_DIR", portable.c_str());
    EXPECT_EQ(DefaultDataDir(installedBin), portable);
    ::chmod(readOnly.c_str(), 0755);
}

} // namespace
} // namespace terrix::test
