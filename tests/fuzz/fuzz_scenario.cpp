// terrix-sim's scenario files (JSON): the parser, and the bus built from a scenario it accepted.

#include "sim/scenario.h"

#include <string_view>

using namespace terrix::sim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Scenario scenario;
    std::string error;
    if (ParseScenario(std::string_view(reinterpret_cast<const char*>(data), size), scenario, error)) {
        (void)BuildBus(scenario, 1);
    }
    return 0;
}
