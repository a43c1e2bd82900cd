// CSV export of stored values: separator, decimal mark, units in the header and error values, checked
// against the file the export writes.

#include <gtest/gtest.h>

#include <tuple>

#include "core/measure/csv_export.h"
#include "core/measure/meas_value_store.h"
#include "core/measure/plot_data.h"
#include "core/measure/time_stamp.h"
#include "measure_test_util.h"

namespace terrix {
namespace {

TEST(CsvExport, WritesTheChosenFormat) {
    test::TempDir dir;
    CMeasValueStore store;
    store.SetDirectory(dir.path().string());
    ModuleRecord module = test::MakeModule(4711, "PX-TAVIK2", 3);
    CopyToField(module.szUnit0, "\xB0\x43"); // "°C" in Windows-1252, as module files keep it
    CopyToField(module.szUnit1, "m;V");
    ASSERT_TRUE(store.Bind(module) && store.OpenReader() && store.OpenWriter());
    const auto append = [&](unsigned second, float v1, float v2, bool error) {
        CMeasRecord& r = store.AppendRecord();
        r.SetStamp(0, PackTimeStamp({5, 3, 2004, 14, 7, second}));
        r.SetFloat(1, v1);
        r.SetFloat(2, v2);
        if (error) {
            r.SetErrorMarker(1, 9);
        }
        ASSERT_TRUE(store.Append());
    };
    append(9, 1.5f, 2.25f, false);
    append(10, 0, 0, true);
    append(11, -3.125f, 1000.5f, false);
    const std::vector<std::string> units = MeasFieldUnits(module);

    // Options, first and end record (cut to the stored records), the file.
    const std::string title = "Date/Time,Value 1 [\u00B0C],Value 2 [m;V]\r\n";
    const std::string stamp = "2004-03-05T14:07:";
    const std::tuple<CsvOptions, uint32_t, uint32_t, std::string> cases[] = {
        {{',', '.', false, false},
         0,
         100,
         title + stamp + "09,1.500,2.250\r\n" + stamp + "10,NaN(9),0.000\r\n" + stamp +
             "11,-3.125,1000.500\r\n"},
        {{';', ',', true, true},
         1,
         3,
         "\xEF\xBB\xBF"
         "Date/Time;Value 1 [\u00B0C];\"Value 2 [m;V]\"\r\n" +
             stamp + "10;;0,000\r\n" + stamp + "11;-3,125;1000,500\r\n"},
        {{',', ',', false, false}, 2, 3, title + stamp + "11,\"-3,125\",\"1000,500\"\r\n"},
    };
    for (const auto& [options, begin, end, expected] : cases) {
        const std::filesystem::path path = dir / "export.csv";
        std::string error;
        ASSERT_TRUE(ExportValuesCsv(store, units, begin, end, options, path.string(), &error)) << error;
        EXPECT_EQ(test::ReadFileBytes(path), expected);
        EXPECT_FALSE(std::filesystem::exists(path.string() + ".part"));
    }

    // A full disk is reported, and the file that was there before stays as it was.
    const std::filesystem::path kept = dir / "kept.csv";
    test::WriteFileBytes(kept, "earlier export");
    test::FullDiskFileSystem fullDisk(40);
    std::string error;
    EXPECT_FALSE(ExportValuesCsv(store, units, 0, 3, {}, kept.string(), &error, fullDisk));
    EXPECT_NE(error.find("kept.csv"), std::string::npos) << error;
    EXPECT_EQ(test::ReadFileBytes(kept), "earlier export");
    EXPECT_FALSE(std::filesystem::exists(kept.string() + ".part"));
}

} // namespace
} // namespace terrix
