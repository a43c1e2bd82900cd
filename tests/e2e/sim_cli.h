#pragma once
// terrix-cli against terrix-sim over a pseudo-terminal, with a fresh data directory: the programs as a
// technician runs them.

#include "support/child_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>

namespace terrix::test {

// The default scenario's bus as a scan saves it, and the record sizes of its modules' binary files.
inline const std::string kSavedBus = "[BUS INFO]\r\nModules=4\r\nModule0=31042,1\r\nModule1=31057,2\r\n"
                                     "Module2=40218,3\r\nModule3=20513,252\r\n";
inline const std::map<int, size_t> kRecordSizes = {{31042, 12}, {31057, 12}, {40218, 39}, {20513, 12}};
constexpr size_t kMeasHeaderSize = 56;

inline size_t Lines(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

inline std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

class SimCliTest : public ::testing::Test {
protected:
    // A fresh terrix-sim with `args` (none: the built-in bus), in place of a running one; its device is the
    // port from then on.
    void StartSim(const std::vector<std::string>& args = {}) {
        sim.reset();
        sim = std::make_unique<BackgroundProcess>(TERRIX_SIM_PATH, args);
        ASSERT_TRUE(sim->running()) << "terrix-sim did not start";
        port = sim->firstLine();
    }
    // terrix-cli's arguments: the data directory, the port and --quiet (unless `quiet` is off), then `args`.
    std::vector<std::string> Args(const std::vector<std::string>& args) const {
        std::vector<std::string> all = {"--data-dir", data.path().string(), "--port", port};
        if (quiet) {
            all.push_back("--quiet");
        }
        all.insert(all.end(), args.begin(), args.end());
        return all;
    }
    RunResult Cli(const std::vector<std::string>& args) const {
        return RunProgram(TERRIX_CLI_PATH, Args(args));
    }
    static nlohmann::json Json(const std::string& text) {
        nlohmann::json parsed = nlohmann::json::parse(text, nullptr, false);
        EXPECT_FALSE(parsed.is_discarded()) << "not JSON: " << text;
        return parsed;
    }
    static nlohmann::json Json(const RunResult& r) { return Json(r.out); }
    // terrix-cli's exit status for each of `commands` (words split at spaces), run in order.
    std::vector<int> ExitCodes(const std::vector<std::string>& commands) const {
        std::vector<int> codes;
        for (const std::string& command : commands) {
            codes.push_back(Cli(Words(command)).exitCode);
        }
        return codes;
    }
    // Runs terrix-cli `args`, which must succeed; false (the failure recorded) when it did not.
    bool CliOk(const std::vector<std::string>& args) const {
        const RunResult r = Cli(args);
        EXPECT_EQ(r.exitCode, 0) << r.err << r.out;
        return r.exitCode == 0;
    }
    // Runs terrix-cli `args`, which must end with `exitCode` and say `message` on standard error.
    void ExpectFailure(const std::vector<std::string>& args, int exitCode, const std::string& message) const {
        const RunResult r = Cli(args);
        EXPECT_EQ(r.exitCode, exitCode) << ::testing::PrintToString(args) << ": " << r.err;
        EXPECT_NE(r.err.find(message), std::string::npos) << ::testing::PrintToString(args) << ": " << r.err;
    }
    // The JSON output of terrix-cli --json `args`, a run that must succeed.
    nlohmann::json CliJson(std::vector<std::string> args) const {
        args.insert(args.begin(), "--json");
        const RunResult r = Cli(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return Json(r);
    }
    // The saved bus, and for each of `serials` a module file that holds only the serial number.
    void SaveBus(const std::string& bus, const std::vector<int>& serials = {}) const {
        WriteFileBytes(data / "Terrix.ini", bus);
        for (const int serial : serials) {
            const std::string number = std::to_string(serial);
            WriteFileBytes(data / (number + ".ini"), "[StationInfo]\r\nwSerialNo=" + number + "\r\n");
        }
    }
    std::set<std::string> FileNames() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(data.path())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    // How many whole records a module's binary measurement file holds so far (0 without a file).
    size_t RecordCount(int serial) const {
        const size_t size = ReadFileBytes(data / (std::to_string(serial) + ".BinMeasData")).size();
        return (size - std::min(size, kMeasHeaderSize)) / kRecordSizes.at(serial);
    }
    // The records of a module's binary measurement file (empty without a file), which must be its header and
    // whole records, with the ASCII file beside it a title line and one line per record.
    std::string WholeRecords(int serial) const {
        const std::string name = std::to_string(serial);
        const std::string binary = ReadFileBytes(data / (name + ".BinMeasData"));
        if (binary.empty()) {
            return binary;
        }
        EXPECT_GE(binary.size(), kMeasHeaderSize) << name << ": a header cut short";
        const std::string records = binary.substr(std::min(binary.size(), kMeasHeaderSize));
        EXPECT_EQ(records.size() % kRecordSizes.at(serial), 0u) << name << ": a partial record";
        EXPECT_EQ(Lines(ReadFileBytes(data / (name + ".ASC"))), 1 + records.size() / kRecordSizes.at(serial))
            << name;
        return records;
    }

    TempDir data;
    std::unique_ptr<BackgroundProcess> sim;
    std::string port;
    bool quiet = true;
};

} // namespace terrix::test
