// Throughput of the value store: appending records (binary record plus ASCII line each), reading them back
// in order and at random, and rebuilding the ASCII file. Prints figures; never fails on time.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "core/measure/meas_value_store.h"
#include "core/measure/time_stamp.h"

using namespace terrix;

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Report(const char* what, uint32_t count, double seconds) {
    std::printf("%-34s %9u in %7.3f s  %10.0f /s  %7.2f us each\n", what, count, seconds, count / seconds,
                seconds * 1e6 / count);
}

} // namespace

int main(int argc, char** argv) {
    const uint32_t count = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 1000000u;
    std::string pattern = (std::filesystem::temp_directory_path() / "terrix-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path dir = pattern;

    ModuleRecord module;
    module.enModuleState = msIdentified;
    module.stationInfo.wSerialNo = 4711;
    module.stationInfo.SetModuleName("PX-TAVIK2");
    module.dwMeasChannels = 3;

    int status = 0;
    {
        CMeasValueStore store;
        store.SetDirectory(dir.string());
        if (!store.Bind(module) || !store.OpenReader() || !store.OpenWriter()) {
            std::fprintf(stderr, "cannot open the store: %s\n", store.LastErrorText().c_str());
            return 1;
        }
        const uint32_t stamp = PackTimeStamp({5, 3, 2004, 14, 7, 9});

        auto start = std::chrono::steady_clock::now();
        for (uint32_t i = 0; i < count; ++i) {
            CMeasRecord& r = store.AppendRecord();
            r.SetStamp(0, stamp);
            r.SetFloat(1, static_cast<float>(i) * 0.001f);
            r.SetFloat(2, static_cast<float>(count - i));
            if (!store.Append()) {
                std::fprintf(stderr, "append %u failed: %s\n", i, store.LastErrorText().c_str());
                status = 1;
                break;
            }
        }
        Report("Append (binary + ASCII line)", count, SecondsSince(start));

        start = std::chrono::steady_clock::now();
        const uint32_t stored = store.RecordCount();
        std::printf("%-34s %9u\n", "RecordCount", stored);

        start = std::chrono::steady_clock::now();
        for (uint32_t i = 0; i < stored; ++i) {
            if (!store.ReadRecord(i)) {
                status = 1;
                break;
            }
        }
        Report("ReadRecord, in order", stored, SecondsSince(start));

        start = std::chrono::steady_clock::now();
        size_t textBytes = 0;
        for (uint32_t i = 0; i < stored; ++i) {
            store.ReadRecord(i);
            textBytes += store.ReadRecordData().Format(1).size();
        }
        Report("ReadRecord + Format, in order", stored, SecondsSince(start));

        std::mt19937 random(42);
        std::uniform_int_distribution<uint32_t> pick(0, stored == 0 ? 0 : stored - 1);
        start = std::chrono::steady_clock::now();
        for (uint32_t i = 0; i < stored; ++i) {
            store.ReadRecord(pick(random));
        }
        Report("ReadRecord, random index", stored, SecondsSince(start));

        start = std::chrono::steady_clock::now();
        const bool rebuilt = store.RecreateAscii();
        Report("RecreateAscii (records)", stored, SecondsSince(start));
        if (!rebuilt) {
            std::fprintf(stderr, "rebuild failed: %s\n", store.LastErrorText().c_str());
            status = 1;
        }
        std::printf("files: %ju bytes binary, %ju bytes ASCII (%zu value text bytes formatted)\n",
                    static_cast<uintmax_t>(std::filesystem::file_size(store.BinaryPath())),
                    static_cast<uintmax_t>(std::filesystem::file_size(store.AsciiPath())), textBytes);
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return status;
}
