#pragma once
// Helpers of the inventory tests: a private data directory per test, sample records, and a field-by-field
// view of a record for comparisons.

#include "core/inventory/module_record.h"
#include "core/platform/data_paths.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <type_traits>
#include <unistd.h>
#include <utility>
#include <vector>

namespace terrix::testing {

using test::ReadFileBytes;
using test::WriteFileBytes;

// Points the data directory at a fresh temporary folder for the duration of one test.
class DataDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Memory-backed when the system has it: the tests write many small files and sync each one.
        std::error_code ec;
        const std::filesystem::path base =
            memoryBacked_ && std::filesystem::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0
                ? std::filesystem::path("/dev/shm")
                : std::filesystem::temp_directory_path();
        std::string pattern = (base / "terrix-inventory-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        SetDataDir(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    const std::filesystem::path& Dir() const { return dir_; }
    std::filesystem::path Settings() const { return SettingsFilePath(); }

    // A test that needs writes to take real time (to interrupt them) asks for the disk.
    bool memoryBacked_ = true;

private:
    std::filesystem::path dir_;
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
    CopyToField(r.szUnit1, "\xB0"
                           "C");
    CopyToField(r.szLocation, "Field 3, row 2 = north [edge]");
    CopyToField(r.szComment, "first line\\nsecond line; with = and [brackets]");
    return r;
}

// Every field of a record as (expression, value), in declared order.
inline std::vector<std::pair<std::string, std::string>> Fields(const ModuleRecord& r) {
    std::vector<std::pair<std::string, std::string>> f;
    const auto add = [&](const char* name, auto value) {
        if constexpr (std::is_convertible_v<decltype(value), std::string>) {
            f.emplace_back(name, value);
        } else {
            f.emplace_back(name, std::to_string(value));
        }
    };
#define TERRIX_FIELD(expr) add(#expr, expr)
    const StationInfo& s = r.stationInfo;
    TERRIX_FIELD(static_cast<int>(r.enModuleState)), TERRIX_FIELD(r.bDisabled), TERRIX_FIELD(r.wLastError);
    TERRIX_FIELD(r.iaStation), TERRIX_FIELD(r.bIsTavikButNotXV), TERRIX_FIELD(r.bIsTavikXV);
    TERRIX_FIELD(r.bHasTDCSupport), TERRIX_FIELD(s.wSerialNo), TERRIX_FIELD(s.wFirmwareVersion);
    TERRIX_FIELD(s.yFlag), TERRIX_FIELD(s.yModuleId), TERRIX_FIELD(s.wStartupBaud), TERRIX_FIELD(s.wTimeOut);
    TERRIX_FIELD(s.wDelayTime), TERRIX_FIELD(s.wReponseTime), TERRIX_FIELD(s.yModuleNameLen);
    TERRIX_FIELD(s.ModuleName()), TERRIX_FIELD(r.dwMeasTime), TERRIX_FIELD(r.dwNumberOfMeas0);
    TERRIX_FIELD(r.dwNumberOfMeas1), TERRIX_FIELD(r.bHasAnalogCfg0), TERRIX_FIELD(r.bHasAnalogCfg1);
    for (const AnalogCfg& a : {r.analogCfg0, r.analogCfg1}) {
        TERRIX_FIELD(a.yChannel), TERRIX_FIELD(a.yZeroFiller1), TERRIX_FIELD(a.yRawVofsVd);
        TERRIX_FIELD(a.yNofsLow), TERRIX_FIELD(a.yNofsHigh), TERRIX_FIELD(a.yHasLinearisation);
        TERRIX_FIELD(a.yZeroFiller2);
    }
    TERRIX_FIELD(r.bHasSensorData);
    for (const SensorData& d : {r.sensorData0, r.sensorData1}) {
        TERRIX_FIELD(d.fZeroOffset), TERRIX_FIELD(d.fResolution), TERRIX_FIELD(d.yUnitCode);
        TERRIX_FIELD(d.nLSBMin), TERRIX_FIELD(d.nLSBMax), TERRIX_FIELD(d.yStatus);
    }
    TERRIX_FIELD(FieldText(r.szUnit0)), TERRIX_FIELD(FieldText(r.szUnit1));
    TERRIX_FIELD(FieldText(r.szLocation)), TERRIX_FIELD(FieldText(r.szComment)),
        TERRIX_FIELD(r.dwMeasChannels);
#undef TERRIX_FIELD
    return f;
}

} // namespace terrix::testing
