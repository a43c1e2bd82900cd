#include "cli/module_output.h"

#include "core/inventory/record_values.h"
#include "core/inventory/stored_text.h"

#include <cstdio>

namespace terrix::cli {

const char* ModuleStateName(ModuleState state) {
    switch (state) {
    case msNotIdentified: return "not identified";
    case msIdentified: return "identified";
    case msCollision: return "collision";
    case msFailed: return "failed";
    }
    return "unknown";
}

namespace {

nlohmann::json AnalogCfgJson(const AnalogCfg& c) {
    return {{"yChannel", c.yChannel},         {"yZeroFiller1", c.yZeroFiller1},
            {"yRawVofsVd", c.yRawVofsVd},     {"yNofsLow", c.yNofsLow},
            {"yNofsHigh", c.yNofsHigh},       {"yHasLinearisation", c.yHasLinearisation},
            {"yZeroFiller2", c.yZeroFiller2}};
}

nlohmann::json SensorDataJson(const SensorData& s) {
    return {{"fZeroOffset", s.fZeroOffset}, {"fResolution", s.fResolution}, {"yUnitCode", s.yUnitCode},
            {"nLSBMin", s.nLSBMin},         {"nLSBMax", s.nLSBMax},         {"yStatus", s.yStatus}};
}

// Stored texts are Windows-1252; JSON wants UTF-8.
std::string Text(const std::string& stored) { return Cp1252ToUtf8(stored); }

} // namespace

nlohmann::json ModuleToJson(const ModuleRecord& r) {
    const StationInfo& si = r.stationInfo;
    nlohmann::json j;
    j["enModuleState"] = static_cast<int>(r.enModuleState);
    j["state"] = ModuleStateName(r.enModuleState);
    j["bDisabled"] = r.bDisabled;
    j["wLastError"] = r.wLastError;
    j["iaStation"] = r.iaStation;
    j["bIsTavikButNotXV"] = r.bIsTavikButNotXV;
    j["bIsTavikXV"] = r.bIsTavikXV;
    j["bHasTDCSupport"] = r.bHasTDCSupport;
    j["StationInfo"] = {{"wSerialNo", si.wSerialNo},
                        {"wFirmwareVersion", si.wFirmwareVersion},
                        {"firmware", FirmwareText(si.wFirmwareVersion)},
                        {"yFlag", si.yFlag},
                        {"yModuleId", si.yModuleId},
                        {"wStartupBaud", si.wStartupBaud},
                        {"wTimeOut", si.wTimeOut},
                        {"wDelayTime", si.wDelayTime},
                        {"wReponseTime", si.wReponseTime},
                        {"yModuleNameLen", si.yModuleNameLen},
                        {"acModuleName", Text(si.ModuleName())}};
    j["dwMeasTime"] = r.dwMeasTime;
    j["dwNumberOfMeas0"] = r.dwNumberOfMeas0;
    j["dwNumberOfMeas1"] = r.dwNumberOfMeas1;
    j["bHasAnalogCfg0"] = r.bHasAnalogCfg0;
    j["bHasAnalogCfg1"] = r.bHasAnalogCfg1;
    j["AnalogCfg0"] = AnalogCfgJson(r.analogCfg0);
    j["AnalogCfg1"] = AnalogCfgJson(r.analogCfg1);
    j["bHasSensorData"] = r.bHasSensorData;
    j["SensorData0"] = SensorDataJson(r.sensorData0);
    j["SensorData1"] = SensorDataJson(r.sensorData1);
    j["szUnit0"] = Text(FieldText(r.szUnit0));
    j["szUnit1"] = Text(FieldText(r.szUnit1));
    j["szLocation"] = Text(FieldText(r.szLocation));
    j["szComment"] = Text(DecodeLineBreaks(FieldText(r.szComment)));
    j["dwMeasChannels"] = r.dwMeasChannels;
    j["conversionTimeMs"] = ConversionTimeMs(&r);
    j["conversionTimeSec"] = ConversionTimeSec(&r);
    return j;
}

nlohmann::json BusListToJson(const CBusList& list) {
    nlohmann::json modules = nlohmann::json::array();
    for (uint32_t i = 0; i < list.Count(); ++i) {
        modules.push_back(ModuleToJson(*list.GetAt(i)));
    }
    return {{"modules", modules}, {"count", list.Count()}, {"collisions", list.CollisionCount()}};
}

void PrintModuleTable(std::ostream& out, const CBusList& list) {
    char line[512];
    std::snprintf(line, sizeof line, "%-7s %-6s %-14s %-15s %-10s %-8s %-11s %-9s %-12s %s", "Station", "Serial",
                  "Module", "State", "Firmware", "Channels", "Conversions", "Time [s]", "Units", "Place");
    out << line << '\n';
    for (uint32_t i = 0; i < list.Count(); ++i) {
        const ModuleRecord& r = *list.GetAt(i);
        const std::string units = Text(FieldText(r.szUnit0)) + (r.dwMeasChannels & 2 ? "/" + Text(FieldText(r.szUnit1)) : "");
        const std::string serial = r.SerialNo() == kNoSerial ? "-" : std::to_string(r.SerialNo());
        std::snprintf(line, sizeof line, "%-7u %-6s %-14s %-15s %-10s %-8u %-11u %-9u %-12s %s", r.iaStation,
                      serial.c_str(), Text(r.ModuleName()).c_str(),
                      (std::string(ModuleStateName(r.enModuleState)) + (r.bDisabled ? ", off" : "")).c_str(),
                      FirmwareText(r.stationInfo.wFirmwareVersion).c_str(), r.dwMeasChannels, r.dwNumberOfMeas0,
                      ConversionTimeSec(&r), units.c_str(), Text(FieldText(r.szLocation)).c_str());
        out << line << '\n';
    }
    out << list.Count() << " module(s), " << list.CollisionCount() << " collision(s)\n";
}

} // namespace terrix::cli
