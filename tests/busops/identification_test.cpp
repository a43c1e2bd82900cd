#include "core/bus/bus_error.h"
#include "core/busops/identification.h"
#include "core/inventory/module_file.h"
#include "core/inventory/unit_names.h"

#include "sim_bus_fixture.h"

namespace terrix::test {
namespace {

class IdentificationTest : public SimBusFixture {
protected:
    bool Identify(uint8_t station, ModuleRecord& record) {
        return IdentifyModule(port, station, record, UnitName);
    }
};

TEST_F(IdentificationTest, ProbeIsIdentifiedWithAllItsData) {
    AddProbe(4, 31042);
    OpenPort();
    ModuleRecord r;
    ASSERT_TRUE(Identify(4, r));
    EXPECT_EQ(r.enModuleState, msIdentified);
    EXPECT_EQ(r.iaStation, 4);
    EXPECT_EQ(r.SerialNo(), 31042);
    EXPECT_EQ(r.ModuleName(), "PX-TAVIK2");
    EXPECT_EQ(r.stationInfo.yModuleNameLen, 9);
    EXPECT_TRUE(r.bIsTavikButNotXV);
    EXPECT_FALSE(r.bIsTavikXV);
    EXPECT_TRUE(r.bHasAnalogCfg0);
    EXPECT_TRUE(r.bHasAnalogCfg1);
    EXPECT_TRUE(r.bHasSensorData);
    EXPECT_EQ(r.dwMeasTime, 4700u); // 1300 x 3 measurements + 200 + 600; linearised: no 200 more
    EXPECT_EQ(FieldText(r.szUnit0), UnitName(r.sensorData0.yUnitCode).substr(0, 7));
    EXPECT_EQ(r.wLastError, 0);
}

TEST_F(IdentificationTest, NobodyAtTheStation) {
    OpenPort();
    ModuleRecord r;
    EXPECT_FALSE(Identify(9, r));
    EXPECT_EQ(r.enModuleState, msNotIdentified);
    EXPECT_EQ(r.wLastError, kBusNoAnswer);
    EXPECT_EQ(r.iaStation, 9);
}

TEST_F(IdentificationTest, FatalErrorGetsExactlyOneRetry) {
    const size_t once = AddProbe(4, 100);
    bus->Modify(once, [](sim::ModuleState& m) { m.faults.fatalCount = 1; });
    const size_t twice = AddProbe(5, 101);
    bus->Modify(twice, [](sim::ModuleState& m) { m.faults.fatalCount = 2; });
    OpenPort();
    ModuleRecord r;
    EXPECT_TRUE(Identify(4, r));
    EXPECT_EQ(r.enModuleState, msIdentified);
    bus->ClearRequestLog();
    EXPECT_FALSE(Identify(5, r));
    EXPECT_EQ(r.enModuleState, msFailed);
    EXPECT_EQ(r.wLastError, kBusModuleFatal);
    EXPECT_EQ(CountRequests(2), 2u);
}

TEST_F(IdentificationTest, MissingOptionalCommandsAreNoCollision) {
    struct Case {
        const char* name;
        uint8_t command;
    };
    for (const Case c : {Case{"analog configuration", 229}, Case{"sensor data", 235}}) {
        bus = std::make_shared<sim::VirtualBus>(7);
        const size_t i = AddProbe(4, 100);
        bus->Modify(i, [&](sim::ModuleState& m) { m.notImplemented.insert(c.command); });
        OpenPort();
        ModuleRecord r;
        EXPECT_TRUE(Identify(4, r)) << c.name;
        EXPECT_EQ(r.enModuleState, msIdentified) << c.name;
        EXPECT_EQ(r.SerialNo(), 100) << c.name;
        if (c.command == 229) {
            EXPECT_FALSE(r.bHasAnalogCfg0);
            EXPECT_FALSE(r.bHasAnalogCfg1);
        } else {
            EXPECT_FALSE(r.bHasSensorData);
            EXPECT_EQ(FieldText(r.szUnit0), UnitName(0));
        }
        ComClose(port);
        port = kInvalidPort;
    }
}

TEST_F(IdentificationTest, BusyModuleIsRetriedOnceAndNeverACollision) {
    const size_t briefly = AddProbe(4, 100);
    bus->Modify(briefly, [](sim::ModuleState& m) { m.faults.busyCount = 1; });
    const size_t long_ = AddProbe(5, 101);
    bus->Modify(long_, [](sim::ModuleState& m) { m.faults.busyCount = 50; });
    OpenPort();
    ModuleRecord r;
    EXPECT_TRUE(Identify(4, r));
    EXPECT_EQ(r.enModuleState, msIdentified);
    EXPECT_FALSE(Identify(5, r));
    EXPECT_EQ(r.enModuleState, msNotIdentified);
    EXPECT_EQ(r.wLastError, kBusBusy);
    EXPECT_EQ(r.SerialNo(), kNoSerial)
        << "nothing is known of a module that never answered its station information";
}

TEST_F(IdentificationTest, GarbledAnswersMakeACollisionPlaceholder) {
    AddProbe(4, 100);
    AddProbe(4, 101);
    const size_t damaged = AddProbe(6, 102);
    bus->Modify(damaged, [](sim::ModuleState& m) { m.faults.damagedHeader = true; });
    OpenPort();
    for (uint8_t station : {4, 6}) {
        ModuleRecord r;
        EXPECT_FALSE(Identify(station, r));
        EXPECT_EQ(r.enModuleState, msCollision);
        EXPECT_EQ(r.SerialNo(), kNoSerial);
        EXPECT_EQ(r.ModuleName(), "COLLISION");
        EXPECT_EQ(r.stationInfo.yModuleNameLen, 9);
        EXPECT_EQ(r.wLastError, kBusHeaderChecksum);
    }
}

TEST_F(IdentificationTest, XvModuleTemperatureSupport) {
    AddProbe(3, 200, true);
    const size_t noTdc = AddProbe(5, 201, true);
    bus->Modify(noTdc, [](sim::ModuleState& m) { m.hasTemperatureCalibrations = false; });
    OpenPort();
    ModuleRecord r;
    ASSERT_TRUE(Identify(3, r));
    EXPECT_TRUE(r.bIsTavikXV);
    EXPECT_FALSE(r.bIsTavikButNotXV);
    EXPECT_EQ(r.bHasTDCSupport, 1);
    ASSERT_TRUE(Identify(5, r));
    EXPECT_EQ(r.enModuleState, msIdentified);
    EXPECT_EQ(r.bHasTDCSupport, 0);
}

TEST_F(IdentificationTest, UserTextsComeFromTheModuleFile) {
    AddProbe(4, 4711);
    OpenPort();
    ModuleRecord stored;
    stored.stationInfo.wSerialNo = 4711;
    CopyToField(stored.szLocation, "Feld 3");
    CopyToField(stored.szComment, "Tiefe 30 cm");
    ASSERT_TRUE(WriteUserData(stored));
    ModuleRecord r;
    ASSERT_TRUE(Identify(4, r));
    EXPECT_EQ(FieldText(r.szLocation), "Feld 3");
    EXPECT_EQ(FieldText(r.szComment), "Tiefe 30 cm");
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
    EXPECT_EQ(r.bDisabled, 1) << "switched off by the user, not measured again";
    EXPECT_EQ(r.SerialNo(), 100);
    EXPECT_EQ(context.hPort, kInvalidPort);
    port = kInvalidPort;

    OpenPort();
    context.hPort = port;
    ModuleRecord before = r;
    before.iaStation = 9; // nobody there
    ModuleRecord copy = before;
    EXPECT_FALSE(RescanModule(user, UnitName, copy));
    EXPECT_EQ(copy.SerialNo(), before.SerialNo());
    EXPECT_EQ(copy.enModuleState, before.enModuleState);
    port = kInvalidPort;
}

} // namespace
} // namespace terrix::test
