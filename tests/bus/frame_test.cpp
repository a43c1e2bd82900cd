#include "core/bus/bus_error.h"
#include "core/bus/frame.h"

#include "bus_fixture.h"

#include <array>

namespace terrix::test {
namespace {

using Frame = std::vector<uint8_t>;

TEST(RequestFrame, LayoutLengthByteChecksumsAndFlag) {
    EXPECT_EQ(BuildRequest(5, 253, 190, {}), (Frame{5, 253, 0, 8, 190, 72, 0xFE}));
    // The length counts the data checksum, which is the unmasked byte sum.
    const uint8_t data[] = {200, 100};
    EXPECT_EQ(BuildRequest(1, 253, 193, data), (Frame{1, 253, 3, 8, 193, 74, 0xFE, 200, 100, 44}));
    EXPECT_TRUE(BuildRequest(5, 253, 193, std::vector<uint8_t>(255, 1)).empty());
    std::vector<int> flags;
    for (const uint8_t command : {0, 20, 21, 249, 250, 252, 253}) {
        flags.push_back(RequestFlag(command));
    }
    EXPECT_EQ(flags, (std::vector<int>{0, 0, 8, 8, 0, 0, 8})) << "commands 0, 20, 21, 249, 250, 252, 253";
}

class FrameTest : public BusFixture {};

TEST_F(FrameTest, SendWaitsTwelveMillisecondsPerByteAndFailuresLeaveBusErrorAlone) {
    SetLastBusError(42);
    EXPECT_FALSE(SendFrame(port, 5, 253, 191, 2, nullptr)); // data announced but missing
    EXPECT_TRUE(transport->writes.empty());
    const uint64_t start = clock.NowUs();
    ASSERT_TRUE(SendFrame(port, 5, 253, 190, 0, nullptr));
    EXPECT_EQ(clock.NowUs() - start, 84'000u);
    const uint8_t data[3] = {1, 2, 3};
    ASSERT_TRUE(SendFrame(port, 5, 253, 191, 3, data));
    EXPECT_EQ(clock.NowUs() - start, 12'000u * (7 + 11));
    // A broadcast is answered by nobody: no read follows it.
    ASSERT_TRUE(Transact(port, kBroadcastStation, 1, data, 0, {}));
    EXPECT_TRUE(transport->readTimesUs.empty());
    transport->failWrites = true;
    EXPECT_FALSE(SendFrame(port, 5, 253, 190, 0, nullptr));
    EXPECT_EQ(LastBusError(), 42);
    EXPECT_FALSE(SendFrame(kInvalidPort, 5, 253, 190, 0, nullptr));
}

struct ReplyCase {
    const char* name;
    Frame reply;
    uint16_t expected;
    bool result;
    uint16_t error;
    uint64_t waitMs; // 2 ms per announced reply byte, 24 ms for silence, 110 ms after a header checksum error
};

TEST_F(FrameTest, ReplyChecksAndWaits) {
    const Frame ok = ModuleReply(5, 190, 0, {6});
    Frame badChecksum = ok;
    badChecksum[5] ^= 0x01;
    const ReplyCase cases[] = {
        {"success", ok, 1, true, 0, 4},
        {"success, four bytes", ModuleReply(5, 2, 0, {1, 2, 3, 4}), 4, true, 0, 10},
        {"no reply", {}, 1, false, 9, 24},
        {"incomplete header", Frame(ok.begin(), ok.begin() + 4), 1, false, 10, 1},
        {"header checksum", badChecksum, 1, false, 11, 110},
        {"no data, status 0", ModuleReply(5, 190, 0, {}), 1, false, 12, 0},
        {"no data, status 6", ModuleReply(5, 190, 6, {}), 1, false, 6, 0},
        {"no data expected", ModuleReply(5, 191, 0, {}), 0, true, 0, 0},
        {"incomplete data", Frame(ok.begin(), ok.end() - 1), 1, false, 13, 5},
        {"busy", ModuleReply(5, 190, 0x40, {6}), 1, false, 8, 4},
        {"status error wins over busy", ModuleReply(5, 190, 0x42, {6}), 1, false, 2, 4},
        {"other status bits ignored", ModuleReply(5, 190, 0x88, {6}), 1, true, 0, 4},
    };
    for (const ReplyCase& c : cases) {
        SCOPED_TRACE(c.name);
        transport->QueueReply(c.reply);
        std::array<uint8_t, 4> buffer{};
        const uint64_t start = clock.NowUs();
        const int purges = transport->purges;
        EXPECT_EQ(ReceiveFrame(port, c.expected, buffer), c.result);
        EXPECT_EQ(LastBusError(), c.error);
        EXPECT_EQ(clock.NowUs() - start, c.waitMs * 1000);
        EXPECT_EQ(transport->purges - purges, c.error == 11 ? 1 : 0) << "the garbled rest is thrown out";
        transport->Purge();
    }
}

TEST_F(FrameTest, ReplyDataIsCopiedZeroFilledOrCut) {
    std::array<uint8_t, 6> buffer;
    buffer.fill(0xAA);
    transport->QueueReply(ModuleReply(5, 2, 0, {9, 8}));
    ASSERT_TRUE(ReceiveFrame(port, 5, buffer));
    // Two data bytes plus the module's checksum byte are copied, the rest of the expected length is zero.
    EXPECT_EQ(buffer, (std::array<uint8_t, 6>{9, 8, 17, 0, 0, 0xAA}));

    buffer.fill(0xAA);
    transport->QueueReply(ModuleReply(5, 2, 0, {1, 2, 3, 4, 5, 6, 7}));
    ASSERT_TRUE(ReceiveFrame(port, 3, buffer));
    EXPECT_EQ(buffer, (std::array<uint8_t, 6>{1, 2, 3, 0xAA, 0xAA, 0xAA}));

    // A module error still delivers the data block.
    transport->QueueReply(ModuleReply(5, 241, 5, {1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(ReceiveFrame(port, 6, buffer));
    EXPECT_EQ(LastBusError(), 5);
    EXPECT_EQ(buffer, (std::array<uint8_t, 6>{1, 2, 3, 4, 5, 6}));

    // An expected length beyond the caller's buffer is clamped to it.
    transport->QueueReply(ModuleReply(5, 2, 0, std::vector<uint8_t>(250, 7)));
    std::vector<uint8_t> small(4);
    EXPECT_TRUE(ReceiveFrame(port, 270, small));
    EXPECT_EQ(small, (std::vector<uint8_t>{7, 7, 7, 7}));
}

// Bytes waiting before a request is sent (a reply that came after its time-out) answer no request of ours
// and are never read as its reply.
TEST_F(FrameTest, StaleRepliesAreNeverTakenForTheNextOne) {
    EXPECT_FALSE(Transact(port, 5, 194, {}, 4, {}));
    EXPECT_EQ(LastBusError(), 9);
    transport->QueueReply(ModuleReply(5, 194, 0, {9, 9, 9, 9})); // the late reply
    ReplyOnce(ModuleReply(3, 2, 0, {1, 2, 3, 4}));
    std::array<uint8_t, 4> buffer{};
    ASSERT_TRUE(Transact(port, 3, 2, {}, 4, buffer));
    EXPECT_EQ(buffer, (std::array<uint8_t, 4>{1, 2, 3, 4}));

    // A tty raises both modem lines when it is opened; the line wants them off.
    VirtualClock otherClock;
    RegisterTransportScheme("stale-test", [&](std::string_view, uint32_t, uint32_t&) {
        auto t = std::make_unique<ScriptedTransport>(otherClock);
        t->rts = t->dtr = true;
        return t;
    });
    const PortHandle opened = ComOpenDevice("stale-test", 9600);
    ASSERT_NE(opened, kInvalidPort);
    const auto* fresh = static_cast<ScriptedTransport*>(ComTransport(opened).get());
    EXPECT_FALSE(fresh->rts || fresh->dtr);
    ComClose(opened);
}

} // namespace
} // namespace terrix::test
