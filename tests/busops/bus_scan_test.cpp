#include "core/bus/bus_error.h"
#include "core/busops/bus_scan.h"
#include "core/busops/scan_session.h"
#include "core/inventory/bus_info_file.h"
#include "core/inventory/module_file.h"
#include "core/inventory/stored_text.h"
#include "core/inventory/unit_names.h"
#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"

#include "inventory/inventory_test_util.h"
#include "sim_bus_fixture.h"

#include <tuple>
#include <vector>

namespace terrix::test {
namespace {

// The scan opens the port by device name, "simtest"; an unplugged bus is a port that cannot be opened.
class BusScanTest : public SimBusFixture {
protected:
    void SetUp() override {
        SimBusFixture::SetUp();
        ReachBusThrough("simtest", context);
    }

    bool Scan() {
        PortUser user(&context.portContext);
        return BusScan(context, user, UnitName, [this](const ScanProgress& p) {
            events.push_back(p);
            return stopAt == 0 || !(p.event == stopAt && ++stopCount >= stopAfter);
        });
    }
    using List = testing::Pairs; // serial number and station of each record
    List Listed() const { return testing::SerialStations(context.busList); }
    using Seen = std::vector<std::pair<uint32_t, uint32_t>>; // station and percent of each event of a kind
    Seen EventsOf(uint32_t event) const {
        Seen out;
        for (const ScanProgress& p : events) {
            if (p.event == event) {
                out.emplace_back(p.station, p.percent);
            }
        }
        return out;
    }
    void SaveBus(std::initializer_list<std::pair<uint16_t, uint8_t>> modules, bool firstDisabled = false) {
        CBusList list;
        for (const auto& [serial, station] : modules) {
            auto r = testing::MakeRecord(serial, station, msNotIdentified);
            r->bDisabled = firstDisabled && list.Count() == 0 ? 1 : 0;
            list.Add(std::move(r));
        }
        ASSERT_TRUE(list.Save());
    }

    BusContext context;
    std::vector<ScanProgress> events;
    uint32_t stopAt = 0;
    uint32_t stopAfter = 1;
    uint32_t stopCount = 0;
};

// A collision station gives one record and event 6; the known-modules list grows and never shrinks.
TEST_F(BusScanTest, FullScanFindsEveryModuleInVirtualTime) {
    AddMultiplexer(252, 20513);
    AddProbe(1, 31042);
    AddProbe(2, 31057);
    AddProbe(3, 40218, true);
    AddProbe(5, 100);
    AddProbe(5, 101);
    context.busList.LoadKnownModules();
    context.busList.AddKnownModule(999, true);
    const uint64_t start = clock.NowUs();
    ASSERT_TRUE(Scan());
    EXPECT_EQ(Listed(), (List{{31042, 1}, {31057, 2}, {40218, 3}, {kNoSerial, 5}, {20513, 252}}));
    EXPECT_EQ(context.busList.CollisionCount(), 1u);
    const Seen probes = EventsOf(kEventProbing);
    ASSERT_EQ(probes.size(), 253u);
    EXPECT_EQ((Seen{probes[0], probes[1], probes.back()}), (Seen{{252, 0}, {0, 0}, {251, 99}}));
    EXPECT_EQ(EventsOf(kEventIdentified), (Seen{{252, 0}, {1, 1}, {2, 1}, {3, 1}}));
    EXPECT_EQ(EventsOf(kEventNotIdentified), (Seen{{5, 2}}));
    EXPECT_EQ((std::vector<uint32_t>{events[0].event, events[1].event}),
              (std::vector<uint32_t>{kEventOpeningPort, kEventResynchronising}));
    // 248 silent stations alone cost 248 x (84 + 24) ms of bus time.
    EXPECT_GT(clock.NowUs() - start, 248u * 108'000u);
    EXPECT_EQ(context.portContext.hPort, kInvalidPort) << "the scan releases the port";
    const CBusList* known = context.busList.KnownModules();
    ASSERT_NE(known, nullptr);
    EXPECT_TRUE(known->FindBySerial(31042) && known->FindBySerial(999)) << "the found module joins 999";
}

// Only the saved stations are probed; a disabled module stays disabled, one that does not answer is kept.
TEST_F(BusScanTest, SavedBusLimitsTheProbes) {
    AddProbe(1, 100);
    AddProbe(2, 101, true);
    SaveBus({{100, 1}, {101, 2}, {555, 9}}, true);
    ASSERT_TRUE(Scan());
    EXPECT_EQ(EventsOf(kEventProbing), (Seen{{1, 33}, {2, 66}, {9, 100}}));
    ASSERT_EQ(Listed(), (List{{100, 1}, {101, 2}, {555, 9}}));
    EXPECT_EQ((std::vector<int>{context.busList.GetAt(0)->bDisabled, context.busList.GetAt(1)->bDisabled,
                                context.busList.GetAt(2)->enModuleState}),
              (std::vector<int>{1, 0, msNotIdentified}));
}

// A module that always answers status 2 and one that stays busy are listed (their files and repeated scans
// are checked end to end); once one answers it is listed once, at its station, with the texts stored for it.
TEST_F(BusScanTest, FailingAndBusyModulesLeaveNoGhostsWhenTheyAnswerLater) {
    AddProbe(1, 100);
    const size_t failing = AddProbe(2, 101);
    const size_t busy = AddProbe(4, 102);
    auto fault = [this](size_t module, uint32_t fatal, uint32_t busyCount) {
        bus->Modify(module, [=](sim::ModuleState& m) {
            m.faults.fatalCount = fatal;
            m.faults.busyCount = busyCount;
        });
    };
    fault(failing, UINT32_MAX, 0);
    fault(busy, 0, UINT32_MAX);
    ModuleRecord stored;
    stored.stationInfo.wSerialNo = 102;
    CopyToField(stored.szLocation, "Keller", 78);
    ASSERT_TRUE(WriteModuleFile(stored));
    auto scanAndSave = [&] {
        EXPECT_TRUE(Scan());
        EXPECT_TRUE(context.busList.Save());
        return Listed();
    };
    EXPECT_EQ(scanAndSave(), (List{{100, 1}, {0, 2}, {kNoSerial, 4}})); // complete: nothing saved yet

    fault(failing, 0, 0); // answers now: one record for station 2, on every later scan too
    const List answered{{100, 1}, {101, 2}, {kNoSerial, 4}};
    EXPECT_EQ(scanAndSave(), answered);
    EXPECT_EQ(scanAndSave(), answered);
    fault(busy, 0, 0);
    EXPECT_EQ(scanAndSave(), (List{{100, 1}, {101, 2}, {102, 4}}));
    fault(busy, 0, UINT32_MAX); // busy again: the stored module stays, with its texts
    events.clear();
    EXPECT_EQ(scanAndSave(), (List{{100, 1}, {101, 2}, {kNoSerial, 4}, {102, 4}}));
    EXPECT_EQ(EventsOf(kEventProbing).size(), 3u);
    ModuleRecord reread;
    ASSERT_TRUE(ReadUserData(102, reread));
    EXPECT_EQ(FieldText(reread.szLocation), "Keller");
}

struct FailureCase {
    const char* name;
    uint32_t stopAt;
    bool portUnavailable;
    bool saved; // stations 100 and 101 saved beforehand
    bool result;
    uint32_t error;
    uint32_t listed;
};

TEST_F(BusScanTest, FailuresAndStops) {
    const FailureCase cases[] = {
        {"stop at event 1", kEventOpeningPort, false, false, false, 0, 0},
        {"stop at event 2", kEventResynchronising, false, false, false, 0, 0},
        {"port cannot be opened", 0, true, false, false, kErrorPortOpen, 0},
        {"port cannot be opened, list from the saved bus", 0, true, true, false, kErrorPortOpen, 2},
        {"nobody answers", 0, false, false, false, kErrorNoModule, 0},
        {"stop before any answer", kEventProbing, false, false, true, 0, 0},
        {"stop after an answer keeps it", kEventIdentified, false, false, true, 0, 1},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        bus = std::make_shared<sim::VirtualBus>(7);
        if (c.error != kErrorNoModule || c.stopAt != 0) {
            AddProbe(100, 100); // probed only after the first station
            AddProbe(101, 101);
        }
        if (c.saved) {
            SaveBus({{100, 100}, {101, 101}});
        } else {
            SaveBus({});
            ForgetBusInfo();
        }
        context.busList.Clear();
        context.portContext.dwError = 0;
        events.clear();
        stopAt = c.stopAt;
        stopCount = 0;
        bus->SetUnplugged(c.portUnavailable);
        const bool scanned = Scan();
        EXPECT_EQ(std::tuple(scanned, context.portContext.dwError, context.portContext.hPort,
                             context.busList.Count()),
                  std::tuple(c.result, c.error, kInvalidPort, c.listed));
    }
}

// A complete scan stopped after the first module, or failing, keeps the saved bus; a finished one replaces
// it.
TEST_F(BusScanTest, CompleteScanReplacesTheSavedBusOnlyWhenFinished) {
    AddProbe(1, 100);
    AddProbe(5, 101);
    for (const auto& [stop, unavailable, stored] :
         {std::tuple(true, false, "100,9"), std::tuple(false, true, "100,9"),
          std::tuple(false, false, "100,1")}) {
        SaveBus({{100, 9}});
        bus->SetUnplugged(unavailable);
        const ScanSessionResult result = RunScanSession(
            context, {.forgetSavedBus = true}, UnitName,
            [stop](const ScanProgress& p) { return !stop || p.event != kEventIdentified; }, {});
        EXPECT_EQ(result.saved, !stop && !unavailable);
        EXPECT_EQ(CIniSection(SettingsFilePath(), std::string(kBusInfoSection)).ReadString("Module0", ""),
                  stored);
    }
}

} // namespace
} // namespace terrix::test
