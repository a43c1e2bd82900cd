// terrix-cli measure against terrix-sim over a pseudo-terminal, with the measurement files checked byte by
// byte against a reading of their format written here from scratch.

#include "sim_cli.h"

#include <cmath>
#include <csignal>
#include <cstring>
#include <ctime>
#include <regex>

namespace terrix::test {
namespace {

// ---- the file formats, read independently ---------------------------------------------------------------

uint16_t U16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b.at(at)) | static_cast<uint8_t>(b.at(at + 1)) << 8);
}
uint32_t U32(const std::string& b, size_t at) {
    return U16(b, at) | static_cast<uint32_t>(U16(b, at + 2)) << 16;
}
float F32(uint32_t bits) {
    float f = 0;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// Day (5 bits), month (4), year - 1970 (6), hour (5), minute (6), second (6), least significant first.
std::tm StampFields(uint32_t s) {
    std::tm tm{};
    tm.tm_mday = static_cast<int>(s & 31);
    tm.tm_mon = static_cast<int>((s >> 5) & 15) - 1;
    tm.tm_year = static_cast<int>(70 + ((s >> 9) & 63));
    tm.tm_hour = static_cast<int>((s >> 15) & 31);
    tm.tm_min = static_cast<int>((s >> 20) & 63);
    tm.tm_sec = static_cast<int>((s >> 26) & 63);
    tm.tm_isdst = -1;
    return tm;
}
std::string StampText(uint32_t s) {
    std::tm tm = StampFields(s);
    char text[32];
    std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &tm);
    return text;
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

enum Kind { kStamp, kByte, kWord, kFloat };
struct FieldFormat {
    Kind kind;
    const char* format;
    const char* title;
};
const std::vector<FieldFormat> kTwoValue = {
    {kStamp, "", "Date/Time"}, {kFloat, "%.3f", "Value 1"}, {kFloat, "%.3f", "Value 2"}};
const std::vector<FieldFormat> kXvTdc = {
    {kStamp, "", "Date/Time"},  {kByte, "%u", "Density"},        {kFloat, "%.1f", "Moisture [%]"},
    {kFloat, "%.3f", "StdDev"}, {kFloat, "%.1f", "Error [%]"},   {kWord, "%u", "n1"},
    {kWord, "%u", "n2"},        {kWord, "%u", "Delta n"},        {kFloat, "%.3f", "TDR Level"},
    {kFloat, "%.3f", "c0"},     {kFloat, "%.1f", "Temperature"}, {kWord, "%u", "MatID"},
    {kWord, "%u", "TempID"}};

struct Record {
    std::vector<uint32_t> raw; // per field, as stored
    std::vector<std::string> texts;
    float Float(size_t field) const { return F32(raw.at(field)); }
};

size_t WidthOf(Kind kind) {
    return kind == kByte ? 1 : kind == kWord ? 2 : 4;
}
size_t SizeOf(const std::vector<FieldFormat>& layout) {
    size_t n = 0;
    for (const FieldFormat& f : layout) {
        n += WidthOf(f.kind);
    }
    return n;
}

Record ParseRecord(const std::string& b, size_t at, const std::vector<FieldFormat>& layout) {
    Record r;
    for (const FieldFormat& f : layout) {
        const size_t width = WidthOf(f.kind);
        r.raw.push_back(width == 1 ? static_cast<uint8_t>(b.at(at)) : width == 2 ? U16(b, at) : U32(b, at));
        r.texts.push_back(f.kind == kStamp   ? StampText(r.raw.back())
                          : f.kind == kFloat ? FloatText(r.raw.back(), f.format)
                                             : std::to_string(r.raw.back()));
        at += width;
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
    if (b.size() < kMeasHeaderSize) {
        ADD_FAILURE() << "a header cut short: " << b.size() << " bytes";
        return f;
    }
    EXPECT_EQ(b.substr(0, 16), std::string("ORVAmdfh1.01\x38\0\0\0", 16)) << "magic, version, header size 56";
    f.serial = U16(b, 16);
    const std::string nameField = b.substr(18, 18); // the name, its zero end and the padding
    f.name = nameField.substr(0, nameField.find('\0'));
    EXPECT_LE(f.name.size(), 15u);
    EXPECT_EQ(nameField, f.name + std::string(18 - f.name.size(), '\0')) << "name tail and padding are zero";
    f.mask = U32(b, 36);
    for (size_t c = 0; c < 2; ++c) {
        f.minimum[c] = U32(b, 40 + 4 * c);
        f.maximum[c] = U32(b, 48 + 4 * c);
    }
    const size_t size = SizeOf(layout);
    EXPECT_EQ((b.size() - kMeasHeaderSize) % size, 0u) << "no partial record";
    for (size_t at = kMeasHeaderSize; at + size <= b.size(); at += size) {
        f.records.push_back(ParseRecord(b, at, layout));
    }
    return f;
}

// The ASCII file of a binary one: the title line and the records' texts, nothing else.
std::string AsciiOf(const std::string& title, const BinFile& bin) {
    std::string text = title;
    for (const Record& rec : bin.records) {
        for (size_t i = 0; i < rec.texts.size(); ++i) {
            text += rec.texts[i] + (i + 1 < rec.texts.size() ? "\t" : "\r\n");
        }
    }
    return text;
}

// The measurement files of the default scenario's modules: layout, header values and the ASCII title line.
struct ModuleFiles {
    int serial;
    const char* name;
    const std::vector<FieldFormat>& layout;
    uint32_t mask;
    std::string title;
};
const std::vector<ModuleFiles> kDefaultBusFiles = {
    {31042, "PX-TAVIK2", kTwoValue, 3, "Date/Time\t31042_1\t31042_2\n"},
    {31057, "PX-TAVIK2", kTwoValue, 3, "Date/Time\t31057_1\t31057_2\n"},
    {40218, "PX-TAVIK2XV", kXvTdc, 1,
     "Date/Time\tDensity\tMoisture [%]\tStdDev\tError [%]\tn1\tn2\tDelta n\tTDR "
     "Level\tc0\tTemperature\tMatID\t"
     "TempID\r\n"},
    {20513, "PX-ROV4", kTwoValue, 0, "Date/Time\n"}};

// ---- the tests -------------------------------------------------------------------------------------------

class CliMeasureTest : public SimCliTest {
protected:
    void SetUp() override {
        // The built-in bus, with the probes averaging one measurement instead of three and five: the rounds
        // then follow each other after 3 s (the probes' conversion time) instead of 8 s.
        std::string scenario = ReadFileBytes(std::string(TERRIX_SOURCE_DIR) + "/sim/scenarios/default.json");
        scenario = std::regex_replace(scenario, std::regex(R"("count": [35],)"), R"("count": 1,)");
        // 31057 measures a frost: its temperatures are all below zero, so both of its extremes are negative.
        const std::string warm = R"("base": 15.5, "amplitude": 2.0)";
        scenario.replace(scenario.find(warm), warm.size(), R"("base": -18.45, "amplitude": 0.05)");
        WriteFileBytes(data / "scenario.json", scenario);
        StartSim({"--scenario", (data / "scenario.json").string()});
        SaveBus(kSavedBus, {31042, 31057, 40218, 20513});
        quiet = false;
    }
    BinFile Bin(const ModuleFiles& e) const {
        return ReadBinFile(ReadFileBytes(data / (std::to_string(e.serial) + ".BinMeasData")), e.layout);
    }
    // One JSON value per line.
    static std::vector<nlohmann::json> JsonLines(const std::string& text) {
        std::vector<nlohmann::json> values;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            values.push_back(Json(line));
        }
        return values;
    }
    std::string Ascii(const ModuleFiles& e) const {
        return ReadFileBytes(data / (std::to_string(e.serial) + ".ASC"));
    }
};

TEST_F(CliMeasureTest, ThreeRoundsWriteBinaryAndAsciiFilesOfTheFormat) {
    // A fifth saved module, at a station where nobody answers: named at the start, then left out.
    SaveBus(std::regex_replace(kSavedBus, std::regex("Modules=4"), "Modules=5") + "Module4=31099,9\r\n",
            {31099});
    const std::time_t before = std::time(nullptr);
    const RunResult r = Cli(Words("--json measure --rounds 3 --rate 0"));
    const std::time_t after = std::time(nullptr);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("3 round(s), 12 value(s)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("module 31099 at station 9 does not answer; it is not measured until it does, and "
                         "is asked again every 10 minutes"),
              std::string::npos)
        << r.err;
    EXPECT_LE(ReadFileBytes(data / "31099.BinMeasData").size(), kMeasHeaderSize)
        << "no error markers for a module that is away";
    SaveBus(kSavedBus); // the commands below work on the four modules

    // One JSON line per value as it arrived: every module once per round, in bus-list order.
    std::map<int, std::vector<nlohmann::json>> printed;
    std::vector<int> order;
    for (nlohmann::json& j : JsonLines(r.out)) {
        order.push_back(j.value("serial", 0));
        printed[order.back()].push_back(j);
    }
    ASSERT_EQ(order, (std::vector<int>{31042, 31057, 40218, 20513, 31042, 31057, 40218, 20513, 31042, 31057,
                                       40218, 20513}));

    std::map<int, BinFile> bins;
    for (const ModuleFiles& e : kDefaultBusFiles) {
        SCOPED_TRACE(e.serial);
        const BinFile& bin = bins[e.serial] = Bin(e);
        EXPECT_EQ(std::tie(bin.serial, bin.name, bin.mask),
                  std::make_tuple(static_cast<uint16_t>(e.serial), std::string(e.name), e.mask));
        ASSERT_EQ(bin.records.size(), 3u);
        EXPECT_EQ(Ascii(e), AsciiOf(e.title, bin));
        for (const Record& rec : bin.records) {
            std::tm local = StampFields(rec.raw[0]);
            const std::time_t when = std::mktime(&local);
            EXPECT_TRUE(when >= before - 1 && when <= after + 1)
                << "stamped in local time, now: " << rec.texts[0];
        }

        // The printed values are the stored ones.
        for (size_t k = 0; k < 3; ++k) {
            nlohmann::json& j = printed[e.serial][k];
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
            float lo = INFINITY;
            float hi = -INFINITY;
            for (const Record& rec : bin.records) {
                lo = std::min(lo, rec.Float(field0 + c));
                hi = std::max(hi, rec.Float(field0 + c));
            }
            EXPECT_EQ(std::pair(F32(bin.minimum[c]), F32(bin.maximum[c])),
                      kept ? std::pair(lo, hi) : std::pair(F32(0x7F7FFFFFu), F32(0x00800000u)))
                << "channel " << c;
        }
    }

    // The values are those the scenario's signals produce, converted with each channel's scaling.
    for (size_t k = 0; k < 3; ++k) {
        const Record& probe = bins[31042].records[k];
        const Record& xv = bins[40218].records[k];
        EXPECT_NEAR(probe.Float(1), 24.5, 3.0);
        EXPECT_NEAR(probe.Float(2), 18.0, 1.7);
        EXPECT_NEAR(xv.Float(2), 12.8, 1.6) << "moisture";
        EXPECT_NEAR(xv.Float(8), 0.842, 0.02) << "TDR level";
        EXPECT_NEAR(xv.Float(10), 17.5, 0.9) << "temperature";
        EXPECT_EQ(
            (std::vector<std::string>{xv.texts[1], xv.texts[5], xv.texts[9], xv.texts[11], xv.texts[12]}),
            (std::vector<std::string>{"2", "26", "15.000", "1307", "2307"}))
            << "active calibration, n1, c0, MatID, TempID";
    }

    // Reading them back through the store.
    nlohmann::json v = CliJson(Words("values --serial 31042 --tail 2"));
    EXPECT_EQ(nlohmann::json::array({v["count"], v["from"], v["records"].size()}),
              nlohmann::json::array({3, 1, 2}))
        << "count, from, records";
    EXPECT_EQ(v["records"][1]["values"][0]["text"], bins[31042].records[2].texts[1]);

    // Rebuilding the ASCII file gives the same bytes; erasing removes both files.
    const std::string ascii = Ascii(kDefaultBusFiles[0]);
    std::filesystem::remove(data / "31042.ASC");
    ASSERT_TRUE(CliOk(Words("recreate-ascii --all")));
    EXPECT_EQ(Ascii(kDefaultBusFiles[0]), ascii);
    for (const char* unconfirmed : {"erase --all", "erase --serial 31042"}) {
        EXPECT_EQ(Cli(Words(unconfirmed)).exitCode, 1) << unconfirmed << " needs --yes";
    }
    EXPECT_TRUE(std::filesystem::exists(data / "31042.BinMeasData")) << "kept without --yes";
    ASSERT_TRUE(CliOk(Words("erase --serial 31042 --yes")));
    EXPECT_FALSE(std::filesystem::exists(data / "31042.BinMeasData"));
    EXPECT_FALSE(std::filesystem::exists(data / "31042.ASC"));
    EXPECT_TRUE(std::filesystem::exists(data / "31057.BinMeasData"));
}

TEST_F(CliMeasureTest, CtrlCEndsTheLoopAfterTheCurrentModuleWithWholeRecords) {
    // Values only on standard output; the first one has arrived when the process counts as started.
    BackgroundProcess cli(TERRIX_CLI_PATH, Args(Words("--json --quiet measure --loop --rate 0")), 120'000);
    ASSERT_TRUE(cli.running()) << "no value arrived from measure --loop";
    EXPECT_EQ(Json(cli.firstLine())["serial"], 31042);

    // Arrives while the first round fetches the next modules.
    ASSERT_TRUE(cli.Signal(SIGINT));
    EXPECT_EQ(cli.WaitExit(30'000), 130) << "a stop by Ctrl+C ends with 128 + SIGINT, as an interrupted scan "
                                            "does (-1: still running after 30 s)";

    // Every value printed was stored, and nothing else: each file holds its header and whole records, and the
    // ASCII file their lines.
    size_t stored = 0;
    for (const ModuleFiles& e : kDefaultBusFiles) {
        SCOPED_TRACE(e.serial);
        const BinFile bin = Bin(e);
        stored += bin.records.size();
        EXPECT_EQ(Ascii(e), AsciiOf(e.title, bin));
    }
    EXPECT_EQ(stored, 1 + JsonLines(cli.laterOutput()).size());
}

} // namespace
} // namespace terrix::test
