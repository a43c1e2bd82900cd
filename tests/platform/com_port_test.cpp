#include "core/platform/com_port.h"
#include "core/platform/data_paths.h"
#include "core/platform/port_user.h"
#include "core/platform/serial_transport.h"
#include "support/pty_pair.h"
#include "support/scripted_transport.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace terrix::test {
namespace {

TEST(ComPort, OpensAPseudoTerminalExclusivelyAndFailuresCarryTheSystemError) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    const PortHandle first = ComOpenDevice(pty.slavePath(), 9600);
    ASSERT_NE(first, kInvalidPort) << PortErrorText(LastPortError(), pty.slavePath());
    EXPECT_EQ(LastPortError(), 0u);

    const int descriptorsBefore = CountOpenDescriptors();
    const PortHandle second = ComOpenDevice(pty.slavePath(), 9600);
    EXPECT_EQ(std::make_tuple(second, LastPortError()),
              std::make_tuple(kInvalidPort, static_cast<uint32_t>(EBUSY)));
    EXPECT_EQ(CountOpenDescriptors(), descriptorsBefore)
        << "a failed open must not leave a descriptor behind";
    EXPECT_NE(PortErrorText(LastPortError(), pty.slavePath()).find("in use"), std::string::npos);

    EXPECT_TRUE(ComClose(first));
    const PortHandle again = ComOpenDevice(pty.slavePath(), 9600);
    ASSERT_NE(again, kInvalidPort) << PortErrorText(LastPortError(), pty.slavePath());
    EXPECT_FALSE(ComDetectCable(again)) << "a pseudo-terminal loops nothing back";
    ComClose(again);

    // Failures carry the system error.
    const int descriptorsNow = CountOpenDescriptors();
    EXPECT_EQ(ComOpenDevice("/dev/does-not-exist-terrix", 9600), kInvalidPort);
    EXPECT_EQ(LastPortError(), static_cast<uint32_t>(ENOENT));
    EXPECT_EQ(ComOpenDevice("/dev/null", 9600), kInvalidPort);
    EXPECT_EQ(LastPortError(), static_cast<uint32_t>(ENOTTY));
    EXPECT_EQ(CountOpenDescriptors(), descriptorsNow);
    EXPECT_NE(PortErrorText(EACCES, "/dev/ttyS0").find("dialout"), std::string::npos);

    SetLastPortError(77);
    EXPECT_FALSE(ComPurge(kInvalidPort));
    EXPECT_EQ(LastPortError(), 0u);
    EXPECT_FALSE(ComClose(kInvalidPort));
    EXPECT_FALSE(ComSetBaud(kInvalidPort, 9600));
}

TEST(ComPort, PortNumberMapsThroughTheSettingsAndNoNumberMeansACheckedOpen) {
    TempDir dir;
    SetDataDir(dir.path());
    EXPECT_EQ(PortDeviceName(1) + " " + PortDeviceName(4), "/dev/ttyS0 /dev/ttyS3");
    PtyPair pty;
    ASSERT_TRUE(SetPortDeviceName(2, pty.slavePath()));
    const PortHandle port = ComOpen(2, 9600);
    ASSERT_NE(port, kInvalidPort);
    EXPECT_EQ(ComTransport(port)->Describe(), pty.slavePath());
    ComClose(port);

    // No port number means the checked open of COM-1's device, which does not exist here.
    ComPortContext context;
    PortUser user(&context);
    EXPECT_FALSE(user.Acquire());
    EXPECT_EQ(std::make_tuple(context.dwError, context.hPort),
              std::make_tuple(kErrorCableCheck, kInvalidPort));
}

TEST(ComPort, CableDetectionRunsAllFourProbes) {
    VirtualClock clock;
    for (const auto& [name, rtsLoop, dtrLoop, expected] :
         {std::tuple{"full loop", true, true, true}, std::tuple{"RTS only", true, false, false},
          std::tuple{"DTR only", false, true, false}, std::tuple{"none", false, false, false}}) {
        auto owned = std::make_unique<ScriptedTransport>(clock);
        ScriptedTransport* t = owned.get();
        t->loopRtsToCts = rtsLoop;
        t->loopDtrToDsr = dtrLoop;
        const PortHandle port = ComAdopt(std::move(owned));
        EXPECT_EQ(ComDetectCable(port), expected) << name;
        EXPECT_EQ(t->modemStatusReads, 5) << name;
        ComClose(port);
    }
}

TEST(SerialTransportTest, ReadsWhatArrivesAndEndsOnSilence) {
    PtyPair pty;
    uint32_t error = 0;
    auto transport = SerialTransport::Open(pty.slavePath(), 9600, error);
    ASSERT_TRUE(transport) << error;
    const uint8_t bytes[3] = {1, 2, 3};
    ASSERT_EQ(::write(pty.master(), bytes, 3), 3);
    std::array<uint8_t, 7> buffer{};
    size_t got = 0;
    ASSERT_TRUE(transport->Read(buffer, got));
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + static_cast<long>(got)),
              std::vector<uint8_t>(bytes, bytes + 3));

    // Silence: the read ends after its total time-out, never earlier.
    const uint64_t start = SystemClock::Instance().NowUs();
    ASSERT_TRUE(transport->Read(buffer, got));
    EXPECT_EQ(got, 0u);
    EXPECT_GE(SystemClock::Instance().NowUs() - start, 24'000u);

    size_t written = 0;
    const std::array<uint8_t, 4> out{9, 8, 7, 6};
    ASSERT_TRUE(transport->Write(out, written));
    EXPECT_EQ(written, 4u);
    std::array<uint8_t, 4> echo{};
    ASSERT_EQ(::read(pty.master(), echo.data(), echo.size()), 4);
    EXPECT_EQ(echo, out);
    EXPECT_TRUE(transport->SetBaud(2400));
    EXPECT_EQ(transport->Baud(), 2400u);
    EXPECT_FALSE(transport->SetBaud(1234));
}

} // namespace
} // namespace terrix::test
