#include "core/inventory/bus_info_file.h"
#include "core/inventory/bus_list.h"
#include "core/platform/data_paths.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace terrix::test {
namespace {

TEST(BusInfoLostModuleFile, EntryKeepsItsSerialNumber) {
    TempDir dir;
    SetDataDir(dir.path());
    WriteFileBytes(dir / "Terrix.ini", "[BUS INFO]\r\nModules=2\r\nModule0=31042,1\r\nModule1=0,4\r\n");
    CBusList list;
    ASSERT_EQ(LoadBusInfo(list), 2u);
    EXPECT_EQ(list.FindByStation(1)->SerialNo(), 31042) << "no module file: the serial comes from the entry";
    EXPECT_EQ(list.FindByStation(4)->SerialNo(), 0);

    WriteFileBytes(dir / "31042.ini", "[StationInfo]\r\nwSerialNo=31043\r\n");
    ASSERT_EQ(LoadBusInfo(list), 2u);
    EXPECT_EQ(list.FindByStation(1)->SerialNo(), 31043) << "a module file that names a serial wins";
}

} // namespace
} // namespace terrix::test
