// The calibration files: the LOC/CAL/TDC tokenizer on its own, then a LOC file and the CAL and TDC files it
// names (calibration 1; others are missing), each from a part of the input, all in memory.

#include "core/config/calib_file_reader.h"
#include "core/config/calib_files.h"
#include "core/config/calib_set.h"
#include "tests/fuzz/fuzz_util.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cerrno>

using namespace terrix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string cal = in.ConsumeRandomLengthString(2000);
    const std::string tdc = in.ConsumeRandomLengthString(2000);
    const std::string loc = in.ConsumeRemainingBytesAsString();

    CCalibFileReader reader = CCalibFileReader::FromText(loc);
    CCalibFileReader::Item item;
    size_t items = 0;
    while (reader.NextItem(item)) {
        // Texts are cut to what the fields keep; every item consumes input, so there are never more items
        // than bytes.
        fuzz::Check(item.text.size() <= CCalibFileReader::kMaxText &&
                    item.value.size() <= CCalibFileReader::kMaxText && ++items <= loc.size());
    }

    const CalibFileOpener files = [&cal, &tdc](const std::string& name, std::filesystem::path& file) {
        file = name;
        if (name == CalibFileName(1, "CAL")) {
            return CCalibFileReader::FromText(cal);
        }
        if (name == CalibFileName(1, "TDC")) {
            return CCalibFileReader::FromText(tdc);
        }
        return CCalibFileReader::Unreadable(ENOENT);
    };
    MatCalib mat{};
    ReadCalFrom(files, 1, mat);
    TempCalib temp{};
    ReadTdcFrom(files, 1, temp);
    CalibSet set{};
    CalibFileError error{};
    ReadLocFrom(CCalibFileReader::FromText(loc), "fuzz.LOC", files, set, &error);
    return 0;
}
