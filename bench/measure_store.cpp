// Throughput and memory of the value store:
//   1. appending records of the two-value layout (binary record plus ASCII line each);
//   2. reading them back in order, and rebuilding the ASCII file, beside the same rebuild done by the
//      plain script bench/recreate_ascii.py on the same file (both outputs must be equal byte for byte);
//   3. random ReadRecord calls on files of growing size, written directly so that a 10,000,000-record
//      file takes seconds to make rather than the hours of appending it.
// Peak memory is the resident set's high-water mark of each step alone. Prints figures; never fails on
// time, only on a wrong result.
//
// Usage: bench_measure_store [append-count [random-reads [largest-file]]]
//        defaults 1000000, 100000, 10000000

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "bench/two_value_file.h"
#include "core/measure/little_endian.h"
#include "core/measure/meas_value_store.h"
#include "core/measure/time_stamp.h"

using namespace terrix;

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The kernel keeps the resident set's high-water mark; writing 5 to clear_refs starts it anew, so each
// step reports its own peak.
void ResetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

long PeakMemoryKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

void Report(const char* what, uint32_t count, double seconds) {
    std::printf("%-40s %9u in %7.3f s %11.0f /s %8.3f us each  peak %6ld kB\n", what, count, seconds,
                count / seconds, seconds * 1e6 / count, PeakMemoryKb());
}

ModuleRecord BenchModule(uint16_t serial) {
    return bench::TwoValueModule(serial);
}

const uint32_t kStamp = PackTimeStamp({5, 3, 2004, 14, 7, 9});

// A two-value file of `count` records, written in large pieces past the value store.
bool WriteTwoValueFile(const std::filesystem::path& path, uint16_t serial, uint32_t count) {
    return bench::WriteTwoValueFile(path, serial, count, [](uint32_t i, uint8_t* record) {
        StoreLe32(record, kStamp);
        StoreLeFloat(record + 4, static_cast<float>(i) * 0.001f);
        StoreLeFloat(record + 8, static_cast<float>(i));
    });
}

bool SameBytes(const std::string& a, const std::string& b) {
    std::ifstream fa(a, std::ios::binary);
    std::ifstream fb(b, std::ios::binary);
    return fa && fb &&
           std::equal(std::istreambuf_iterator<char>(fa), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(fb), std::istreambuf_iterator<char>());
}

int AppendAndRebuild(const std::filesystem::path& dir, uint32_t count) {
    CMeasValueStore store;
    store.SetDirectory(dir.string());
    if (!store.Bind(BenchModule(4711)) || !store.OpenReader() || !store.OpenWriter()) {
        std::fprintf(stderr, "cannot open the store: %s\n", store.LastErrorText().c_str());
        return 1;
    }

    ResetPeakMemory();
    auto start = Clock::now();
    for (uint32_t i = 0; i < count; ++i) {
        CMeasRecord& r = store.AppendRecord();
        r.SetStamp(0, kStamp);
        r.SetFloat(1, static_cast<float>(i) * 0.001f);
        r.SetFloat(2, static_cast<float>(count - i));
        if (!store.Append()) {
            std::fprintf(stderr, "append %u failed: %s\n", i, store.LastErrorText().c_str());
            return 1;
        }
    }
    Report("Append (binary record + ASCII line)", count, SecondsSince(start));

    const uint32_t stored = store.RecordCount();
    if (stored != count) {
        std::fprintf(stderr, "%u records stored, %u appended\n", stored, count);
        return 1;
    }
    ResetPeakMemory();
    start = Clock::now();
    size_t textBytes = 0;
    for (uint32_t i = 0; i < stored; ++i) {
        if (!store.ReadRecord(i)) {
            std::fprintf(stderr, "record %u unreadable\n", i);
            return 1;
        }
        textBytes += store.ReadRecordData().Format(1).size();
    }
    Report("ReadRecord + Format, in order", stored, SecondsSince(start));

    ResetPeakMemory();
    start = Clock::now();
    if (!store.RecreateAscii()) {
        std::fprintf(stderr, "rebuild failed: %s\n", store.LastErrorText().c_str());
        return 1;
    }
    const double rebuild = SecondsSince(start);
    Report("RecreateAscii", stored, rebuild);

    const std::string script = TERRIX_BENCH_SOURCE_DIR "/recreate_ascii.py";
    const std::string scriptOut = (dir / "script.ASC").string();
    const std::string command = "python3 '" + script + "' '" + store.BinaryPath() + "' '" + scriptOut + "'";
    start = Clock::now();
    const int status = std::system(command.c_str());
    const double scripted = SecondsSince(start);
    if (status != 0) {
        std::fprintf(stderr, "the script failed (%d): %s\n", status, command.c_str());
        return 1;
    }
    std::printf("%-40s %9u in %7.3f s %11.0f /s %8.3f us each\n", "recreate_ascii.py (Python 3)", stored,
                scripted, stored / scripted, scripted * 1e6 / stored);
    const bool same = SameBytes(store.AsciiPath(), scriptOut);
    std::printf("RecreateAscii is %.1f times as fast as the script; outputs %s (%ju bytes)\n",
                scripted / rebuild, same ? "identical" : "DIFFER",
                static_cast<uintmax_t>(std::filesystem::file_size(store.AsciiPath())));
    (void)textBytes;
    return same ? 0 : 1;
}

int RandomReads(const std::filesystem::path& dir, uint32_t reads, uint32_t records) {
    const uint16_t serial = 1000;
    const std::filesystem::path path = dir / "1000.BinMeasData";
    const auto made = Clock::now();
    if (!WriteTwoValueFile(path, serial, records)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("(file of %u records written in %.3f s)\n", records, SecondsSince(made));

    CMeasValueStore store;
    store.SetDirectory(dir.string());
    if (!store.Bind(BenchModule(serial)) || !store.OpenReader() || store.RecordCount() != records) {
        std::fprintf(stderr, "cannot read %s: %s\n", path.c_str(), store.LastErrorText().c_str());
        return 1;
    }
    std::mt19937 random(42);
    std::uniform_int_distribution<uint32_t> pick(0, records - 1);
    ResetPeakMemory();
    const auto start = Clock::now();
    for (uint32_t i = 0; i < reads; ++i) {
        const uint32_t index = pick(random);
        float value = -1;
        if (!store.ReadRecord(index) || !store.ReadRecordData().GetFloat(2, &value) ||
            value != static_cast<float>(index)) {
            std::fprintf(stderr, "record %u read wrong\n", index);
            return 1;
        }
    }
    char what[64];
    std::snprintf(what, sizeof what, "ReadRecord random, %u records", records);
    Report(what, reads, SecondsSince(start));

    // The same reads as bare pread calls of one record: what the kernel itself costs at this file size.
    const int fd = ::open(path.c_str(), O_RDONLY);
    random.seed(42);
    const auto bare = Clock::now();
    for (uint32_t i = 0; i < reads && fd >= 0; ++i) {
        uint8_t record[12];
        const off_t offset = static_cast<off_t>(kMeasFileHeaderSize) + static_cast<off_t>(pick(random)) * 12;
        if (::pread(fd, record, sizeof record, offset) != static_cast<ssize_t>(sizeof record)) {
            std::fprintf(stderr, "pread failed\n");
            break;
        }
    }
    const double bareSeconds = SecondsSince(bare);
    if (fd >= 0) {
        ::close(fd);
    }
    std::printf("%-40s %9u in %7.3f s %11.0f /s %8.3f us each\n",
                "  (bare pread of one record, same indices)", reads, bareSeconds, reads / bareSeconds,
                bareSeconds * 1e6 / reads);
    std::filesystem::remove(path);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const uint32_t count = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 1000000u;
    const uint32_t reads = argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 100000u;
    const uint32_t largest = argc > 3 ? static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)) : 10000000u;
    if (count == 0 || reads == 0 || largest == 0) {
        std::fprintf(stderr, "usage: %s [append-count [random-reads [largest-file]]]\n", argv[0]);
        return 2;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "terrix-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path dir = pattern;

    int status = AppendAndRebuild(dir, count);
    for (uint32_t records = largest / 100; status == 0 && records <= largest; records *= 10) {
        status = RandomReads(dir, reads, records == 0 ? 1 : records);
        if (records == 0) {
            break;
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return status;
}
