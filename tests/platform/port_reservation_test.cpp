// A port reserved for one PortUser: the others can neither take it nor close it, and the reservation
// binds only its own context.

#include "core/platform/com_port.h"
#include "core/platform/port_user.h"
#include "support/pty_pair.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace terrix::test {
namespace {

class PortReservationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        context.nPortNo = 1;
        context.device = pty.slavePath();
    }
    void TearDown() override {
        if (context.hPort != kInvalidPort) {
            ComClose(context.hPort);
        }
    }

    PtyPair pty;
    ComPortContext context;
};

TEST_F(PortReservationTest, OnlyTheHolderOpensAndClosesAReservedPort) {
    PortUser holder;
    PortUser other(&context);
    // What a call returned with the error and the port it left in the context.
    const auto outcome = [this](bool ok) { return std::make_tuple(ok, context.dwError, context.hPort); };
    EXPECT_FALSE(holder.Acquire()) << "no context yet";
    EXPECT_FALSE(PortUser::IsReserved(context));
    ASSERT_TRUE(holder.Reserve(&context));
    EXPECT_TRUE(holder.Reserve()) << "reserving again is no conflict";
    EXPECT_TRUE(PortUser::IsReserved(context));

    // Reserved while still closed: the other user must not open it either.
    EXPECT_EQ(outcome(other.Acquire()), std::make_tuple(false, kErrorPortReserved, kInvalidPort))
        << "a refused acquire opens nothing";
    EXPECT_EQ(PortUserErrorText(context, pty.slavePath()), kBusBusyMeasuringText);

    ASSERT_TRUE(holder.Acquire());
    EXPECT_EQ(context.dwError, 0u);
    const PortHandle port = context.hPort;
    ASSERT_NE(port, kInvalidPort);
    ASSERT_TRUE(holder.Acquire());
    EXPECT_EQ(context.hPort, port) << "an open port is used unchanged";

    EXPECT_EQ(outcome(other.Acquire()), std::make_tuple(false, kErrorPortReserved, port));
    EXPECT_FALSE(other.Release()) << "only the holder closes the port";
    EXPECT_NE(ComTransport(port), nullptr) << "the port is still open";
    EXPECT_EQ(outcome(other.Reserve()), std::make_tuple(false, kErrorPortReserved, port));

    EXPECT_TRUE(holder.Release());
    EXPECT_FALSE(holder.Release()) << "already closed";
    EXPECT_EQ(ComTransport(port), nullptr);
    EXPECT_FALSE(other.Acquire()) << "the reservation outlives the holder's release";

    holder.FreeReservation();
    EXPECT_FALSE(PortUser::IsReserved(context));
    ASSERT_TRUE(other.Acquire());
    EXPECT_EQ(context.dwError, 0u);
    EXPECT_TRUE(other.Release());
}

TEST_F(PortReservationTest, AnotherContextAndAGoneHolderAreFree) {
    PtyPair secondPty;
    ASSERT_TRUE(secondPty.ok());
    ComPortContext second;
    second.nPortNo = 2;
    second.device = secondPty.slavePath();

    auto holder = std::make_unique<PortUser>();
    ASSERT_TRUE(holder->Reserve(&context));
    ASSERT_TRUE(holder->Acquire());

    // A user of the second port is not bothered by the first port's reservation.
    PortUser other;
    ASSERT_TRUE(other.Acquire(&second)) << PortErrorText(LastPortError(), second.device);
    EXPECT_FALSE(PortUser::IsReserved(second));
    EXPECT_TRUE(other.Release());

    // The holder's open port stays open when the holder goes, and the reservation goes with it.
    const PortHandle port = context.hPort;
    holder.reset();
    EXPECT_FALSE(PortUser::IsReserved(context));
    EXPECT_EQ(context.hPort, port);
    ASSERT_TRUE(other.Acquire(&context));
    EXPECT_EQ(context.hPort, port) << "the next user takes the open port over";
    EXPECT_TRUE(other.Release());
}

} // namespace
} // namespace terrix::test
