#pragma once
// Helpers of the inventory tests: a private data directory per test, sample records, and views of a
// record, a bus list and a settings section that compare in one expression.

#include "core/inventory/bus_list.h"
#include "core/inventory/module_file.h"
#include "core/inventory/module_record.h"
#include "core/platform/data_paths.h"
#include "core/platform/ini_document.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace terrix::testing {

using test::ReadFileBytes;
using test::WriteFileBytes;
using Strings = std::vector<std::string>;
using Pairs = std::vector<std::pair<int, int>>;

// Points the data directory at a fresh temporary folder for the duration of one test.
class DataDirTest : public ::testing::Test {
protected:
    void SetUp() override { SetDataDir(dir_.path()); }

    const std::filesystem::path& Dir() const { return dir_.path(); }
    std::filesystem::path Settings() const { return SettingsFilePath(); }
    bool Exists(const std::string& name) const { return std::filesystem::exists(dir_ / name); }

private:
    test::TempDir dir_;
};

inline std::string FixturePath(const std::string& name) {
    return std::string(TERRIX_TEST_DATA_DIR) + "/inventory/" + name;
}

inline std::unique_ptr<ModuleRecord> MakeRecord(uint16_t serialNo, uint8_t station,
                                                ModuleState state = msIdentified,
                                                const char* name = "PX-TAVIK2") {
    auto record = std::make_unique<ModuleRecord>();
    record->enModuleState = state;
    record->iaStation = station;
    record->stationInfo.wSerialNo = serialNo;
    record->stationInfo.SetModuleName(name);
    return record;
}

inline std::unique_ptr<ModuleRecord> MakeCollision(uint8_t station) {
    return MakeRecord(kNoSerial, station, msCollision, "COLLISION");
}

// (serial, station) of every record, in list order.
inline Pairs SerialStations(const CBusList& list) {
    Pairs out;
    for (uint32_t i = 0; i < list.Count(); ++i) {
        out.emplace_back(list.GetAt(i)->SerialNo(), list.GetAt(i)->iaStation);
    }
    return out;
}

// A section of a profile file as "key=value" lines, in file order.
inline Strings SectionLines(const std::filesystem::path& file, std::string_view section) {
    const IniDocument doc = IniDocument::Load(file);
    Strings lines;
    for (const std::string& key : doc.KeyNames(section)) {
        lines.push_back(key + "=" + doc.Get(section, key).value_or("?"));
    }
    return lines;
}

// A record with every stored field set to a value of its own, all exactly representable with six decimals.
inline ModuleRecord FullRecord() {
    ModuleRecord r{.enModuleState = msIdentified,
                   .bDisabled = 1,
                   .iaStation = 17,
                   .bIsTavikButNotXV = 1,
                   .bHasTDCSupport = 1,
                   .stationInfo = {65534, 0x4312, 0xA5, 11, 96, 1000, 3, 65535},
                   .dwMeasTime = 4294967295u,
                   .dwNumberOfMeas0 = 99999,
                   .dwNumberOfMeas1 = 7,
                   .bHasAnalogCfg0 = 1,
                   .bHasAnalogCfg1 = 1,
                   .analogCfg0 = {0, 1, 3, 4, 5, 1, 7},
                   .analogCfg1 = {1, 255, 128, 0, 9, 0, 2},
                   .bHasSensorData = 1,
                   .sensorData0 = {-12.25f, 0.015625f, 25, -32768, 32767, 1},
                   .sensorData1 = {3.5f, -0.5f, 20, -100, 4000, 255},
                   .dwMeasChannels = 3};
    r.stationInfo.SetModuleName("PX-TAVIK2ZUZ");
    CopyToField(r.szUnit0, "%");
    CopyToField(r.szUnit1, "\xB0\x43"); // "°C"
    CopyToField(r.szLocation, "Field 3, row 2 = north [edge]");
    CopyToField(r.szComment, "first line\\nsecond line; with = and [brackets]");
    return r;
}

// A record as its module file shows it: every stored field with the value the file keeps. Sections whose
// flag is off are not written, so their fields do not count, as on reading.
inline std::string AsModuleFile(const ModuleRecord& r) {
    const test::TempDir dir;
    EXPECT_TRUE(WriteModuleFileTo(dir / "record.ini", r));
    return ReadFileBytes(dir / "record.ini");
}

} // namespace terrix::testing
