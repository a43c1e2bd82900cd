#include "core/inventory/bus_info_file.h"
#include "core/inventory/bus_list.h"
#include "core/inventory/module_file.h"
#include "inventory_test_util.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <random>

namespace terrix {
namespace {

using namespace terrix::testing;
using Robustness = DataDirTest;

std::string RandomBytes(size_t size, uint32_t seed) {
    std::mt19937 rng(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(rng() & 0xFF);
    }
    return bytes;
}

TEST_F(Robustness, DamagedFilesYieldDefaults) {
    const ModuleRecord zero;
    const std::vector<std::pair<std::string, std::string>> contents = {
        {"empty", ""},
        {"text garbage", "}{][[[=\n==\n[ModuleInfo\nbDisabled\n=1\n[StationInfo]]\nwSerialNo 5\n[\n]\n"},
        {"NUL bytes", std::string(4096, '\0')},
        {"random bytes", RandomBytes(64 * 1024, 7)},
        {"no line end", std::string(70000, '[')},
    };
    for (const auto& [name, text] : contents) {
        SCOPED_TRACE(name);
        WriteFileBytes(Dir() / "9.ini", text);
        WriteFileBytes(Settings(), text);
        ModuleRecord record;
        ReadModuleFile(9, record);
        EXPECT_EQ(AsModuleFile(record), AsModuleFile(zero));
        CBusList list;
        EXPECT_EQ(LoadBusInfo(list), 0u);
        EXPECT_EQ(list.LoadKnownModules()->Count(), 0u);
    }
}

TEST_F(Robustness, HugeModuleFileIsReadInPartAndNeverWrittenBack) {
    // 17 MB, past the reader's limit, of random bytes behind two valid sections.
    const std::string text =
        "[ModuleInfo]\nbDisabled=1\n[UserInfo]\nszLocation=kept\n" + RandomBytes(17u * 1024 * 1024, 99);
    WriteFileBytes(Dir() / "10.ini", text);
    ModuleRecord record;
    ReadModuleFile(10, record);
    EXPECT_EQ(std::pair(record.bDisabled, FieldText(record.szLocation)), std::pair(1, std::string("kept")));
    record.stationInfo.wSerialNo = 10;
    InventoryFileError error;
    EXPECT_FALSE(WriteUserData(record, &error));
    EXPECT_EQ(error.code, EFBIG);
    EXPECT_EQ(std::filesystem::file_size(Dir() / "10.ini"), text.size());
}

} // namespace
} // namespace terrix
