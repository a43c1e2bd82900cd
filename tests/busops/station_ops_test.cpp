#include "core/bus/bus_error.h"
#include "core/busops/conversion_count.h"
#include "core/busops/identification.h"
#include "core/busops/station_number.h"
#include "core/inventory/bus_info_file.h"
#include "core/inventory/unit_names.h"
#include "core/platform/ini_section.h"

#include "sim_bus_fixture.h"

#include <filesystem>

namespace terrix::test {
namespace {

TEST(StationChangeCheckTest, Refusals) {
    ModuleRecord r;
    EXPECT_EQ(CheckStationChange(nullptr), ModuleCheck::kNoRecord);
    EXPECT_EQ(ModuleCheckTextId(ModuleCheck::kNoRecord), 24637);
    EXPECT_EQ(CheckStationChange(&r), ModuleCheck::kWrongState);
    r.enModuleState = msCollision;
    EXPECT_EQ(CheckStationChange(&r), ModuleCheck::kWrongState); // its text is checked end to end
    r.enModuleState = msIdentified;
    r.bDisabled = 1;
    EXPECT_EQ(CheckStationChange(&r), ModuleCheck::kDisabled);
    r.bDisabled = 0;
    EXPECT_EQ(CheckStationChange(&r), ModuleCheck::kOk);
}

class StationOpsTest : public SimBusFixture {};

TEST_F(StationOpsTest, StationChangeMovesTheModuleAndSavesTheBus) {
    AddProbe(4, 100);
    OpenPort();
    CBusList list;
    auto r = std::make_unique<ModuleRecord>();
    ASSERT_TRUE(IdentifyModule(port, 4, *r, UnitName));
    ModuleRecord* record = r.get();
    list.Add(std::move(r));
    EXPECT_EQ(ApplyStationNumber(port, list, record, 253), StationChangeResult::kInvalidStation);
    // A module that does not answer at its new station: nothing is recorded or saved. (A station held by
    // another module is refused end to end.)
    bus->Modify(0, [](sim::ModuleState& m) { m.faults.mute = true; });
    EXPECT_EQ(ApplyStationNumber(port, list, record, 9), StationChangeResult::kNotConfirmed);
    EXPECT_EQ(record->iaStation, 4);
    EXPECT_FALSE(std::filesystem::exists(dataDir / "Terrix.ini"));
    bus->Modify(0, [](sim::ModuleState& m) { m.faults.mute = false; });
    ASSERT_EQ(ApplyStationNumber(port, list, record, 17), StationChangeResult::kDone);
    EXPECT_EQ(record->iaStation, 17);
    EXPECT_EQ(bus->ModuleBySerial(100)->station, 17);
    EXPECT_EQ(CIniSection(SettingsFilePath(), std::string(kBusInfoSection)).ReadString("Module0", ""),
              "100,17");

    ModuleRecord placeholder;
    placeholder.stationInfo.wSerialNo = kNoSerial;
    bus->ClearRequestLog();
    EXPECT_EQ(ApplyStationNumber(port, list, &placeholder, 3), StationChangeResult::kNothingToDo);
    EXPECT_EQ(CountRequests(1), 0u);
}

// The count is written with the raw conversion switched on, and the configuration is put back also when
// the write fails. The time is applied to the XV module's record only.
TEST_F(StationOpsTest, ConversionCountSequenceAndTime) {
    const size_t xv = AddProbe(3, 200, true);
    AddProbe(4, 300);
    OpenPort();
    const sim::ModuleState before = *bus->ModuleBySerial(200);
    ASSERT_TRUE(SetConversionCount(port, 3, 100));
    std::vector<uint8_t> commands;
    for (const sim::LoggedRequest& r : bus->RequestLog()) {
        commands.push_back(r.command);
    }
    EXPECT_EQ(commands, (std::vector<uint8_t>{229, 225, 226, 226, 225}));
    EXPECT_EQ(bus->ModuleBySerial(200)->channels[0].measurementCount, 100u);
    EXPECT_EQ(bus->ModuleBySerial(200)->channels[0].analogConfig, before.channels[0].analogConfig);

    ModuleRecord r;
    ASSERT_TRUE(IdentifyModule(port, 3, r, UnitName));
    // 100000 s would be 132066 measurements; the module takes five digits, and the record says what it took
    // (shown as the seconds it takes: 100 measurements take 75.72 s).
    for (const auto& [seconds, count, shown] :
         {std::tuple{76u, 100u, 76u}, std::tuple{0u, 0u, 0u}, std::tuple{100000u, 99999u, 75719u}}) {
        ASSERT_TRUE(ApplyConversionTime(port, r, seconds)) << seconds;
        EXPECT_EQ(std::tuple(r.dwNumberOfMeas0, bus->ModuleBySerial(200)->channels[0].measurementCount,
                             SecondsFromCount(r.dwNumberOfMeas0)),
                  std::tuple(count, count, shown));
    }

    bus->Modify(xv, [](sim::ModuleState& m) { m.faults.status6.insert(226); });
    EXPECT_FALSE(SetConversionCount(port, 3, 50));
    EXPECT_EQ(LastBusError(), kBusNotImplemented);
    EXPECT_EQ(bus->ModuleBySerial(200)->channels[0].analogConfig, before.channels[0].analogConfig);

    // Other probes use the count for their own measuring.
    ASSERT_TRUE(IdentifyModule(port, 4, r, UnitName));
    const uint32_t count = r.dwNumberOfMeas0;
    EXPECT_EQ(CheckConversionTimeChange(&r), ModuleCheck::kWrongState);
    bus->ClearRequestLog();
    EXPECT_FALSE(ApplyConversionTime(port, r, 76));
    EXPECT_EQ(CountRequests(226), 0u);
    EXPECT_EQ(r.dwNumberOfMeas0, count);
}

} // namespace
} // namespace terrix::test
