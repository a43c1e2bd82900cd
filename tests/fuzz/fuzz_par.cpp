// An application parameter file (*.par) as a user may have edited it. What was read and is saved again
// must read back the same (the offset to the six decimals the file keeps).

#include "core/config/app_params.h"
#include "core/config/par_file.h"
#include "tests/fuzz/fuzz_util.h"

#include <cmath>
#include <ctime>
#include <sstream>
#include <tuple>

using namespace terrix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    AppParams params{};
    int count = 0;
    std::string error;
    if (!ParseParText(in, params, count, error)) {
        return 0;
    }
    std::tm date{};
    date.tm_year = 126;
    date.tm_mday = 1;
    std::istringstream saved(ParFileText(params, date));
    AppParams again{};
    fuzz::Check(ParseParText(saved, again, count, error) && count == 5);
    const double tolerance = std::max(1e-6, std::fabs(static_cast<double>(params.fOffset)) * 1e-6);
    fuzz::Check(
        std::tie(again.wAveraging, again.wError66Units, again.yQueueFull, again.yQueueEmpty) ==
            std::tie(params.wAveraging, params.wError66Units, params.yQueueFull, params.yQueueEmpty) &&
        std::fabs(static_cast<double>(again.fOffset) - params.fOffset) <= tolerance);
    return 0;
}
