// terrix-cli measure against terrix-sim over a pseudo-terminal, with the measurement files checked byte by
// byte against a reading of their format written here from scratch.

#include "support/child_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <sstream>

namespace terrix::test {
namespace {

// ---- the file formats, read independently ---------------------------------------------------------------

uint32_t U32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | static_cast<uint8_t>(b.at(at + i));
    }
    return v;
}
uint16_t U16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b.at(at)) | static_cast<uint8_t>(b.at(at + 1)) << 8);
}
float F32(uint32_t bits) {
    float f = 0;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// Day (5 bits), month (4), year - 1970 (6), hour (5), minute (6), second (6), least significant first.
std::string StampText(uint32_t s) {
    char text[32];
    std::snprintf(text, sizeof text, "%02u.%02u.%04u %02u:%02u:%02u", s & 31, (s >> 5) & 15,
                  1970 + ((s >> 9) & 63), (s >> 15) & 31, (s >> 20) & 63, (s >> 26) & 63);
    return text;
}
std::time_t StampLocalTime(uint32_t s) {
    std::tm tm{};
    tm.tm_mday = static_cast<int>(s & 31);
    tm.tm_mon = static_cast<int>((s >> 5) & 15) - 1;
    tm.tm_year = static_cast<int>(70 + ((s >> 9) & 63));
    tm.tm_hour = static_cast<int>((s >> 15) & 31);
    tm.tm_min = static_cast<int>((s >> 20) & 63);
    tm.tm_sec = static_cast<int>((s >> 26) & 63);
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}
// An exponent of all ones with a mantissa is an error marker carrying a code in its low 16 bits.
std::string FloatText(uint32_t bits, const char* format) {
    if ((bits & 0x7F800000u) == 0x7F800000u && (bits & 0x007FFFFFu) != 0) {
        const uint32_t code = bits & 0xFFFF;
        return code == 0xFFFF ? "NaN(?)" : "NaN(" + std::to_string(code) + ")";
    }
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<double>(F32(bits)));
    return text;
}

enum class Kind { kStamp, kByte, kWord, kFloat };
struct FieldFormat {
    Kind kind;
    const char* format;
    const char* title;
};
const std::vector<FieldFormat> kTwoValue = {
    {Kind::kStamp, "", "Date/Time"}, {Kind::kFloat, "%.3f", "Value 1"}, {Kind::kFloat, "%.3f", "Value 2"}};
const std::vector<FieldFormat> kXvTdc = {{Kind::kStamp, "", "Date/Time"},
                                         {Kind::kByte, "%u", "Density"},
                                         {Kind::kFloat, "%.1f", "Moisture [%]"},
                                         {Kind::kFloat, "%.3f", "StdDev"},
                                         {Kind::kFloat, "%.1f", "Error [%]"},
                                         {Kind::kWord, "%u", "n1"},
                                         {Kind::kWord, "%u", "n2"},
                                         {Kind::kWord, "%u", "Delta n"},
                                         {Kind::kFloat, "%.3f", "TDR Level"},
                                         {Kind::kFloat, "%.3f", "c0"},
                                         {Kind::kFloat, "%.1f", "Temperature"},
                                         {Kind::kWord, "%u", "MatID"},
                                         {Kind::kWord, "%u", "TempID"}};

struct Record {
    uint32_t stamp = 0;
    std::vector<std::string> texts;
    std::vector<float> floats; // per field; NaN for fields that are not floats
};

size_t SizeOf(const std::vector<FieldFormat>& layout) {
    size_t n = 0;
    for (const FieldFormat& f : layout) {
        n += f.kind == Kind::kByte ? 1 : f.kind == Kind::kWord ? 2 : 4;
    }
    return n;
}

Record ParseRecord(const std::string& b, size_t at, const std::vector<FieldFormat>& layout) {
    Record r;
    for (const FieldFormat& f : layout) {
        float value = NAN;
        switch (f.kind) {
        case Kind::kStamp:
            r.stamp = U32(b, at);
            r.texts.push_back(StampText(r.stamp));
            at += 4;
            break;
        case Kind::kByte:
            r.texts.push_back(std::to_string(static_cast<uint8_t>(b.at(at))));
            at += 1;
            break;
        case Kind::kWord:
            r.texts.push_back(std::to_string(U16(b, at)));
            at += 2;
            break;
        case Kind::kFloat:
            r.texts.push_back(FloatText(U32(b, at), f.format));
            value = F32(U32(b, at));
            at += 4;
            break;
        }
        r.floats.push_back(value);
    }
    return r;
}

struct BinFile {
    uint16_t serial = 0;
    std::string name;
    uint32_t mask = 0;
    uint32_t minimum[2] = {};
    uint32_t maximum[2] = {};
    std::vector<Record> records;
};

// Checks the 56-byte header and splits the records; fails the test on any deviation.
BinFile ReadBinFile(const std::string& b, const std::vector<FieldFormat>& layout) {
    BinFile f;
    EXPECT_GE(b.size(), 56u);
    if (b.size() < 56) {
        return f;
    }
    EXPECT_EQ(b.substr(0, 8), "ORVAmdfh");
    EXPECT_EQ(b.substr(8, 4), "1.01");
    EXPECT_EQ(U32(b, 12), 56u);
    f.serial = U16(b, 16);
    f.name = std::string(b.c_str() + 18);
    EXPECT_LE(f.name.size(), 15u);
    for (size_t i = 18 + f.name.size(); i < 36; ++i) {
        EXPECT_EQ(b[i], '\0') << "name tail and padding are zero, byte " << i;
    }
    f.mask = U32(b, 36);
    f.minimum[0] = U32(b, 40);
    f.minimum[1] = U32(b, 44);
    f.maximum[0] = U32(b, 48);
    f.maximum[1] = U32(b, 52);
    const size_t size = SizeOf(layout);
    EXPECT_EQ((b.size() - 56) % size, 0u) << "no partial record";
    for (size_t at = 56; at + size <= b.size(); at += size) {
        f.records.push_back(ParseRecord(b, at, layout));
    }
    return f;
}

std::string JoinLine(const std::vector<std::string>& texts) {
    std::string line;
    for (size_t i = 0; i < texts.size(); ++i) {
        line += texts[i] + (i + 1 < texts.size() ? "\t" : "\r\n");
    }
    return line;
}

// The measurement files of the default scenario's modules: layout, header values and the ASCII title line.
struct ModuleFiles {
    int serial;
    const char* name;
    const std::vector<FieldFormat>& layout;
    uint32_t mask;
    std::string title;
};
std::vector<ModuleFiles> DefaultBusFiles() {
    const std::string xvTitle =
        "Date/Time\tDensity\tMoisture [%]\tStdDev\tError [%]\tn1\tn2\tDelta n\tTDR Level\tc0\t"
        "Temperature\tMatID\tTempID\r\n";
    return {ModuleFiles{31042, "PX-TAVIK2", kTwoValue, 3, "Date/Time\t31042_1\t31042_2\n"},
            ModuleFiles{31057, "PX-TAVIK2", kTwoValue, 3, "Date/Time\t31057_1\t31057_2\n"},
            ModuleFiles{40218, "PX-TAVIK2XV", kXvTdc, 1, xvTitle},
            ModuleFiles{20513, "PX-ROV4", kTwoValue, 0, "Date/Time\n"}};
}

// ---- the tests -------------------------------------------------------------------------------------------

class CliMeasureTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The built-in bus, with the probes averaging one measurement instead of three and five: the rounds
        // then follow each other after 3 s (the probes' conversion time) instead of 8 s.
        std::string scenario = ReadFileBytes(std::string(TERRIX_SOURCE_DIR) + "/sim/scenarios/default.json");
        for (const char* count : {"\"count\": 3,", "\"count\": 5,"}) {
            for (size_t at = scenario.find(count); at != std::string::npos; at = scenario.find(count)) {
                scenario.replace(at, std::strlen(count), "\"count\": 1,");
            }
        }
        // 31057 measures a frost: its temperatures are all below zero, so both of its extremes are negative.
        const std::string warm = R"("base": 15.5, "amplitude": 2.0)";
        scenario.replace(scenario.find(warm), warm.size(), R"("base": -18.45, "amplitude": 0.05)");
        WriteFileBytes(data / "scenario.json", scenario);
        sim = std::make_unique<BackgroundProcess>(
            TERRIX_SIM_PATH, std::vector<std::string>{"--scenario", (data / "scenario.json").string()});
        ASSERT_TRUE(sim->running()) << "terrix-sim did not start";
        // The default scenario's bus as a scan saved it; the module files need only the serial number.
        WriteFileBytes(data / "Terrix.ini",
                       "[BUS INFO]\r\nModules=4\r\nModule0=31042,1\r\nModule1=31057,2\r\n"
                       "Module2=40218,3\r\nModule3=20513,252\r\n");
        for (const char* serial : {"31042", "31057", "40218", "20513"}) {
            WriteFileBytes(data / (std::string(serial) + ".ini"),
                           std::string("[StationInfo]\r\nwSerialNo=") + serial + "\r\n");
        }
    }
    RunResult Cli(std::vector<std::string> args) {
        std::vector<std::string> all = {"--data-dir", data.path().string(), "--port", sim->firstLine()};
        all.insert(all.end(), args.begin(), args.end());
        return RunProgram(TERRIX_CLI_PATH, all);
    }

    TempDir data;
    std::unique_ptr<BackgroundProcess> sim;
};

TEST_F(CliMeasureTest, ThreeRoundsWriteBinaryAndAsciiFilesOfTheFormat) {
    const std::time_t before = std::time(nullptr);
    const RunResult r = Cli({"--json", "measure", "--rounds", "3", "--rate", "0"});
    const std::time_t after = std::time(nullptr);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("3 round(s), 12 value(s)"), std::string::npos) << r.err;

    // One JSON line per value as it arrived: every module once per round, in bus-list order.
    std::map<int, std::vector<nlohmann::json>> printed;
    std::vector<int> order;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        const nlohmann::json j = nlohmann::json::parse(line, nullptr, false);
        ASSERT_FALSE(j.is_discarded()) << line;
        printed[j["serial"]].push_back(j);
        order.push_back(j["serial"]);
    }
    EXPECT_EQ(order, (std::vector<int>{31042, 31057, 40218, 20513, 31042, 31057, 40218, 20513, 31042, 31057,
                                       40218, 20513}));

    for (const ModuleFiles& e : DefaultBusFiles()) {
        SCOPED_TRACE(e.serial);
        const std::string serial = std::to_string(e.serial);
        const BinFile bin = ReadBinFile(ReadFileBytes(data / (serial + ".BinMeasData")), e.layout);
        EXPECT_EQ(bin.serial, e.serial);
        EXPECT_EQ(bin.name, e.name);
        EXPECT_EQ(bin.mask, e.mask);
        ASSERT_EQ(bin.records.size(), 3u);

        // The ASCII file is the title line and the records' texts, nothing else.
        std::string ascii = e.title;
        for (const Record& rec : bin.records) {
            ascii += JoinLine(rec.texts);
            const std::time_t when = StampLocalTime(rec.stamp);
            EXPECT_GE(when, before - 1);
            EXPECT_LE(when, after + 1);
        }
        EXPECT_EQ(ReadFileBytes(data / (serial + ".ASC")), ascii);

        // The printed values are the stored ones.
        ASSERT_EQ(printed[e.serial].size(), 3u);
        for (size_t k = 0; k < 3; ++k) {
            const nlohmann::json& j = printed[e.serial][k];
            EXPECT_EQ(j["time"], bin.records[k].texts[0]);
            ASSERT_EQ(j["values"].size(), e.layout.size() - 1);
            for (size_t f = 1; f < e.layout.size(); ++f) {
                EXPECT_EQ(j["values"][f - 1]["text"], bin.records[k].texts[f])
                    << "record " << k << " field " << f;
                EXPECT_EQ(j["values"][f - 1]["title"], e.layout[f].title);
            }
        }

        // Extremes: channel 0 from the first value (the XV module's moisture), channel 1 from the second
        // with both channels; the "none" patterns otherwise.
        const size_t field0 = e.serial == 40218 ? 2 : 1;
        for (unsigned c = 0; c < 2; ++c) {
            const bool kept =
                e.serial == 40218 ? c == 0 : (c == 0 ? e.mask >= 1 && e.mask <= 3 : e.mask == 3);
            if (!kept) {
                EXPECT_EQ(bin.minimum[c], 0x7F7FFFFFu) << c;
                EXPECT_EQ(bin.maximum[c], 0x00800000u) << c;
                continue;
            }
            float lo = INFINITY;
            float hi = -INFINITY;
            for (const Record& rec : bin.records) {
                lo = std::min(lo, rec.floats[field0 + c]);
                hi = std::max(hi, rec.floats[field0 + c]);
            }
            EXPECT_EQ(F32(bin.minimum[c]), lo) << c;
            EXPECT_EQ(F32(bin.maximum[c]), hi) << c;
        }
    }

    // The values are those the scenario's signals produce, converted with each channel's scaling.
    const BinFile probe = ReadBinFile(ReadFileBytes(data / "31042.BinMeasData"), kTwoValue);
    const BinFile xv = ReadBinFile(ReadFileBytes(data / "40218.BinMeasData"), kXvTdc);
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_NEAR(probe.records[k].floats[1], 24.5, 3.0);
        EXPECT_NEAR(probe.records[k].floats[2], 18.0, 1.7);
        EXPECT_NEAR(xv.records[k].floats[2], 12.8, 1.6) << "moisture";
        EXPECT_NEAR(xv.records[k].floats[8], 0.842, 0.02) << "TDR level";
        EXPECT_NEAR(xv.records[k].floats[10], 17.5, 0.9) << "temperature";
        EXPECT_EQ(xv.records[k].texts[1], "2") << "active calibration";
        EXPECT_EQ(xv.records[k].texts[5], "26") << "n1";
        EXPECT_EQ(xv.records[k].texts[9], "15.000") << "c0";
        EXPECT_EQ(xv.records[k].texts[11], "1307");
        EXPECT_EQ(xv.records[k].texts[12], "2307");
    }

    // Reading them back through the store.
    const RunResult values = Cli({"--json", "values", "--serial", "31042", "--tail", "2"});
    ASSERT_EQ(values.exitCode, 0) << values.err;
    const nlohmann::json v = nlohmann::json::parse(values.out);
    EXPECT_EQ(v["count"], 3);
    EXPECT_EQ(v["from"], 1);
    ASSERT_EQ(v["records"].size(), 2u);
    EXPECT_EQ(v["records"][1]["values"][0]["text"], probe.records[2].texts[1]);

    // Rebuilding the ASCII file gives the same bytes; erasing removes both files.
    const std::string before31042 = ReadFileBytes(data / "31042.ASC");
    std::filesystem::remove(data / "31042.ASC");
    ASSERT_EQ(Cli({"recreate-ascii", "--all"}).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(data / "31042.ASC"), before31042);
    EXPECT_EQ(Cli({"erase", "--all"}).exitCode, 1) << "--all needs --yes";
    ASSERT_EQ(Cli({"erase", "--serial", "31042"}).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(data / "31042.BinMeasData"));
    EXPECT_FALSE(std::filesystem::exists(data / "31042.ASC"));
    EXPECT_TRUE(std::filesystem::exists(data / "31057.BinMeasData"));
}

TEST_F(CliMeasureTest, CtrlCEndsTheLoopAfterTheCurrentModuleWithWholeRecords) {
    // Values only on standard output; the first one has arrived when the process counts as started.
    BackgroundProcess cli(TERRIX_CLI_PATH,
                          {"--data-dir", data.path().string(), "--port", sim->firstLine(), "--json",
                           "--quiet", "measure", "--loop", "--rate", "0"},
                          120'000);
    ASSERT_TRUE(cli.running()) << "no value arrived from measure --loop";
    const nlohmann::json first = nlohmann::json::parse(cli.firstLine(), nullptr, false);
    ASSERT_FALSE(first.is_discarded()) << cli.firstLine();
    EXPECT_EQ(first["serial"], 31042);

    // Arrives while the first round fetches the next modules.
    ASSERT_TRUE(cli.Signal(SIGINT));
    const int status = cli.WaitExit(30'000);
    ASSERT_NE(status, -1) << "terrix-cli was still running 30 s after Ctrl+C";
    EXPECT_EQ(status, 130) << "a stop by Ctrl+C ends with 128 + SIGINT, as an interrupted scan does";

    size_t printed = 1;
    std::istringstream lines(cli.laterOutput());
    for (std::string line; std::getline(lines, line);) {
        ASSERT_FALSE(nlohmann::json::parse(line, nullptr, false).is_discarded()) << "a whole line: " << line;
        ++printed;
    }

    // Every file holds its header and whole records only, and the ASCII file one line per record.
    size_t stored = 0;
    for (const ModuleFiles& e : DefaultBusFiles()) {
        SCOPED_TRACE(e.serial);
        const std::string serial = std::to_string(e.serial);
        const std::string binary = ReadFileBytes(data / (serial + ".BinMeasData"));
        ASSERT_GE(binary.size(), 56u);
        EXPECT_EQ((binary.size() - 56) % SizeOf(e.layout), 0u) << "a partial record";
        const BinFile bin = ReadBinFile(binary, e.layout);
        stored += bin.records.size();

        const std::string ascii = ReadFileBytes(data / (serial + ".ASC"));
        ASSERT_EQ(ascii.substr(0, e.title.size()), e.title);
        const size_t valueLines = static_cast<size_t>(std::count(ascii.begin(), ascii.end(), '\n')) - 1;
        EXPECT_EQ(valueLines, bin.records.size());
        std::string expected = e.title;
        for (const Record& rec : bin.records) {
            expected += JoinLine(rec.texts);
        }
        EXPECT_EQ(ascii, expected) << "the ASCII lines are the binary records";
    }
    EXPECT_GE(stored, 1u);
    EXPECT_EQ(stored, printed) << "every value printed was stored, and nothing else";
}

} // namespace
} // namespace terrix::test
