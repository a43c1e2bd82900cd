#include "core/platform/data_paths.h"
#include "file_size_limit.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>

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

} // namespace
} // namespace terrix::test
