#include "core/busops/identification.h"

#include "core/bus/bus_error.h"
#include "core/bus/commands.h"
#include "core/inventory/conversion_time.h"
#include "core/inventory/module_file.h"
#include "core/inventory/module_kind.h"
#include "core/inventory/record_values.h"

#include <functional>

namespace terrix {

namespace {

enum class Verdict { Continue, Stop };

// Runs one step; a module that reports busy gets one more chance before the step counts as failed.
void RunStep(const std::function<void()>& step) {
    step();
    if (LastBusError() == kBusBusy) {
        step();
    }
}

void MakeCollisionPlaceholder(ModuleRecord& record) {
    record.enModuleState = msCollision;
    record.stationInfo.wSerialNo = kNoSerial;
    record.stationInfo.SetModuleName("COLLISION");
}

// Judges the bus error code of a step's last transaction. Optional reads (the analog configurations and
// the sensor data) may answer "not implemented" without harm.
Verdict Judge(ModuleRecord& record, bool optionalStep) {
    const uint16_t code = LastBusError();
    record.wLastError = code;
    switch (code) {
    case kBusOk:
    case kBusNoAnswer: return Verdict::Continue;
    case kBusNotImplemented:
        if (optionalStep) {
            return Verdict::Continue;
        }
        break;
    case kBusModuleFatal: record.enModuleState = msFailed; return Verdict::Stop;
    case kBusBusy:
        // Still busy after the retry: the module is there but could not be asked. It keeps its station and
        // stays unidentified, which is not a collision.
        record.enModuleState = msNotIdentified;
        return Verdict::Stop;
    default: break;
    }
    MakeCollisionPlaceholder(record);
    return Verdict::Stop;
}

} // namespace

bool IdentifyModule(PortHandle port, uint8_t station, ModuleRecord& record, const UnitLookup& lookup) {
    PortLock lock(port);
    record = ModuleRecord{};
    record.iaStation = station;

    StationInfoBlock block{};
    bool infoRead = false;
    RunStep([&] {
        infoRead = ReadStationInfo(port, station, block);
        if (!infoRead && LastBusError() == kBusModuleFatal) {
            infoRead = ReadStationInfo(port, station, block); // a module that just restarted
        }
    });
    if (!infoRead) {
        const uint16_t code = LastBusError();
        Judge(record, false);
        if (code == kBusBusy) {
            record.stationInfo.wSerialNo = kNoSerial; // nothing is known about the module yet
        }
        return false;
    }
    record.stationInfo = StationInfo::FromBytes(block);
    SetModuleKindFlags(record);
    // The user's texts as soon as the serial is known: a record that fails a later step is still saved,
    // and must not write empty texts over the stored ones.
    ReadUserData(record.SerialNo(), record);

    RunStep([&] {
        record.dwNumberOfMeas0 = static_cast<uint32_t>(ReadNumberOfMeas(port, station, 0));
        record.dwNumberOfMeas1 = static_cast<uint32_t>(ReadNumberOfMeas(port, station, 1));
    });
    if (Judge(record, false) == Verdict::Stop) {
        return false;
    }
    RecomputeMeasChannels(record);

    RunStep([&] {
        AnalogCfgBlock cfg0{};
        AnalogCfgBlock cfg1{};
        record.bHasAnalogCfg0 = ReadAnalogCfg(port, station, 0, cfg0) ? 1 : 0;
        record.analogCfg0 = AnalogCfg::FromBytes(cfg0.data());
        record.bHasAnalogCfg1 = ReadAnalogCfg(port, station, 1, cfg1) ? 1 : 0;
        record.analogCfg1 = AnalogCfg::FromBytes(cfg1.data());
    });
    if (Judge(record, true) == Verdict::Stop) {
        return false;
    }
    record.dwMeasTime = ComputeMeasTime(record);

    RunStep([&] {
        record.bHasSensorData = ReadSensorData(port, station, record.sensorData0, record.sensorData1) ? 1 : 0;
    });
    if (Judge(record, true) == Verdict::Stop) {
        return false;
    }

    if (lookup) {
        CopyToField(record.szUnit0, lookup(record.bHasSensorData ? record.sensorData0.yUnitCode : 0), 7);
        CopyToField(record.szUnit1, lookup(record.bHasSensorData ? record.sensorData1.yUnitCode : 0), 7);
    }
    record.enModuleState = msIdentified;

    if (record.bIsTavikXV) {
        uint16_t id = 0;
        CalibCoeffs scratch{};
        bool tdc = false;
        RunStep([&] { tdc = ReadTempCalib(port, station, 0, id, scratch); });
        if (tdc) {
            record.bHasTDCSupport = 1;
        } else if (LastBusError() == kBusNotImplemented) {
            record.bHasTDCSupport = 0;
        } else {
            Judge(record, false);
            return false;
        }
    }
    return true;
}

StationCheck ConfirmModuleAtStation(PortHandle port, const ModuleRecord& expected, ModuleRecord& found,
                                    const UnitLookup& lookup) {
    const bool identified = IdentifyModule(port, expected.iaStation, found, lookup);
    const uint16_t serial = found.SerialNo();
    // A module whose station information was read has a serial number even when a later step failed.
    if (serial != 0 && serial != kNoSerial && serial != expected.SerialNo()) {
        return StationCheck::kOtherModule;
    }
    return identified && serial == expected.SerialNo() ? StationCheck::kConfirmed : StationCheck::kNoModule;
}

StationCheck CheckModuleBeforeConfig(PortHandle port, const ModuleRecord& record, ModuleRecord& found,
                                     const UnitLookup& lookup) {
    if (!IsKnownSerial(record.SerialNo())) {
        return StationCheck::kConfirmed;
    }
    return ConfirmModuleAtStation(port, record, found, lookup);
}

bool RescanModule(PortUser& portUser, const UnitLookup& lookup, ModuleRecord& record) {
    if (!portUser.Acquire()) {
        return false;
    }
    ModuleRecord fresh;
    const bool ok = IdentifyModule(portUser.Port(), record.iaStation, fresh, lookup);
    portUser.Release();
    if (ok) {
        fresh.bDisabled = record.bDisabled; // the user switched the module off; a rescan does not undo that
        record = fresh;
    }
    return ok;
}

} // namespace terrix
