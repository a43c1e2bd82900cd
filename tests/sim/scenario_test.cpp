// Scenario files: the built-in bus, the shipped files, and clear messages for bad ones.

#include "sim/scenario.h"
#include "sim/wire_format.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace terrix::sim {
namespace {

TEST(SimScenario, DefaultBusHasMultiplexerTwoProbesAndXv) {
    const Scenario s = DefaultScenario();
    ASSERT_EQ(s.modules.size(), 4u);
    const ModuleState& rov = s.modules[0];
    EXPECT_EQ(rov.info.moduleName, "PX-ROV4");
    EXPECT_EQ(rov.station, 252);

    for (size_t i : {size_t{1}, size_t{2}}) {
        const ModuleState& p = s.modules[i];
        EXPECT_EQ(p.info.moduleName, "PX-TAVIK2");
        EXPECT_EQ(p.info.moduleId, 11);
        EXPECT_EQ(p.channels[0].sensor.unitCode, 25);
        EXPECT_EQ(p.channels[1].sensor.unitCode, 20);
        EXPECT_GT(p.channels[0].measurementCount, 0u);
        EXPECT_TRUE(p.channels[0].signal && p.channels[1].signal);
        EXPECT_FALSE(p.hasTemperatureCalibrations);
        EXPECT_NE(p.material[0].id, 0);
    }
    const ModuleState& xv = s.modules[3];
    EXPECT_EQ(xv.info.moduleName, "PX-TAVIK2XV");
    EXPECT_EQ(xv.info.moduleId, 11);
    EXPECT_TRUE(xv.hasTemperatureCalibrations);
    EXPECT_NE(xv.temperature[0].id, 0);
    EXPECT_NE(xv.material[11].id, 0);
    EXPECT_TRUE(xv.continuous);
    EXPECT_TRUE(xv.xv.temperature);
    // Stations are distinct: the default bus has no collision.
    EXPECT_NE(s.modules[1].station, s.modules[2].station);
    EXPECT_NE(s.modules[2].station, xv.station);
}

TEST(SimScenario, MaterialCoefficientsAreKeptScaledAsTheModuleHoldsThem) {
    const Scenario s = DefaultScenario();
    // c0 = -2.1 is held as -21 (divided by 0.1), c2 = 0.0123 as 0.00123 (divided by 10).
    EXPECT_FLOAT_EQ(s.modules[1].material[0].raw[0], -21.0f);
    EXPECT_FLOAT_EQ(s.modules[1].material[0].raw[2], 0.00123f);
    ScaledDecimal offset{s.modules[3].offsets[1].scale, s.modules[3].offsets[1].mantissa};
    EXPECT_DOUBLE_EQ(FromScaledDecimal(offset), 15.0);
}

TEST(SimScenario, CollisionFilePutsTwoModulesOnOneStation) {
    Scenario s;
    std::string error;
    ASSERT_TRUE(LoadScenarioFile(std::string(TERRIX_SIM_SCENARIO_DIR) + "/collision.json", s, error))
        << error;
    int atFive = 0;
    for (const ModuleState& m : s.modules) {
        atFive += m.station == 5 ? 1 : 0;
    }
    EXPECT_EQ(atFive, 2);
    EXPECT_EQ(s.seed, 7u);
}

TEST(SimScenario, DocumentedExampleIsValid) {
    std::ifstream doc(std::string(TERRIX_SIM_SCENARIO_DIR) + "/../SCENARIOS.md");
    ASSERT_TRUE(doc);
    std::stringstream text;
    text << doc.rdbuf();
    const std::string all = text.str();
    const size_t start = all.find("```json\n");
    ASSERT_NE(start, std::string::npos);
    const size_t end = all.find("```", start + 8);
    ASSERT_NE(end, std::string::npos);
    Scenario s;
    std::string error;
    ASSERT_TRUE(ParseScenario(all.substr(start + 8, end - start - 8), s, error)) << error;
    ASSERT_FALSE(s.modules.empty());
}

TEST(SimScenario, BadScenariosGiveClearMessages) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"{\"modules\": [\n{\"serialNo\": 1,,}]}", "JSON syntax error near line 2"},
        {"{}", "'modules' is missing"},
        {"[1, 2]", "scenario: must be an object"},
        {R"({"modules": [{"moduleName": "X"}]})", "modules[0]: 'serialNo' is missing"},
        {R"({"modules": [{"serialNo": 1, "moduleName": "X", "serial": 2}]})",
         "modules[0]: unknown key 'serial'"},
        {R"({"modules": [{"serialNo": 65535, "moduleName": "X"}]})",
         "modules[0].serialNo: must be in 0..65534"},
        {R"({"modules": [{"serialNo": 1, "moduleName": "X", "station": "3"}]})",
         "modules[0].station: must be an integer"},
        {R"({"modules": [{"serialNo": 1, "moduleName": "X", "baud": 1000}]})",
         "modules[0].baud: 1000 is not"},
        {R"({"modules": [{"serialNo": 1, "moduleName": ""}]})", "modules[0].moduleName: must have"},
        {R"({"modules": [{"serialNo": 1, "moduleName": "X", "firmwareVersion": "0xZZ"}]})",
         "not a hexadecimal"},
        {R"({"modules": [{"serialNo": 1, "moduleName": "X", "channels": [{}, {}, {}]}]})",
         "at most two channels"},
        {R"({"modules": [{"serialNo": 1, "moduleName": "X", "channels": [{"sensor": {"unit": 300}}]}]})",
         "modules[0].channels[0].sensor.unit: must be in 0..255"},
        {R"({"modules": [{"serialNo": 1, "moduleName": "X", "materialCalibrations": [{"coefficients": [1]}]}]})",
         "six coefficients"},
        {R"({"modules": [{"serialNo": 1, "moduleName": "X", "materialCalibrations": [{}, {"position": 0}]}]})",
         "listed twice"},
        {R"({"modules": [{"serialNo": 1, "moduleName": "X", "offset": 1000}]})", "modules[0].offset"},
        {R"({"modules": [{"serialNo": 1, "moduleName": "X", "channels": [{"signal": {"period": 0.5}}]}]})",
         "modules[0].channels[0].signal.period: must be 0"},
        {R"({"modules": [{"serialNo": 1, "moduleName": "X", "faults": {"mute": 1}}]})",
         "modules[0].faults.mute: must be true or false"},
    };
    for (const Case& c : cases) {
        Scenario s;
        s.name = "untouched";
        std::string error;
        EXPECT_FALSE(ParseScenario(c.text, s, error)) << c.text;
        EXPECT_NE(error.find(c.message), std::string::npos) << "got: " << error;
        EXPECT_EQ(s.name, "untouched");
    }
}

TEST(SimScenario, MissingFileNamesThePath) {
    Scenario s;
    std::string error;
    EXPECT_FALSE(LoadScenarioFile("/nonexistent/scenario.json", s, error));
    EXPECT_NE(error.find("/nonexistent/scenario.json"), std::string::npos);
}

TEST(SimScenario, FaultsAndOptionsAreRead) {
    const char* text = R"({"seed": 3, "cable": false, "modules": [{
        "serialNo": 9, "moduleName": "PX-TAVIK2", "station": 7, "baud": 2400,
        "temperatureCalibrations": [{"position": 4, "id": 5, "valid": false}],
        "halt": {"signal": true},
        "faults": {"mute": true, "cutReplyTo": 8, "delayMs": 30, "fatalCount": 2, "busyCount": 1, "status6": [204]}}]})";
    Scenario s;
    std::string error;
    ASSERT_TRUE(ParseScenario(text, s, error)) << error;
    EXPECT_FALSE(s.cable);
    EXPECT_EQ(s.seed, 3u);
    const ModuleState& m = s.modules[0];
    EXPECT_EQ(m.baud, 2400u);
    EXPECT_TRUE(m.hasTemperatureCalibrations);
    EXPECT_FALSE(m.temperature[4].valid);
    EXPECT_TRUE(m.temperature[3].valid);
    EXPECT_TRUE(m.haltBySignal);
    EXPECT_TRUE(m.faults.mute);
    EXPECT_EQ(m.faults.cutReplyTo, 8);
    EXPECT_EQ(m.faults.delayMs, 30u);
    EXPECT_EQ(m.faults.fatalCount, 2u);
    EXPECT_EQ(m.faults.busyCount, 1u);
    EXPECT_EQ(m.faults.status6, std::set<uint8_t>{204});
    EXPECT_FALSE(BuildBus(s)->CablePresent());
}

} // namespace
} // namespace terrix::sim
