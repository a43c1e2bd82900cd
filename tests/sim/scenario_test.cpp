// Scenario files: the documented example, every option and fault, and clear messages for bad ones.

#include "sim/scenario.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <tuple>

namespace terrix::sim {
namespace {

// A scenario of one module "X" with serial number 1 and the given further keys.
std::string OneModule(const std::string& keys) {
    return R"({"modules": [{"serialNo": 1, "moduleName": "X", )" + keys + "}]}";
}

TEST(SimScenario, BadScenariosGiveClearMessagesAndLeaveTheOutputAlone) {
    const std::pair<std::string, const char*> cases[] = {
        {"{\"modules\": [\n{\"serialNo\": 1,,}]}", "JSON syntax error near line 2"},
        {"{}", "'modules' is missing"},
        {"[1, 2]", "scenario: must be an object"},
        {R"({"modules": [{"moduleName": "X"}]})", "modules[0]: 'serialNo' is missing"},
        {R"({"modules": [{"serialNo": 65535, "moduleName": "X"}]})",
         "modules[0].serialNo: must be in 0..65534"},
        {R"({"modules": [{"serialNo": 1, "moduleName": ""}]})", "modules[0].moduleName: must have"},
        {OneModule(R"("serial": 2)"), "modules[0]: unknown key 'serial'"},
        {OneModule(R"("station": "3")"), "modules[0].station: must be an integer"},
        {OneModule(R"("baud": 1000)"), "modules[0].baud: 1000 is not"},
        {OneModule(R"("firmwareVersion": "0xZZ")"), "not a hexadecimal"},
        {OneModule(R"("channels": [{}, {}, {}])"), "at most two channels"},
        {OneModule(R"("channels": [{"sensor": {"unit": 300}}])"),
         "modules[0].channels[0].sensor.unit: must be in 0..255"},
        {OneModule(R"("materialCalibrations": [{"coefficients": [1]}])"), "six coefficients"},
        {OneModule(R"("materialCalibrations": [{}, {"position": 0}])"), "listed twice"},
        {OneModule(R"("offset": 1000)"), "modules[0].offset"},
        {OneModule(R"("channels": [{"signal": {"period": 0.5}}])"),
         "modules[0].channels[0].signal.period: must be 0"},
        {OneModule(R"("faults": {"mute": 1})"), "modules[0].faults.mute: must be true or false"},
    };
    for (const auto& [text, message] : cases) {
        Scenario s;
        s.name = "untouched";
        std::string error;
        EXPECT_FALSE(ParseScenario(text, s, error)) << text;
        EXPECT_NE(error.find(message), std::string::npos) << "got: " << error;
        EXPECT_EQ(s.name, "untouched");
    }
}

// The documented example is valid; every option and fault is read.
TEST(SimScenario, DocumentedExampleAndEveryOptionAreRead) {
    std::ifstream doc(std::string(TERRIX_SIM_SCENARIO_DIR) + "/../SCENARIOS.md");
    const std::string all{std::istreambuf_iterator<char>(doc), {}};
    const size_t start = all.find("```json\n");
    ASSERT_NE(start, std::string::npos);
    Scenario s;
    std::string error;
    ASSERT_TRUE(ParseScenario(all.substr(start + 8, all.find("```", start + 8) - start - 8), s, error))
        << error;
    ASSERT_FALSE(s.modules.empty());

    s = {};
    const char* text = R"({"seed": 3, "cable": false, "modules": [{
        "serialNo": 9, "moduleName": "PX-TAVIK2", "station": 7, "baud": 2400,
        "temperatureCalibrations": [{"position": 4, "id": 5, "valid": false}],
        "halt": {"signal": true},
        "faults": {"mute": true, "cutReplyTo": 8, "delayMs": 30, "fatalCount": 2, "busyCount": 1, "status6": [204]}}]})";
    ASSERT_TRUE(ParseScenario(text, s, error)) << error;
    EXPECT_EQ(std::tuple(s.cable, s.seed), std::tuple(false, 3u));
    const ModuleState& m = s.modules[0];
    EXPECT_EQ(std::tuple(m.baud, m.hasTemperatureCalibrations, m.temperature[4].valid, m.temperature[3].valid,
                         m.haltBySignal),
              std::tuple(2400u, true, false, true, true));
    const ModuleFaults& f = m.faults;
    EXPECT_EQ(std::tuple(f.mute, f.cutReplyTo, f.delayMs, f.fatalCount, f.busyCount, f.status6),
              std::tuple(true, 8, 30u, 2u, 1u, std::set<uint8_t>{204}));
    EXPECT_FALSE(BuildBus(s)->CablePresent());
}

} // namespace
} // namespace terrix::sim
