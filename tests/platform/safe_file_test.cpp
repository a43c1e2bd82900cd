// A symbolic link planted under the temporary name of a safe replacement must not redirect the write:
// neither to a file the link points at nor by creating the file a dangling link names.

#include <gtest/gtest.h>

#include <cerrno>

#include "core/platform/safe_file_os.h"
#include "support/temp_dir.h"

namespace terrix {
namespace {

TEST(SafeFile, PlantedLinkAtTheTemporaryNameIsRefused) {
    const test::TempDir dir;
    const std::filesystem::path victim = dir / "victim";
    const std::filesystem::path missing = dir / "created-by-the-link";
    test::WriteFileBytes(victim, "untouched");
    for (const auto& target : {victim, missing}) {
        SCOPED_TRACE(target);
        const std::filesystem::path temp = dir / "Terrix.ini.tmp1.0";
        std::error_code ec;
        std::filesystem::remove(temp, ec);
        std::filesystem::create_symlink(target, temp, ec);
        if (ec) {
            GTEST_SKIP() << "symbolic links cannot be made here: " << ec.message();
        }
        int error = 0;
        bool created = true;
        EXPECT_FALSE(os::WriteNewFile(temp, dir / "Terrix.ini", "redirected", &error, &created));
        EXPECT_EQ(error, EEXIST);
        EXPECT_FALSE(created);
    }
    EXPECT_EQ(test::ReadFileBytes(victim), "untouched");
    EXPECT_FALSE(std::filesystem::exists(missing));
}

} // namespace
} // namespace terrix
