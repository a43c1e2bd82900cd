#include "core/inventory/module_file.h"

#include "core/inventory/record_values.h"
#include "core/inventory/stored_text.h"
#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"

#include <string>
#include <system_error>

namespace terrix {

namespace {

constexpr size_t kCommentChars = 510;

void WriteModuleInfo(CIniSection& ini, const ModuleRecord& r) {
    ini.SetSection("ModuleInfo");
    ini.WriteInt("bDisabled", r.bDisabled);
    ini.WriteInt("enModuleState", r.enModuleState);
    ini.WriteByte("iaStation", r.iaStation);
    ini.WriteInt("bIsTavikButNotXV", r.bIsTavikButNotXV);
    ini.WriteInt("bIsTavikXV", r.bIsTavikXV);
    ini.WriteInt("bHasTDCSupport", r.bHasTDCSupport);
    ini.WriteDWord("dwMeasTime", r.dwMeasTime);
    ini.WriteDWord("dwNumberOfMeas0", r.dwNumberOfMeas0);
    ini.WriteDWord("dwNumberOfMeas1", r.dwNumberOfMeas1);
    ini.WriteString("szUnit0", FieldText(r.szUnit0));
    ini.WriteString("szUnit1", FieldText(r.szUnit1));
    ini.WriteInt("bHasAnalogCfg0", r.bHasAnalogCfg0);
    ini.WriteInt("bHasAnalogCfg1", r.bHasAnalogCfg1);
    ini.WriteInt("bHasSensorData", r.bHasSensorData);
}

void ReadModuleInfo(CIniSection& ini, ModuleRecord& r) {
    ini.SetSection("ModuleInfo");
    r.bDisabled = ini.ReadInt("bDisabled", r.bDisabled);
    // enModuleState stays as it is: a record read from a file has not been identified.
    r.iaStation = ini.ReadByte("iaStation", r.iaStation);
    r.bIsTavikButNotXV = ini.ReadInt("bIsTavikButNotXV", r.bIsTavikButNotXV);
    r.bIsTavikXV = ini.ReadInt("bIsTavikXV", r.bIsTavikXV);
    r.bHasTDCSupport = ini.ReadInt("bHasTDCSupport", r.bHasTDCSupport);
    r.dwMeasTime = ini.ReadDWord("dwMeasTime", r.dwMeasTime);
    r.dwNumberOfMeas0 = ini.ReadDWord("dwNumberOfMeas0", r.dwNumberOfMeas0);
    r.dwNumberOfMeas1 = ini.ReadDWord("dwNumberOfMeas1", r.dwNumberOfMeas1);
    CopyToField(r.szUnit0, ini.ReadString("szUnit0", FieldText(r.szUnit0)));
    CopyToField(r.szUnit1, ini.ReadString("szUnit1", FieldText(r.szUnit1)));
    r.bHasAnalogCfg0 = ini.ReadInt("bHasAnalogCfg0", r.bHasAnalogCfg0);
    r.bHasAnalogCfg1 = ini.ReadInt("bHasAnalogCfg1", r.bHasAnalogCfg1);
    r.bHasSensorData = ini.ReadInt("bHasSensorData", r.bHasSensorData);
}

void WriteStationInfo(CIniSection& ini, const StationInfo& s) {
    ini.SetSection("StationInfo");
    ini.WriteWord("wSerialNo", s.wSerialNo);
    ini.WriteWord("wFirmwareVersion", s.wFirmwareVersion);
    ini.WriteByte("yFlag", s.yFlag);
    ini.WriteByte("yModuleId", s.yModuleId);
    ini.WriteWord("wStartupBaud", s.wStartupBaud);
    ini.WriteWord("wTimeOut", s.wTimeOut);
    ini.WriteWord("wDelayTime", s.wDelayTime);
    ini.WriteWord("wReponseTime", s.wReponseTime);
    ini.WriteString("acModuleName", s.ModuleName());
}

void ReadStationInfo(CIniSection& ini, StationInfo& s) {
    ini.SetSection("StationInfo");
    s.wSerialNo = ini.ReadWord("wSerialNo", s.wSerialNo);
    s.wFirmwareVersion = ini.ReadWord("wFirmwareVersion", s.wFirmwareVersion);
    s.yFlag = ini.ReadByte("yFlag", s.yFlag);
    s.yModuleId = ini.ReadByte("yModuleId", s.yModuleId);
    s.wStartupBaud = ini.ReadWord("wStartupBaud", s.wStartupBaud);
    s.wTimeOut = ini.ReadWord("wTimeOut", s.wTimeOut);
    s.wDelayTime = ini.ReadWord("wDelayTime", s.wDelayTime);
    s.wReponseTime = ini.ReadWord("wReponseTime", s.wReponseTime);
    // Cut to the field; yModuleNameLen follows the name actually kept.
    s.SetModuleName(ini.ReadString("acModuleName", s.ModuleName()));
}

void WriteAnalogCfg(CIniSection& ini, const char* section, const AnalogCfg& a) {
    ini.SetSection(section);
    ini.WriteByte("yChannel", a.yChannel);
    ini.WriteByte("yZeroFiller1", a.yZeroFiller1);
    ini.WriteByte("yRawVofsVd", a.yRawVofsVd);
    ini.WriteByte("yNofsLow", a.yNofsLow);
    ini.WriteByte("yNofsHigh", a.yNofsHigh);
    ini.WriteByte("yHasLinearisation", a.yHasLinearisation);
    ini.WriteByte("yZeroFiller2", a.yZeroFiller2);
}

void ReadAnalogCfg(CIniSection& ini, const char* section, AnalogCfg& a) {
    ini.SetSection(section);
    a.yChannel = ini.ReadByte("yChannel", a.yChannel);
    a.yZeroFiller1 = ini.ReadByte("yZeroFiller1", a.yZeroFiller1);
    a.yRawVofsVd = ini.ReadByte("yRawVofsVd", a.yRawVofsVd);
    a.yNofsLow = ini.ReadByte("yNofsLow", a.yNofsLow);
    a.yNofsHigh = ini.ReadByte("yNofsHigh", a.yNofsHigh);
    a.yHasLinearisation = ini.ReadByte("yHasLinearisation", a.yHasLinearisation);
    a.yZeroFiller2 = ini.ReadByte("yZeroFiller2", a.yZeroFiller2);
}

void WriteSensorData(CIniSection& ini, const char* section, const SensorData& d) {
    ini.SetSection(section);
    ini.WriteFloat("fZeroOffset", d.fZeroOffset);
    ini.WriteFloat("fResolution", d.fResolution);
    ini.WriteByte("yUnitCode", d.yUnitCode);
    ini.WriteShort("nLSBMin", d.nLSBMin);
    ini.WriteShort("nLSBMax", d.nLSBMax);
    ini.WriteByte("yStatus", d.yStatus);
}

void ReadSensorData(CIniSection& ini, const char* section, SensorData& d) {
    ini.SetSection(section);
    d.fZeroOffset = ini.ReadFloat("fZeroOffset", d.fZeroOffset);
    d.fResolution = ini.ReadFloat("fResolution", d.fResolution);
    d.yUnitCode = ini.ReadByte("yUnitCode", d.yUnitCode);
    d.nLSBMin = ini.ReadShort("nLSBMin", d.nLSBMin);
    d.nLSBMax = ini.ReadShort("nLSBMax", d.nLSBMax);
    d.yStatus = ini.ReadByte("yStatus", d.yStatus);
}

void WriteUserInfo(CIniSection& ini, const ModuleRecord& r) {
    ini.SetSection("UserInfo");
    ini.WriteString("szLocation", FieldText(r.szLocation));
    // A line break left in the text would end the value early; it is kept in the stored form instead.
    std::string comment = EncodeLineBreaks(FieldText(r.szComment));
    if (comment.size() > kCommentChars) {
        comment.resize(kCommentChars);
    }
    ini.WriteString("szComment", comment);
}

void ReadUserInfo(CIniSection& ini, ModuleRecord& r) {
    ini.SetSection("UserInfo");
    CopyToField(r.szLocation, ini.ReadString("szLocation", FieldText(r.szLocation)));
    // The field has room for 512, but a comment holds at most 510 characters.
    CopyToField(r.szComment, ini.ReadString("szComment", FieldText(r.szComment)), kCommentChars);
}

bool Refuse(const std::filesystem::path& file, InventoryFileError* error) {
    NoteFileError(error, kNoSerialNumber, file);
    return false;
}

// The keys are collected in memory and the file is replaced once, so a crash leaves the old file or the
// new one, never a mixture.
template <typename WriteSections>
bool WriteAtomically(const std::filesystem::path& file, InventoryFileError* error, WriteSections write) {
    CIniSection ini(file);
    ini.BeginUpdate();
    write(ini);
    if (!ini.EndUpdate()) {
        NoteFileError(error, ini.LastError(), file);
        return false;
    }
    return true;
}

// One parse of the file serves all keys, read from memory; nothing is written back.
template <typename ReadSections> bool ReadOnce(const std::filesystem::path& file, ReadSections read) {
    std::error_code ec;
    const bool exists = std::filesystem::is_regular_file(file, ec);
    const IniDocument document = IniDocument::Load(file);
    CIniSection ini = CIniSection::Over(document);
    read(ini);
    return exists;
}

void ReadModuleSections(CIniSection& ini, ModuleRecord& record) {
    ReadModuleInfo(ini, record);
    ReadStationInfo(ini, record.stationInfo);
    if (record.bHasAnalogCfg0) {
        ReadAnalogCfg(ini, "AnalogCfg0", record.analogCfg0);
    }
    if (record.bHasAnalogCfg1) {
        ReadAnalogCfg(ini, "AnalogCfg1", record.analogCfg1);
    }
    if (record.bHasSensorData) {
        ReadSensorData(ini, "SensorData0", record.sensorData0);
        ReadSensorData(ini, "SensorData1", record.sensorData1);
    }
    RecomputeMeasChannels(record);
    ReadUserInfo(ini, record);
}

} // namespace

bool WriteModuleFileTo(const std::filesystem::path& file, const ModuleRecord& record,
                       InventoryFileError* error) {
    if (record.SerialNo() > kMaxValidSerial) {
        return Refuse(file, error);
    }
    return WriteAtomically(file, error, [&](CIniSection& ini) {
        WriteModuleInfo(ini, record);
        WriteStationInfo(ini, record.stationInfo);
        if (record.bHasAnalogCfg0) {
            WriteAnalogCfg(ini, "AnalogCfg0", record.analogCfg0);
        }
        if (record.bHasAnalogCfg1) {
            WriteAnalogCfg(ini, "AnalogCfg1", record.analogCfg1);
        }
        if (record.bHasSensorData) {
            WriteSensorData(ini, "SensorData0", record.sensorData0);
            WriteSensorData(ini, "SensorData1", record.sensorData1);
        }
        WriteUserInfo(ini, record);
    });
}

bool WriteModuleFile(const ModuleRecord& record, InventoryFileError* error) {
    if (!IsKnownSerial(record.SerialNo())) {
        return Refuse(DataDir(), error);
    }
    return WriteModuleFileTo(ModuleFilePath(record.SerialNo()), record, error);
}

bool ReadModuleFileFrom(const std::filesystem::path& file, ModuleRecord& record) {
    return ReadOnce(file, [&](CIniSection& ini) { ReadModuleSections(ini, record); });
}

void ReadModuleDocument(const IniDocument& document, ModuleRecord& record) {
    CIniSection ini = CIniSection::Over(document);
    ReadModuleSections(ini, record);
}

bool ReadModuleFile(uint16_t serialNo, ModuleRecord& record) {
    return ReadModuleFileFrom(ModuleFilePath(serialNo), record);
}

bool WriteUserData(const ModuleRecord& record, InventoryFileError* error) {
    if (record.SerialNo() > kMaxValidSerial) {
        return Refuse(DataDir(), error);
    }
    const std::filesystem::path file = ModuleFilePath(record.SerialNo());
    return WriteAtomically(file, error, [&](CIniSection& ini) { WriteUserInfo(ini, record); });
}

bool ReadUserData(uint16_t serialNo, ModuleRecord& record) {
    return ReadOnce(ModuleFilePath(serialNo), [&](CIniSection& ini) { ReadUserInfo(ini, record); });
}

} // namespace terrix
