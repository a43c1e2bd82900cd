#pragma once
// Helpers of the inventory tests: a private data directory per test, sample records, and a field-by-field
// view of a record for comparisons.

#include "core/inventory/module_record.h"
#include "core/platform/data_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace terrix::testing {

// Points the data directory at a fresh temporary folder for the duration of one test.
class DataDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "terrix-inventory-XXXXXX").string();
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

private:
    std::filesystem::path dir_;
};

inline std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

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
    auto record = MakeRecord(kNoSerial, station, msCollision, "COLLISION");
    return record;
}

// A record with every stored field set to a value of its own, all exactly representable with six decimals.
inline ModuleRecord FullRecord() {
    ModuleRecord r;
    r.enModuleState = msIdentified;
    r.bDisabled = 1;
    r.iaStation = 17;
    r.bIsTavikButNotXV = 1;
    r.bHasTDCSupport = 1;
    r.dwMeasTime = 4294967295u;
    r.dwNumberOfMeas0 = 99999;
    r.dwNumberOfMeas1 = 7;
    r.bHasAnalogCfg0 = 1;
    r.bHasAnalogCfg1 = 1;
    r.bHasSensorData = 1;
    r.stationInfo.wSerialNo = 65534;
    r.stationInfo.wFirmwareVersion = 0x4312;
    r.stationInfo.yFlag = 0xA5;
    r.stationInfo.yModuleId = 11;
    r.stationInfo.wStartupBaud = 96;
    r.stationInfo.wTimeOut = 1000;
    r.stationInfo.wDelayTime = 3;
    r.stationInfo.wReponseTime = 65535;
    r.stationInfo.SetModuleName("PX-TAVIK2ZUZ");
    r.analogCfg0 = AnalogCfg{0, 1, 3, 4, 5, 1, 7};
    r.analogCfg1 = AnalogCfg{1, 255, 128, 0, 9, 0, 2};
    r.sensorData0 = SensorData{-12.25f, 0.015625f, 25, -32768, 32767, 1};
    r.sensorData1 = SensorData{3.5f, -0.5f, 20, -100, 4000, 255};
    CopyToField(r.szUnit0, "%");
    CopyToField(r.szUnit1, "\xB0"
                           "C");
    CopyToField(r.szLocation, "Field 3, row 2 = north [edge]");
    CopyToField(r.szComment, "first line\\nsecond line; with = and [brackets]");
    r.dwMeasChannels = 3;
    return r;
}

// Every field of a record as "name=value", in declared order.
inline std::vector<std::pair<std::string, std::string>> Fields(const ModuleRecord& r) {
    std::vector<std::pair<std::string, std::string>> f;
    auto add = [&](const char* name, auto value) { f.emplace_back(name, std::to_string(value)); };
    auto addText = [&](const char* name, const std::string& value) { f.emplace_back(name, value); };
    add("enModuleState", static_cast<int>(r.enModuleState));
    add("bDisabled", r.bDisabled);
    add("wLastError", r.wLastError);
    add("iaStation", r.iaStation);
    add("bIsTavikButNotXV", r.bIsTavikButNotXV);
    add("bIsTavikXV", r.bIsTavikXV);
    add("bHasTDCSupport", r.bHasTDCSupport);
    add("wSerialNo", r.stationInfo.wSerialNo);
    add("wFirmwareVersion", r.stationInfo.wFirmwareVersion);
    add("yFlag", r.stationInfo.yFlag);
    add("yModuleId", r.stationInfo.yModuleId);
    add("wStartupBaud", r.stationInfo.wStartupBaud);
    add("wTimeOut", r.stationInfo.wTimeOut);
    add("wDelayTime", r.stationInfo.wDelayTime);
    add("wReponseTime", r.stationInfo.wReponseTime);
    add("yModuleNameLen", r.stationInfo.yModuleNameLen);
    addText("acModuleName", r.stationInfo.ModuleName());
    add("dwMeasTime", r.dwMeasTime);
    add("dwNumberOfMeas0", r.dwNumberOfMeas0);
    add("dwNumberOfMeas1", r.dwNumberOfMeas1);
    add("bHasAnalogCfg0", r.bHasAnalogCfg0);
    add("bHasAnalogCfg1", r.bHasAnalogCfg1);
    const AnalogCfg* cfgs[] = {&r.analogCfg0, &r.analogCfg1};
    for (const AnalogCfg* a : cfgs) {
        uint8_t bytes[7];
        a->ToBytes(bytes);
        for (uint8_t b : bytes) {
            add("analogCfg", b);
        }
    }
    add("bHasSensorData", r.bHasSensorData);
    const SensorData* sensors[] = {&r.sensorData0, &r.sensorData1};
    for (const SensorData* s : sensors) {
        add("fZeroOffset", s->fZeroOffset);
        add("fResolution", s->fResolution);
        add("yUnitCode", s->yUnitCode);
        add("nLSBMin", s->nLSBMin);
        add("nLSBMax", s->nLSBMax);
        add("yStatus", s->yStatus);
    }
    addText("szUnit0", FieldText(r.szUnit0));
    addText("szUnit1", FieldText(r.szUnit1));
    addText("szLocation", FieldText(r.szLocation));
    addText("szComment", FieldText(r.szComment));
    add("dwMeasChannels", r.dwMeasChannels);
    return f;
}

} // namespace terrix::testing
