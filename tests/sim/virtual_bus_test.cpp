// The bus as a whole: who answers, collisions, broadcasts, moving modules and baud rates.

#include "sim/scenario.h"
#include "sim/virtual_bus.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

namespace terrix::sim {
namespace {

using test::Ask;
using test::HeaderChecksumOk;
using test::RequestBytes;
using test::SetBaudFrame;
using test::SetStationFrame;
using Bytes = std::vector<uint8_t>;

// Several answers at once are wired-AND on the line, and their header checksum never fits.
TEST(VirtualBus, SeveralAnswersAtOnceGarbleTheHeader) {
    VirtualBus bus;
    bus.AddModule(MakeProbe(5, 100));
    bus.AddModule(MakeProbe(5, 200));
    // Identical replies from both (same command, same data) still collide.
    for (const uint8_t command : {uint8_t{2}, uint8_t{204}, uint8_t{242}}) {
        const Bytes reply = Ask(bus, RequestBytes(5, command, {}));
        ASSERT_GE(reply.size(), 7u) << int(command);
        EXPECT_FALSE(HeaderChecksumOk(reply)) << int(command);
    }
    const Bytes a = {0xF0, 0xFF, 0x0F, 0x00, 0x01, 0x00, 0xFE, 0x12, 0x34};
    const Bytes b = {0x3C, 0xFD, 0x0F, 0x00, 0x01, 0x00, 0xFE};
    Bytes line = CombineReplies({a, b});
    ASSERT_EQ(line.size(), 9u);
    EXPECT_NE(line[5], (0x30 + 0xFD + 0x0F + 0x00 + 0x01) & 0x7F) << "the header checksum never fits";
    line[5] = 0;
    // Past the shorter reply only one sender is still talking.
    EXPECT_EQ(line, (Bytes{0x30, 0xFD, 0x0F, 0x00, 0x01, 0, 0xFE, 0x12, 0x34}));
}

TEST(VirtualBus, EmptyStationsBroadcastsAndOtherBaudRatesGetNoAnswer) {
    VirtualBus bus;
    ModuleState m = MakeProbe(1, 100);
    m.baud = 2400;
    bus.AddModule(m);
    Bytes damaged = SetStationFrame(100, 30);
    damaged.back() ^= 1;
    // None of these moves the module either: a broadcast at another rate, to a reserved station, damaged.
    const std::pair<Bytes, uint32_t> silent[] = {
        {RequestBytes(2, 2), 2400},      {RequestBytes(255, 2), 2400},      {RequestBytes(1, 2), 9600},
        {SetStationFrame(100, 9), 9600}, {SetStationFrame(100, 253), 2400}, {damaged, 2400}};
    for (const auto& [frame, baud] : silent) {
        EXPECT_TRUE(Ask(bus, frame, baud).empty()) << int(frame[0]) << " " << int(frame[4]) << " @" << baud;
    }
    EXPECT_EQ(bus.ModuleBySerial(100)->station, 1);
    EXPECT_TRUE(HeaderChecksumOk(Ask(bus, RequestBytes(1, 2), 2400)));
    Ask(bus, SetStationFrame(100, 17), 2400);
    EXPECT_EQ(bus.ModuleBySerial(100)->station, 17);
}

// The baud ladder brings every module to 9600; the reset command programs that as the start-up rate.
TEST(VirtualBus, BaudLadderAndStartupRate) {
    VirtualBus bus;
    const uint32_t starts[] = {300, 600, 1200, 2400, 4800, 9600};
    for (size_t i = 0; i < std::size(starts); ++i) {
        ModuleState m = MakeProbe(static_cast<uint8_t>(i + 1), static_cast<uint16_t>(100 + i));
        m.baud = starts[i];
        bus.AddModule(m);
    }
    // Each step is sent at the PC's current rate; then the PC follows.
    uint32_t pcBaud = 9600;
    for (const uint32_t next : {300u, 600u, 1200u, 2400u, 4800u, 9600u}) {
        Ask(bus, SetBaudFrame(next), pcBaud);
        pcBaud = next;
    }
    for (const ModuleState& m : bus.Modules()) {
        EXPECT_EQ(m.baud, 9600u) << m.info.serialNo;
    }
    // An unknown rate is ignored.
    Ask(bus, SetBaudFrame(12300), 9600);
    EXPECT_EQ(bus.Module(0)->baud, 9600u);

    bus.Modify(0, [](ModuleState& m) { m.info.startupBaud = 24; });
    bus.PowerCycle(100);
    EXPECT_EQ(bus.Module(0)->baud, 2400u);
    Ask(bus, RequestBytes(255, 17), 2400);
    EXPECT_EQ(bus.Module(0)->info.startupBaud, 96);
    bus.PowerCycle(100);
    EXPECT_EQ(bus.Module(0)->baud, 9600u);
}

TEST(VirtualBus, MeasuredValuesAreDeterministicForASeed) {
    auto series = [](uint64_t seed) {
        VirtualBus bus(seed);
        bus.AddModule(MakeProbe(1, 31042));
        std::vector<Bytes> values;
        for (int i = 0; i < 5; ++i) {
            Ask(bus, RequestBytes(1, 242));
            values.push_back(Ask(bus, RequestBytes(1, 241)));
        }
        return values;
    };
    EXPECT_EQ(series(7), series(7));
    EXPECT_NE(series(7), series(8));
    const auto values = series(7);
    EXPECT_NE(values[0], values[1]); // they vary from one measurement to the next
}

} // namespace
} // namespace terrix::sim
