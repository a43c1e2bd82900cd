// Paths travel as UTF-8 text between the windows, the command line, Terrix.ini and the file layer. A name
// beyond ASCII must come back unchanged and reach the same file whichever side made it, also on Windows,
// where std::filesystem's narrow strings follow the ANSI code page.

#include <gtest/gtest.h>

#include "core/platform/file_handle.h"
#include "core/platform/path_text.h"
#include "support/temp_dir.h"

namespace terrix {
namespace {

TEST(PathText, NamesBeyondAsciiReachTheSameFileFromTextAndFromPaths) {
    const test::TempDir dir;
    for (const std::string name : {"Messdaten", "Prüfung Süd", "Łódź", "Ωμέγα", "測定"}) {
        SCOPED_TRACE(name);
        const std::filesystem::path path = dir.path() / PathFromText(name);
        EXPECT_EQ(PathText(path.filename()), name);
        int error = 0;
        ASSERT_NE(MachineFileSystem().Open(PathText(path), FileAccess::kReplace, &error), nullptr) << error;
        EXPECT_TRUE(std::filesystem::is_regular_file(path));
    }
    int listed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_EQ(PathFromText(PathText(entry.path().filename())), entry.path().filename());
        ++listed;
    }
    EXPECT_EQ(listed, 5);
}

} // namespace
} // namespace terrix
