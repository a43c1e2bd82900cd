#pragma once
// terrix-cli against terrix-sim on a pseudo-terminal, with a fresh data directory.

#include "support/child_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

namespace terrix::test {

class ConfigE2eTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim = std::make_unique<BackgroundProcess>(TERRIX_SIM_PATH, std::vector<std::string>{});
        ASSERT_TRUE(sim->running()) << "terrix-sim did not start";
        device = sim->firstLine();
    }

    RunResult Cli(std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", device, "--data-dir", data.path().string(), "--quiet"});
        return RunProgram(TERRIX_CLI_PATH, args);
    }

    nlohmann::json Json(const RunResult& result) {
        const nlohmann::json parsed = nlohmann::json::parse(result.out, nullptr, false);
        EXPECT_FALSE(parsed.is_discarded()) << result.out;
        return parsed;
    }

    TempDir data;
    std::unique_ptr<BackgroundProcess> sim;
    std::string device;
};

} // namespace terrix::test
