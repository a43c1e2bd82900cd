// The in-process transport: the read rule in virtual time, modem lines, and the "sim" port scheme.

#include "core/platform/com_port.h"
#include "sim/scenario.h"
#include "sim/sim_scheme.h"
#include "sim/sim_transport.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

namespace terrix::sim {
namespace {

using test::RequestBytes;
using Bytes = std::vector<uint8_t>;

class SimTransportTest : public ::testing::Test {
protected:
    SimTransportTest() : bus(std::make_shared<VirtualBus>()), transport(bus, clock) {
        bus->AddModule(MakeProbe(1, 31042));
    }

    void Write(const Bytes& bytes) {
        size_t written = 0;
        ASSERT_TRUE(transport.Write(bytes, written));
        ASSERT_EQ(written, bytes.size());
    }
    Bytes Read(size_t count) {
        Bytes buffer(count);
        size_t got = 0;
        EXPECT_TRUE(transport.Read(buffer, got));
        buffer.resize(got);
        return buffer;
    }

    VirtualClock clock{1000000};
    std::shared_ptr<VirtualBus> bus;
    SimTransport transport;
};

TEST_F(SimTransportTest, ReadWaitsTenPlusTwoMillisecondsPerByteOrEndsWithTheArrivedReply) {
    struct Case {
        int delayMs; // of the reply to a request sent just before the read; -1: no request
        size_t count;
        size_t got;
        uint64_t elapsedUs;
    };
    const Case cases[] = {
        {-1, 0, 0, 0},      // nothing asked for: no wait
        {-1, 1, 0, 12000},  // silence: 10 ms plus 2 ms per byte
        {-1, 28, 0, 66000}, // likewise
        {0, 7, 7, 0},       // the count has arrived: at once
        {0, 20, 9, 1000},   // fewer arrive: one millisecond after the last byte
        {20, 7, 7, 20000},  // the read allows 24 ms and ends with the reply
        {30, 7, 0, 24000},  // too late for this read
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("delay " + std::to_string(c.delayMs) + ", count " + std::to_string(c.count));
        clock.AdvanceUs(1000000); // whatever was still on its way arrives and is dropped
        transport.Purge();
        const uint64_t before = clock.NowUs();
        if (c.delayMs >= 0) {
            bus->SetFaults(31042, {.delayMs = static_cast<uint32_t>(c.delayMs)});
            Write(RequestBytes(1, 204)); // 9 bytes come back
        }
        EXPECT_EQ(Read(c.count).size(), c.got);
        EXPECT_EQ(clock.NowUs() - before, c.elapsedUs);
    }
    EXPECT_EQ(Read(9).size(), 9u); // the late reply does come
}

TEST_F(SimTransportTest, PurgeDropsWhatHasArrivedOnlyAndRequestsTravelAtTheBaudRate) {
    Write(RequestBytes(1, 204));
    EXPECT_EQ(transport.Available(), 9u);
    EXPECT_TRUE(transport.Purge());
    EXPECT_EQ(transport.Available(), 0u);

    bus->SetFaults(31042, {.delayMs = 50});
    Write(RequestBytes(1, 204));
    EXPECT_TRUE(transport.Purge());
    clock.AdvanceUs(50000);
    EXPECT_EQ(transport.Available(), 9u);
    transport.Purge();

    // Requests travel at the transport's baud rate.
    EXPECT_FALSE(transport.SetBaud(1234));
    EXPECT_EQ(transport.LastError(), static_cast<uint32_t>(EINVAL));
    ASSERT_TRUE(transport.SetBaud(2400));
    EXPECT_EQ(transport.Baud(), 2400u);
    Write(RequestBytes(1, 2));
    EXPECT_TRUE(Read(7).empty());
    EXPECT_EQ(bus->RequestLog().back().baud, 2400u);
}

class SimScheme : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterSimTransportScheme();
        ForgetSharedBuses();
        SetSchemeClock(&clock);
    }
    void TearDown() override {
        SetSchemeClock(nullptr);
        ForgetSharedBuses();
    }
    VirtualClock clock;
};

// The built-in bus is kept across opens; a scenario file is opened by its path, or fails with the reason.
TEST_F(SimScheme, OpensTheBuiltInBusOrAScenarioFile) {
    PortHandle port = ComOpenDevice("sim", 9600);
    ASSERT_NE(port, kInvalidPort);
    // The cable loops RTS back to CTS and DTR to DSR; unplugged, it loops nothing.
    EXPECT_TRUE(ComDetectCable(port));
    std::string error;
    SharedBus("", error)->SetCablePresent(false);
    EXPECT_FALSE(ComDetectCable(port));
    SharedBus("", error)->SetCablePresent(true);
    auto transport = ComTransport(port);
    ASSERT_TRUE(transport);
    EXPECT_EQ(&transport->GetClock(), &clock);
    size_t n = 0;
    ASSERT_TRUE(transport->Write(test::SetStationFrame(31042, 77), n));
    transport.reset();
    ASSERT_TRUE(ComClose(port));

    port = ComOpenDevice("sim", 9600);
    ASSERT_NE(port, kInvalidPort);
    EXPECT_EQ(SharedBus("", error)->ModuleBySerial(31042)->station, 77);
    ComClose(port);

    port = ComOpenDevice("sim:" + std::string(TERRIX_SIM_SCENARIO_DIR) + "/collision.json", 9600);
    ASSERT_NE(port, kInvalidPort);
    ASSERT_TRUE(ComTransport(port)->Write(RequestBytes(5, 2), n));
    Bytes header(7);
    ASSERT_TRUE(ComTransport(port)->Read(header, n));
    EXPECT_EQ(n, 7u);
    EXPECT_FALSE(test::HeaderChecksumOk(header)) << "the scenario's collision at station 5";
    ComClose(port);

    EXPECT_EQ(ComOpenDevice("sim:/nonexistent/bus.json", 9600), kInvalidPort);
    EXPECT_EQ(LastPortError(), static_cast<uint32_t>(ENOENT));
    EXPECT_NE(LastSchemeError().find("/nonexistent/bus.json"), std::string::npos);
    const std::string path = ::testing::TempDir() + "terrix_sim_bad_scenario.json";
    std::ofstream(path) << R"({"modules": [{"serialNo": 1, "moduleName": "X", "station": 300}]})";
    EXPECT_EQ(ComOpenDevice("sim:" + path, 9600), kInvalidPort);
    EXPECT_EQ(LastPortError(), static_cast<uint32_t>(EINVAL));
    EXPECT_NE(LastSchemeError().find("modules[0].station"), std::string::npos);
    std::remove(path.c_str());
    EXPECT_EQ(ComOpenDevice("sim", 1234), kInvalidPort);
}

} // namespace
} // namespace terrix::sim
