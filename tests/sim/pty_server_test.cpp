// The simulator program on a pseudo-terminal, reached the way the program reaches a serial port.

#include "core/platform/serial_transport.h"
#include "sim_test_support.h"
#include "support/child_process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace terrix::sim {
namespace {

using test::RequestBytes;
using Bytes = std::vector<uint8_t>;

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
    size_t written = 0;
    ASSERT_TRUE(client->Write(RequestBytes(252, 2), written));
    // The reply (decoded end to end) is read while it trickles in, so that the trace holds it too.
    Bytes answer(7);
    size_t got = 0;
    for (int i = 0; i < 100 && got < answer.size(); ++i) {
        size_t n = 0;
        ASSERT_TRUE(client->Read(std::span(answer).subspan(got), n));
        got += n;
    }
    EXPECT_EQ(got, 7u);
    client.reset();

    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_NE(::access(link.c_str(), F_OK), 0); // the link went with the simulator
    std::ifstream traced(trace);
    std::string request, reply;
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
