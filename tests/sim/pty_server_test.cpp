// The simulator on a pseudo-terminal, reached the way the program reaches a serial port.

#include "core/platform/serial_transport.h"
#include "sim/pty_server.h"
#include "sim/scenario.h"
#include "sim_test_support.h"
#include "support/child_process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace terrix::sim {
namespace {

using test::HeaderChecksumOk;
using test::RequestBytes;
using Bytes = std::vector<uint8_t>;

// Collects `count` bytes, reading again while they trickle in; the generous limit only matters on a
// heavily loaded machine.
Bytes ReadBytes(Transport& t, size_t count, int limitMs = 2000) {
    Bytes out;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (out.size() < count && std::chrono::steady_clock::now() < end) {
        Bytes chunk(count - out.size());
        size_t got = 0;
        if (!t.Read(chunk, got)) {
            break;
        }
        out.insert(out.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
    }
    return out;
}

void Send(Transport& t, const Bytes& bytes) {
    size_t written = 0;
    ASSERT_TRUE(t.Write(bytes, written));
    ASSERT_EQ(written, bytes.size());
}

// Waits until the bus has heard `count` requests in all.
bool WaitForRequests(const VirtualBus& bus, size_t count) {
    for (int i = 0; i < 400 && bus.RequestLog().size() < count; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return bus.RequestLog().size() >= count;
}

class PtyServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        server = PtyServer::Create(BuildBus(DefaultScenario()), error);
        ASSERT_TRUE(server) << error;
        server->Start();
    }
    std::unique_ptr<SerialTransport> OpenClient() {
        uint32_t error = 0;
        auto t = SerialTransport::Open(server->SlavePath(), 9600, error);
        EXPECT_TRUE(t) << "open failed: " << error;
        return t;
    }

    std::unique_ptr<PtyServer> server;
};

TEST_F(PtyServerTest, AnswersThroughTheSerialTransportAfterGarbageAndIsSilentForEmptyStations) {
    auto client = OpenClient();
    ASSERT_TRUE(client);
    Bytes stream = {0x13, 0xFE, 0x00, 0xFE, 0x88};
    const Bytes request = RequestBytes(1, 2);
    stream.insert(stream.end(), request.begin(), request.end());
    Send(*client, stream);
    const Bytes header = ReadBytes(*client, 7);
    ASSERT_EQ(header.size(), 7u);
    EXPECT_TRUE(HeaderChecksumOk(header));
    const Bytes data = ReadBytes(*client, header[2]);
    ASSERT_EQ(data.size(), header[2]);
    EXPECT_EQ(std::string(data.begin() + 15, data.begin() + 24), "PX-TAVIK2");
    EXPECT_EQ(server->LineBaud(), 9600u);

    Send(*client, RequestBytes(77, 2));
    ASSERT_TRUE(WaitForRequests(*server->Bus(), 2));
    EXPECT_TRUE(ReadBytes(*client, 7, 100).empty());
}

TEST_F(PtyServerTest, ASecondUserIsKeptOut) {
    auto client = OpenClient();
    ASSERT_TRUE(client);
    uint32_t error = 0;
    EXPECT_FALSE(SerialTransport::Open(server->SlavePath(), 9600, error));
    EXPECT_EQ(error, static_cast<uint32_t>(EBUSY));
    client.reset();
    // After the first user is gone the device opens again.
    EXPECT_TRUE(OpenClient());
}

TEST_F(PtyServerTest, BaudLadderFindsAModuleListeningAtTwentyFourHundred) {
    server->Bus()->ModifyBySerial(31042, [](ModuleState& m) { m.baud = 2400; });
    auto client = OpenClient();
    ASSERT_TRUE(client);
    Send(*client, RequestBytes(1, 2));
    ASSERT_TRUE(WaitForRequests(*server->Bus(), 1));
    EXPECT_TRUE(ReadBytes(*client, 7, 100).empty()); // not understood at 9600

    size_t heard = server->Bus()->RequestLog().size();
    for (const uint32_t next : {300u, 600u, 1200u, 2400u, 4800u, 9600u}) {
        Send(*client, test::SetBaudFrame(next));
        // The PC changes its rate only after the command has gone out.
        ASSERT_TRUE(WaitForRequests(*server->Bus(), ++heard));
        ASSERT_TRUE(client->SetBaud(next));
    }
    EXPECT_EQ(server->Bus()->ModuleBySerial(31042)->baud, 9600u);
    Send(*client, RequestBytes(1, 2));
    EXPECT_EQ(ReadBytes(*client, 7).size(), 7u);
}

TEST(TerrixSimProgram, ServesOnALinkUntilTerminated) {
    const std::string dir = ::testing::TempDir();
    const std::string link = dir + "terrix_sim_test_link_" + std::to_string(::getpid());
    const std::string trace = dir + "terrix_sim_test_trace_" + std::to_string(::getpid());
    terrix::test::BackgroundProcess sim(TERRIX_SIM_PATH, {"--link", link, "--trace", trace, "--seed", "5"});
    ASSERT_TRUE(sim.running());
    EXPECT_EQ(sim.firstLine().rfind("/dev/pts/", 0), 0u) << sim.firstLine();

    uint32_t error = 0;
    auto client = SerialTransport::Open(link, 9600, error);
    ASSERT_TRUE(client) << error;
    Send(*client, RequestBytes(252, 2));
    const Bytes header = ReadBytes(*client, 7);
    ASSERT_EQ(header.size(), 7u);
    EXPECT_EQ(header[0], 252);
    client.reset();
    // A second run of a client on the same simulator opens the device again.
    client = SerialTransport::Open(link, 9600, error);
    EXPECT_TRUE(client) << error;
    client.reset();

    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_NE(::access(link.c_str(), F_OK), 0); // the link went with the simulator
    std::ifstream traced(trace);
    std::string request;
    std::string reply;
    std::getline(traced, request);
    std::getline(traced, reply);
    EXPECT_NE(request.find("PC->BUS @9600: FC FD 00 00 02"), std::string::npos) << request;
    EXPECT_NE(reply.find("BUS->PC FC FD"), std::string::npos) << reply;
    std::remove(trace.c_str());
}

TEST(TerrixSimProgram, RefusesABadScenarioWithItsReason) {
    const terrix::test::RunResult r =
        terrix::test::RunProgram(TERRIX_SIM_PATH, {"--scenario", "/nonexistent/x.json"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("/nonexistent/x.json"), std::string::npos) << r.err;
}

} // namespace
} // namespace terrix::sim
