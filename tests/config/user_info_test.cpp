#include "core/config/user_info.h"
#include "core/inventory/module_file.h"
#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace terrix::test {
namespace {

class UserInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDataDir(dir.path());
        record.stationInfo.wSerialNo = 4711;
        record.stationInfo.SetModuleName("PX-TAVIK2XV");
    }
    std::string Stored(const char* key) {
        return CIniSection(ModuleFilePath(4711), "UserInfo").ReadString(key, "<missing>");
    }
    TempDir dir;
    ModuleRecord record;
};

TEST_F(UserInfoTest, TwoCommentLinesRoundTripClearedFieldsStoreEmptyKeysAndLongTextsAreCut) {
    EXPECT_EQ(UserInfoTitle(record), "4711 (PX-TAVIK2XV)");
    ASSERT_TRUE(ApplyUserInfo(record, "Field 3", "a\r\nb"));
    EXPECT_EQ(FieldText(record.szComment), "a\\nb");
    EXPECT_EQ(Stored("szLocation") + "|" + Stored("szComment"), "Field 3|a\\nb");
    ModuleRecord read;
    ASSERT_TRUE(ReadUserData(4711, read));
    EXPECT_EQ(UserPlaceText(read) + "|" + UserCommentText(read), "Field 3|a\nb");

    // Clearing both fields stores empty keys.
    ASSERT_TRUE(ApplyUserInfo(record, "", ""));
    EXPECT_EQ(Stored("szLocation") + "|" + Stored("szComment"), "|");

    // The texts are kept in the module file's code page and shown in UTF-8.
    ASSERT_TRUE(ApplyUserInfo(record, "Gr\xC3\xBCnland", "5 \xE2\x82\xAC"));
    EXPECT_EQ(FieldText(record.szLocation), "Gr\xFCnland");
    EXPECT_EQ(UserPlaceText(record) + "|" + UserCommentText(record), "Gr\xC3\xBCnland|5 \xE2\x82\xAC");

    // Long texts are cut.
    ASSERT_TRUE(ApplyUserInfo(record, std::string(100, 'p') + "\nq", std::string(600, 'c') + "\nd"));
    EXPECT_EQ(FieldText(record.szLocation), std::string(78, 'p'));
    // The first line is cut to 512, then the whole to 510.
    EXPECT_EQ(FieldText(record.szComment), std::string(510, 'c'));

    // A cut that would leave half a line break drops its backslash.
    ASSERT_TRUE(ApplyUserInfo(record, "", std::string(509, 'c') + "\nd"));
    EXPECT_EQ(FieldText(record.szComment), std::string(509, 'c'));
    ASSERT_TRUE(ApplyUserInfo(record, "", std::string(508, 'c') + "\nd"));
    EXPECT_EQ(FieldText(record.szComment), std::string(508, 'c') + "\\n");
}

TEST_F(UserInfoTest, CollisionPlaceholderAndUnwritableFileAreRefused) {
    ModuleRecord collision = record;
    collision.stationInfo.wSerialNo = kNoSerial;
    InventoryFileError error;
    EXPECT_FALSE(ApplyUserInfo(collision, "x", "y", &error));
    EXPECT_EQ(error.code, kNoSerialNumber);
    EXPECT_EQ(FieldText(collision.szLocation), "") << "the placeholder is left unchanged";

    std::filesystem::create_directories(ModuleFilePath(4711)); // a directory where the file should be
    error = {};
    EXPECT_FALSE(ApplyUserInfo(record, "x", "y", &error));
    EXPECT_TRUE(error.Failed());
}

} // namespace
} // namespace terrix::test
