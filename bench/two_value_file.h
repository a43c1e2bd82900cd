#pragma once
// A two-value binary measurement file written directly, past the value store, so that a file of millions
// of records takes seconds to make rather than the hours of appending it.

#include "core/inventory/module_record.h"
#include "core/measure/meas_file_header.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace terrix::bench {

// The identified module whose files these are.
inline ModuleRecord TwoValueModule(uint16_t serial) {
    ModuleRecord module;
    module.enModuleState = msIdentified;
    module.stationInfo.wSerialNo = serial;
    module.stationInfo.SetModuleName("PX-TAVIK2");
    module.dwMeasChannels = 3;
    return module;
}

// The header of module `serial` ("PX-TAVIK2", channels 0 and 1) and `count` records of 12 bytes, record
// `i` filled by fill(i, bytes).
template <typename Fill>
bool WriteTwoValueFile(const std::filesystem::path& path, uint16_t serial, uint32_t count, Fill fill) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const auto header = MeasFileHeader::ForModule(serial, "PX-TAVIK2", 3).Encode();
    bool ok = std::fwrite(header.data(), 1, header.size(), file) == header.size();
    std::vector<uint8_t> chunk;
    for (uint32_t i = 0; i < count && ok; ++i) {
        uint8_t record[12];
        fill(i, record);
        chunk.insert(chunk.end(), record, record + sizeof record);
        if (chunk.size() >= (1u << 20) || i + 1 == count) {
            ok = std::fwrite(chunk.data(), 1, chunk.size(), file) == chunk.size();
            chunk.clear();
        }
    }
    return std::fclose(file) == 0 && ok;
}

} // namespace terrix::bench
