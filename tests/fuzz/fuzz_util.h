#pragma once
// Helpers of the fuzz targets: readers that take a path get the input through a file in a private folder
// (in memory under /dev/shm where it exists, so the disk is not worn by millions of runs).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace terrix::fuzz {

inline const std::filesystem::path& ScratchDir() {
    static const std::filesystem::path dir = [] {
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::filesystem::path d = base / ("terrix-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

// Replaces the file `name` in the scratch folder by the bytes given.
inline std::filesystem::path WriteScratch(const std::string& name, const uint8_t* data, size_t size) {
    const std::filesystem::path file = ScratchDir() / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return file;
}

// Removes the scratch folder when the fuzzer ends normally.
struct ScratchCleanup {
    ~ScratchCleanup() {
        std::error_code ec;
        std::filesystem::remove_all(ScratchDir(), ec);
    }
};

} // namespace terrix::fuzz
