// Random and mutated byte streams fed to the reply check: it must never crash or read past a buffer
// (AddressSanitizer watches), and every outcome is one of the documented bus errors.

#include "core/bus/bus_error.h"
#include "core/bus/frame.h"

#include "bus_fixture.h"

#include "support/test_seed.h"

#include <random>

namespace terrix::test {
namespace {

using ReceiveFuzz = BusFixture;

TEST_F(ReceiveFuzz, RandomAndMutatedStreams) {
    std::mt19937 rng(TestSeed(20261206));
    const std::vector<std::vector<uint8_t>> seeds = {
        ModuleReply(5, 2, 0, std::vector<uint8_t>(270, 'A')),
        ModuleReply(5, 241, 5, {1, 2, 3, 4, 5, 0x30}),
        ModuleReply(5, 190, 0, {}),
        ModuleReply(5, 233, 0x40, {8, 0x20, 0, 0, 0, 0x50, 1}),
    };
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> stream;
        if (round % 3 == 0) {
            stream.resize(rng() % 600);
            for (uint8_t& b : stream) {
                b = static_cast<uint8_t>(rng());
            }
        } else {
            stream = seeds[rng() % seeds.size()];
            const int mutations = 1 + static_cast<int>(rng() % 4);
            for (int m = 0; m < mutations && !stream.empty(); ++m) {
                switch (rng() % 3) {
                case 0:
                    stream[rng() % stream.size()] = static_cast<uint8_t>(rng());
                    break;
                case 1:
                    stream.resize(rng() % (stream.size() + 1));
                    break;
                default:
                    stream.insert(stream.begin() + static_cast<long>(rng() % stream.size()),
                                  static_cast<uint8_t>(rng()));
                }
            }
        }
        transport->QueueReply(stream);
        const uint16_t expected = static_cast<uint16_t>(rng() % 300);
        std::vector<uint8_t> buffer(expected);
        const bool result = ReceiveFrame(port, expected, buffer);
        const uint16_t error = LastBusError();
        ASSERT_TRUE(result ? error == 0 : error >= 1 && error <= 13)
            << "round " << round << " error " << error;
        transport->Purge();
    }
}

TEST_F(ReceiveFuzz, ExpectedLengthBeyondTheCallersBufferIsClamped) {
    transport->QueueReply(ModuleReply(5, 2, 0, std::vector<uint8_t>(250, 7)));
    std::vector<uint8_t> small(4);
    EXPECT_TRUE(ReceiveFrame(port, 270, small));
    EXPECT_EQ(small, (std::vector<uint8_t>{7, 7, 7, 7}));
}

} // namespace
} // namespace terrix::test
