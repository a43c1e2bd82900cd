#include "core/bus/bus_error.h"
#include "core/busops/identification.h"
#include "core/inventory/module_file.h"
#include "core/inventory/unit_names.h"

#include "sim_bus_fixture.h"

#include <tuple>

namespace terrix::test {
namespace {

class IdentificationTest : public SimBusFixture {
protected:
    bool Identify(uint8_t station, ModuleRecord& record) {
        return IdentifyModule(port, station, record, UnitName);
    }
};

// The user's texts come from the module file.
TEST_F(IdentificationTest, ProbeIsIdentifiedWithAllItsData) {
    AddProbe(4, 31042);
    OpenPort();
    ModuleRecord stored;
    stored.stationInfo.wSerialNo = 31042;
    CopyToField(stored.szLocation, "Feld 3");
    CopyToField(stored.szComment, "Tiefe 30 cm");
    ASSERT_TRUE(WriteUserData(stored));
    ModuleRecord r;
    ASSERT_TRUE(Identify(4, r));
    // State, station, serial, firmware, start-up baud, channels, last error; then the flags: TAVIK but not
    // XV, XV, analog configurations 0 and 1, linearised, sensor data.
    EXPECT_EQ((std::vector<uint32_t>{static_cast<uint32_t>(r.enModuleState), r.iaStation, r.SerialNo(),
                                     r.stationInfo.wFirmwareVersion, r.stationInfo.wStartupBaud,
                                     r.dwMeasChannels, r.wLastError}),
              (std::vector<uint32_t>{msIdentified, 4, 31042, 0x1232, 96, 3, 0}));
    EXPECT_EQ((std::vector<int>{r.bIsTavikButNotXV, r.bIsTavikXV, r.bHasAnalogCfg0, r.bHasAnalogCfg1,
                                r.analogCfg0.yHasLinearisation, r.bHasSensorData}),
              (std::vector<int>{1, 0, 1, 1, 1, 1}));
    EXPECT_EQ(std::tuple(r.sensorData1.fZeroOffset, r.sensorData1.fResolution, r.sensorData1.nLSBMax),
              std::tuple(-40.0f, 0.1f, 1200));
    EXPECT_EQ(r.dwMeasTime, 4700u); // 1300 x 3 measurements + 200 + 600; linearised: no 200 more
    EXPECT_EQ((std::vector<std::string>{r.ModuleName(), FieldText(r.szUnit0), FieldText(r.szUnit1),
                                        FieldText(r.szLocation), FieldText(r.szComment)}),
              (std::vector<std::string>{"PX-TAVIK2", "%", "\xB0\x43", "Feld 3", "Tiefe 30 cm"})); // "°C"
}

// A fatal error gets one more read of the station information, a busy module one more try of the step;
// a module that stays busy is there but unknown, never a collision.
TEST_F(IdentificationTest, RetriesAndFailures) {
    struct Case {
        const char* name;
        uint32_t fatal;
        uint32_t busy;
        bool ok;
        ModuleState state;
        uint16_t error;
        size_t infoRequests;
    };
    const Case cases[] = {
        {"nobody there", 0, 0, false, msNotIdentified, kBusNoAnswer, 1},
        {"fatal once", 1, 0, true, msIdentified, 0, 2},
        {"fatal twice", 2, 0, false, msFailed, kBusModuleFatal, 2},
        {"busy once", 0, 1, true, msIdentified, 0, 2},
        {"busy for long", 0, 50, false, msNotIdentified, kBusBusy, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bus = std::make_shared<sim::VirtualBus>(7);
        if (c.error != kBusNoAnswer) {
            bus->Modify(AddProbe(4, 100), [&](sim::ModuleState& m) {
                m.faults.fatalCount = c.fatal;
                m.faults.busyCount = c.busy;
            });
        }
        OpenPort();
        ModuleRecord r;
        EXPECT_EQ(Identify(4, r), c.ok);
        EXPECT_EQ(std::tuple(r.enModuleState, r.wLastError, r.iaStation, CountRequests(2)),
                  std::tuple(c.state, c.error, uint8_t{4}, c.infoRequests));
        if (c.busy > 1) {
            EXPECT_EQ(r.SerialNo(), kNoSerial) << "nothing is known of a module that never told its serial";
        }
    }
}

TEST_F(IdentificationTest, MissingOptionalCommandsAreNoCollision) {
    struct Case {
        const char* name;
        uint8_t command;
        bool xv;
    };
    for (const Case c : {Case{"nothing, XV module", 0, true}, Case{"analog configuration", 229, false},
                         Case{"sensor data", 235, false}, Case{"temperature calibration", 194, true}}) {
        SCOPED_TRACE(c.name);
        bus = std::make_shared<sim::VirtualBus>(7);
        bus->Modify(AddProbe(4, 100, c.xv), [&](sim::ModuleState& m) {
            m.notImplemented.insert(c.command);
            m.hasTemperatureCalibrations = c.command != 194;
        });
        OpenPort();
        ModuleRecord r;
        EXPECT_TRUE(Identify(4, r));
        EXPECT_EQ(std::tuple(r.enModuleState, r.SerialNo()), std::tuple(msIdentified, 100));
        // Analog configurations 0 and 1, sensor data, XV, temperature commands.
        EXPECT_EQ((std::vector<int>{r.bHasAnalogCfg0, r.bHasAnalogCfg1, r.bHasSensorData, r.bIsTavikXV,
                                    r.bHasTDCSupport}),
                  (std::vector<int>{c.command != 229, c.command != 229, c.command != 235, c.xv,
                                    c.xv && c.command != 194}));
        if (c.command == 235) {
            EXPECT_EQ(FieldText(r.szUnit0), UnitName(0));
        }
    }
}

// Two answers at once garble the header. (A single module's damaged header takes the same path; the
// simulator's damaged header is checked with the module commands.)
TEST_F(IdentificationTest, GarbledAnswersMakeACollisionPlaceholder) {
    AddProbe(4, 100);
    AddProbe(4, 101);
    OpenPort();
    ModuleRecord r;
    EXPECT_FALSE(Identify(4, r));
    EXPECT_EQ(
        std::tuple(r.enModuleState, r.SerialNo(), r.ModuleName(), r.stationInfo.yModuleNameLen, r.wLastError),
        std::tuple(msCollision, kNoSerial, std::string("COLLISION"), uint8_t{9}, kBusHeaderChecksum));
}

// Before a module is configured: a record of a known module is compared with what answers at its station;
// one without a known serial number costs no transaction.
TEST_F(IdentificationTest, CheckBeforeConfigComparesOnlyKnownSerials) {
    AddProbe(4, 100);
    OpenPort();
    const struct {
        uint8_t station;
        uint16_t serial;
        StationCheck result;
        size_t requests; // station-information requests sent
    } cases[] = {
        {4, 100, StationCheck::kConfirmed, 1},       {4, 101, StationCheck::kOtherModule, 1},
        {9, 100, StationCheck::kNoModule, 1},        {4, 0, StationCheck::kConfirmed, 0},
        {4, kNoSerial, StationCheck::kConfirmed, 0},
    };
    for (const auto& c : cases) {
        bus->ClearRequestLog();
        ModuleRecord record;
        record.iaStation = c.station;
        record.stationInfo.wSerialNo = c.serial;
        ModuleRecord found;
        EXPECT_EQ(CheckModuleBeforeConfig(port, record, found, UnitName), c.result) << c.serial;
        EXPECT_EQ(CountRequests(2), c.requests) << c.serial;
    }
}

TEST_F(IdentificationTest, RescanReplacesTheRecordButTheUsersSwitchOrNothing) {
    AddProbe(4, 100);
    ComPortContext context;
    context.device = "unused";
    OpenPort();
    context.hPort = port; // already open: Acquire uses it, Release closes it
    PortUser user(&context);
    ModuleRecord r;
    r.iaStation = 4;
    r.bDisabled = 1;
    ASSERT_TRUE(RescanModule(user, UnitName, r));
    // Still switched off by the user, so not measured again; the port is released.
    EXPECT_EQ(std::tuple(r.bDisabled, r.SerialNo(), context.hPort), std::tuple(1, 100, kInvalidPort));
    port = kInvalidPort;

    OpenPort();
    context.hPort = port;
    r.iaStation = 9; // nobody there
    ModuleRecord copy = r;
    EXPECT_FALSE(RescanModule(user, UnitName, copy));
    EXPECT_EQ(std::tuple(copy.SerialNo(), copy.enModuleState), std::tuple(r.SerialNo(), r.enModuleState));
    port = kInvalidPort;
}

} // namespace
} // namespace terrix::test
