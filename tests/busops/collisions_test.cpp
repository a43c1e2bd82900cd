#include "core/bus/bus_error.h"
#include "core/busops/collisions.h"
#include "core/busops/identification.h"
#include "core/inventory/bus_info_file.h"
#include "core/inventory/unit_names.h"
#include "core/platform/ini_section.h"

#include "inventory/inventory_test_util.h"
#include "sim_bus_fixture.h"

#include <tuple>

namespace terrix::test {
namespace {

class CollisionsTest : public SimBusFixture {
protected:
    // Identifies the stations like a scan would and puts the records in the list.
    void ScanStations(std::initializer_list<uint8_t> stations) {
        for (uint8_t s : stations) {
            auto r = std::make_unique<ModuleRecord>();
            const bool ok = IdentifyModule(port, s, *r, UnitName);
            if (ok || r->wLastError != kBusNoAnswer) {
                list.Add(std::move(r));
            }
        }
        list.Sort(false);
    }
    bool Resolve(uint16_t first, uint16_t last) {
        ComPortContext context;
        context.hPort = port;
        ResolveOptions options;
        options.firstSerial = first;
        options.lastSerial = last;
        return ResolveCollisions(context, list, options, UnitName, [this](const ScanProgress& p) {
            events.push_back(p);
            return true;
        });
    }
    // Modules 1002 and 1003 both at station 5, found by a scan.
    void CollideAtFive() {
        AddProbe(5, 1002);
        AddProbe(5, 1003);
        OpenPort();
        ScanStations({5});
    }
    size_t Count(uint32_t event) const {
        size_t n = 0;
        for (const ScanProgress& p : events) {
            n += p.event == event ? 1 : 0;
        }
        return n;
    }

    CBusList list;
    std::vector<ScanProgress> events;
};

TEST_F(CollisionsTest, RangeProbesEachCandidateOnceAndSavedModulesComeBack) {
    CollideAtFive();
    // 65535 is the collision record's own serial: it is probed but never moved.
    for (const auto& [first, last, probes, moves] :
         {std::tuple<uint16_t, uint16_t, size_t, size_t>{7, 7, 1, 1}, {65533, 65535, 3, 2}}) {
        events.clear();
        bus->ClearRequestLog();
        ASSERT_TRUE(Resolve(first, last)) << first;
        // Probes, moves, records and collisions left.
        EXPECT_EQ(std::tuple(Count(kEventProbing), CountRequests(1), list.Count(), list.CollisionCount()),
                  std::tuple(probes, moves, 1u, 1u))
            << first;
    }

    // Saved modules that did not answer come back. (The moved module's new station is checked end to end
    // and in the next case.)
    list.Add(testing::MakeRecord(4444, 30, msNotIdentified));
    events.clear();
    ASSERT_TRUE(Resolve(1002, 1003));
    EXPECT_EQ(list.CollisionCount(), 0u);
    ASSERT_NE(list.FindBySerial(4444), nullptr);
    EXPECT_EQ(std::pair(list.FindBySerial(4444)->iaStation, list.FindBySerial(1003)->iaStation),
              std::pair(uint8_t{30}, uint8_t{5}));
    EXPECT_EQ(Count(kEventProbing), 1u) << "the run ends as soon as no collision is left";
    EXPECT_EQ(std::tuple(events.back().event, events.back().percent),
              std::tuple(uint32_t{kEventResolutionDone}, 100u));
}

TEST_F(CollisionsTest, CollisionWhereNobodyAnswersAnyMoreIsRemoved) {
    CollideAtFive();
    // Both modules leave station 5 behind the program's back: the collision disappears on the re-check.
    bus->ModifyBySerial(1003, [](sim::ModuleState& m) { m.station = 60; });
    ASSERT_TRUE(Resolve(1002, 1002));
    EXPECT_EQ(list.CollisionCount(), 0u);
    EXPECT_EQ(list.FindByStation(5), nullptr);
    EXPECT_EQ(list.FindBySerial(1002)->iaStation, 1);
}

TEST_F(CollisionsTest, LoneXvModuleWithoutTemperatureCommandsIsResolved) {
    AddProbe(5, 1002);
    const size_t xv = AddProbe(5, 2000, true);
    bus->Modify(xv, [](sim::ModuleState& m) { m.hasTemperatureCalibrations = false; });
    OpenPort();
    ScanStations({5});
    ASSERT_TRUE(Resolve(1002, 1002));
    EXPECT_EQ(list.CollisionCount(), 0u);
    const ModuleRecord* placed = list.FindByStation(5);
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(std::tuple(placed->SerialNo(), placed->bHasTDCSupport), std::tuple(2000, 0));
}

// The multiplexer moves to station 252, swapping with a module that holds it.
TEST_F(CollisionsTest, MultiplexerMovesToItsStation) {
    for (const uint8_t probeStation : {1, 252}) {
        SCOPED_TRACE(int(probeStation));
        bus = std::make_shared<sim::VirtualBus>(7);
        list.Clear();
        events.clear();
        AddMultiplexer(7, 500);
        AddProbe(probeStation, 1000);
        OpenPort();
        ScanStations({probeStation, 7});
        ASSERT_TRUE(Resolve(1, 0)); // no candidates: only the multiplexer step runs
        const uint8_t probeNow = probeStation == 252 ? 7 : probeStation;
        EXPECT_EQ(std::tuple(bus->ModuleBySerial(500)->station, list.FindByStation(252)->SerialNo(),
                             bus->ModuleBySerial(1000)->station, list.FindByStation(probeNow)->SerialNo()),
                  std::tuple(uint8_t{252}, 500, probeNow, 1000));
        ASSERT_GE(events.size(), 2u);
        const ScanProgress& moved = events[events.size() - 2];
        EXPECT_EQ(std::tuple(moved.event, moved.station, moved.percent),
                  std::tuple(uint32_t{kEventIdentified}, 252u, 100u));
    }
}

TEST_F(CollisionsTest, CreateCollisionMovesEveryModuleAndForgetsTheBus) {
    AddProbe(1, 1000);
    AddProbe(2, 1001);
    OpenPort();
    ScanStations({1, 2});
    ASSERT_TRUE(list.Save());
    for (uint8_t refused : {251, 253, 254, 255}) {
        bus->ClearRequestLog();
        EXPECT_FALSE(CreateCollision(port, list, refused));
        EXPECT_EQ(CountRequests(1), 0u);
    }
    ASSERT_TRUE(CreateCollision(port, list, 252));
    EXPECT_EQ(std::pair(bus->ModuleBySerial(1000)->station, bus->ModuleBySerial(1001)->station),
              std::pair(uint8_t{252}, uint8_t{252}));
    EXPECT_FALSE(CIniSection(SettingsFilePath(), std::string(kBusInfoSection)).HasKey("Modules"));
}

TEST(SerialSequenceTest, ProgressOfARange) {
    SerialRangeSequence s(10, 13);
    std::vector<uint32_t> percents;
    for (; s.HasMore(); s.Next()) {
        percents.push_back(s.Progress());
    }
    EXPECT_EQ(percents, (std::vector<uint32_t>{25, 50, 75, 100}));
    SerialRangeSequence empty(5, 4);
    EXPECT_FALSE(empty.HasMore());
}

} // namespace
} // namespace terrix::test
