// Files that cannot be written or are not what they should be: a full disk (RLIMIT_FSIZE), a read-only data
// directory, a settings file that is a directory, another module's binary measurement file renamed into
// place. Each gives its message on standard error and the documented exit status, and leaves every file it
// did not mean to write as it was.

#include "sim_cli.h"

#include "core/measure/bin_meas_data_file.h"
#include "core/measure/meas_layouts.h"

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace terrix::test {
namespace {

namespace fs = std::filesystem;

// A binary measurement file of a two-channel probe with one record.
std::string TwoChannelFile(uint16_t serial) {
    const TempDir dir;
    CBinMeasDataFile file;
    EXPECT_TRUE(file.OpenFor(kMeasOpenReadWrite, serial, "PX-TAVIK2", 3, 12, dir.path().string()));
    CMeasRecord record = MakeRecord(MeasLayout::kTwoValue);
    EXPECT_TRUE(file.WriteRecord(record));
    file.Close();
    return ReadFileBytes(dir / (std::to_string(serial) + ".BinMeasData"));
}

std::map<std::string, std::string> Snapshot(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            files[entry.path().filename().string()] = ReadFileBytes(entry.path());
        }
    }
    return files;
}

struct Case {
    const char* name;
    std::function<void(const fs::path&)> setUp;
    const char* command;
    bool fileSizeLimit; // run with RLIMIT_FSIZE 0 (and SIGXFSZ ignored, so writes fail with EFBIG)
    int exitCode;
    const char* message;   // part of standard error
    const char* unchanged; // the file that must keep its bytes; "*": every file, and none may be added
};

using DiskAndPermissionsTest = SimCliTest;

TEST_F(DiskAndPermissionsTest, EachFaultGivesItsMessageAndStatusAndLeavesOtherFilesAlone) {
    StartSim();
    const auto settingsIsDirectory = [](const fs::path& d) {
        fs::remove(d / "Terrix.ini");
        fs::create_directory(d / "Terrix.ini");
    };
    const std::string measure = "measure --rounds 1 --rate 0";
    const std::vector<Case> cases = {
        // The new modules' files cannot be set up: each names its binary file, and none is left behind.
        {"full disk",
         [](const fs::path& d) { WriteFileBytes(d / "31042.BinMeasData", TwoChannelFile(31042)); },
         measure.c_str(), true, 4, "31057.BinMeasData: File too large", "*"},
        {"read-only data directory",
         [](const fs::path& d) { fs::permissions(d, fs::perms::owner_read | fs::perms::owner_exec); },
         "known add 1234", false, 4, "could not be saved", "*"},
        {"settings file is a directory", settingsIsDirectory, "known add 1234", false, 4,
         "Terrix.ini: Is a directory", "*"},
        {"settings file is a directory when measuring", settingsIsDirectory, measure.c_str(), false, 4,
         "Terrix.ini: Is a directory", "*"},
        {"another module's binary file renamed into place",
         [](const fs::path& d) { WriteFileBytes(d / "31057.BinMeasData", TwoChannelFile(31042)); },
         measure.c_str(), false, 4, "31057.BinMeasData: the file belongs to another module",
         "31057.BinMeasData"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.name) == "read-only data directory" && geteuid() == 0) {
            std::cout << "skipped '" << c.name << "': root writes to read-only directories\n";
            continue;
        }
        TempDir dir;
        WriteFileBytes(dir / "Terrix.ini", kSavedBus);
        c.setUp(dir.path());
        const std::map<std::string, std::string> before = Snapshot(dir.path());
        std::string line = "exec '" TERRIX_CLI_PATH "' --quiet --data-dir '" + dir.path().string() +
                           "' --port '" + port + "'";
        for (const std::string& arg : Words(c.command)) {
            line += " '" + arg + "'";
        }
        const RunResult r =
            RunProgram("/bin/sh", {"-c", (c.fileSizeLimit ? "trap '' XFSZ; ulimit -f 0; " : "") + line});
        fs::permissions(dir.path(), fs::perms::owner_all); // so that the folder can go
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        const std::map<std::string, std::string> after = Snapshot(dir.path());
        const bool all = std::string(c.unchanged) == "*";
        for (const auto& [file, bytes] : before) {
            if (all || file == c.unchanged) {
                EXPECT_TRUE(after.count(file) != 0 && after.at(file) == bytes) << file << " changed";
            }
        }
        // The empty lock file beside a settings file is the only file a refused save may leave.
        EXPECT_FALSE(all && std::any_of(after.begin(), after.end(),
                                        [&](const auto& entry) {
                                            return before.count(entry.first) == 0 &&
                                                   !entry.first.ends_with(".lock");
                                        }))
            << "files were added";
    }
}

} // namespace
} // namespace terrix::test
