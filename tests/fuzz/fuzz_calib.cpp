// The calibration files: the LOC/CAL/TDC tokenizer on its own, then a LOC file and the CAL and TDC files it
// names (calibration 1), each from a part of the input.

#include "core/config/calib_file_reader.h"
#include "core/config/calib_files.h"
#include "core/config/calib_set.h"
#include "tests/fuzz/fuzz_util.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

using namespace terrix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::ScratchCleanup cleanup;
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
        if (item.text.size() > CCalibFileReader::kMaxText || item.value.size() > CCalibFileReader::kMaxText ||
            ++items > loc.size()) {
            std::abort();
        }
    }

    const auto dir = fuzz::ScratchDir();
    fuzz::WriteScratch("XV00001.CAL", reinterpret_cast<const uint8_t*>(cal.data()), cal.size());
    fuzz::WriteScratch("XV00001.TDC", reinterpret_cast<const uint8_t*>(tdc.data()), tdc.size());
    const auto locFile =
        fuzz::WriteScratch("fuzz.LOC", reinterpret_cast<const uint8_t*>(loc.data()), loc.size());
    MatCalib mat{};
    ReadCalFile(dir, 1, mat);
    TempCalib temp{};
    ReadTdcFile(dir, 1, temp);
    CalibSet set{};
    CalibFileError error{};
    ReadLocFile(locFile, set, &error);
    return 0;
}
