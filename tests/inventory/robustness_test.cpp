#include "core/inventory/bus_info_file.h"
#include "core/inventory/bus_list.h"
#include "core/inventory/module_file.h"
#include "core/platform/ini_document.h"
#include "inventory_test_util.h"
#include "support/test_seed.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

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
    EXPECT_EQ(record.bDisabled, 1);
    EXPECT_EQ(FieldText(record.szLocation), "kept");
    record.stationInfo.wSerialNo = 10;
    InventoryFileError error;
    EXPECT_FALSE(WriteUserData(record, &error));
    EXPECT_EQ(error.code, EFBIG);
    EXPECT_EQ(std::filesystem::file_size(Dir() / "10.ini"), text.size());
}

// Two bus lists that a child saves in turn, over and over: 24 modules from serial 1000 and 16 from 2000, each
// module file marked with its serial, behind 6000 other settings.
class KilledSave : public DataDirTest {
protected:
    static constexpr uint32_t kFillerKeys = 6000;
    void SetUp() override {
        DataDirTest::SetUp();
        std::string text = "[Dialog placement]\r\n";
        for (uint32_t i = 0; i < kFillerKeys; ++i) {
            text += "dValue" + std::to_string(i) + "=0.123456789012345678901234567890\r\n";
        }
        WriteFileBytes(Settings(), text + "[Tail]\r\nEnd=1\r\n");
        for (const auto& [list, first, count] : {std::tuple{&a, 1000, 24}, std::tuple{&b, 2000, 16}}) {
            for (int i = 0; i < count; ++i) {
                auto record = MakeRecord(static_cast<uint16_t>(first + i), static_cast<uint8_t>(i));
                CopyToField(record->szComment, "saved " + std::to_string(first + i));
                list->Add(std::move(record));
            }
        }
    }
    // The settings file holds the whole of one of the two lists, and every module file it names is whole.
    void ExpectWholeState() const {
        ASSERT_EQ(IniDocument::Load(Settings()).Get("Tail", "End"), "1");
        ASSERT_EQ(IniDocument::Load(Settings()).KeyNames("Dialog placement").size(), kFillerKeys);
        CBusList loaded;
        const uint32_t count = LoadBusInfo(loaded);
        ASSERT_TRUE(count == a.Count() || count == b.Count()) << count;
        ASSERT_EQ(SerialStations(loaded), SerialStations(count == a.Count() ? a : b));
        for (uint32_t i = 0; i < count; ++i) {
            ASSERT_EQ(FieldText(loaded.GetAt(i)->szComment),
                      "saved " + std::to_string(loaded.GetAt(i)->SerialNo()));
        }
    }
    CBusList a;
    CBusList b;
};

TEST_F(KilledSave, NeverLeavesATruncatedSettingsOrModuleFile) {
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(a.Save());
    ASSERT_TRUE(b.Save());
    const auto pair =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    ExpectWholeState();

    std::mt19937 rng(test::TestSeed(1));
    std::uniform_int_distribution<long> delay(0, 2 * pair.count());
    for (int round = 0; round < 8; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                a.Save();
                b.Save();
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(rng)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        ExpectWholeState();
    }
}

} // namespace
} // namespace terrix
