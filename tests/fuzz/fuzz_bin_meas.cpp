// A binary measurement file of any content: its header check, the record count, records read at random
// indices (inside and beyond the file), the extremes, and one record appended to it. An append must land
// whole after the last whole record and leave every record before it as it was.

#include "core/measure/bin_meas_data_file.h"
#include "core/measure/meas_layouts.h"
#include "tests/fuzz/fuzz_util.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>

using namespace terrix;

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    constexpr MeasLayout kLayouts[] = {MeasLayout::kOneValue, MeasLayout::kTwoValue, MeasLayout::kXv,
                                       MeasLayout::kXvWithTdc};
    const MeasLayout layout = kLayouts[in.ConsumeIntegralInRange<size_t>(0, 3)];
    const uint16_t recordSize = RecordSizeOf(layout);
    std::vector<uint32_t> indices;
    for (int i = in.ConsumeIntegralInRange<int>(0, 4); i > 0; --i) {
        indices.push_back(in.ConsumeIntegral<uint32_t>() % 64);
    }
    std::vector<uint8_t> appended = in.ConsumeBytes<uint8_t>(recordSize);
    appended.resize(recordSize);
    const std::vector<uint8_t> contents = in.ConsumeRemainingBytes<uint8_t>();
    const std::string path = "1.BinMeasData";
    fuzz::MemoryFileSystem files;
    files[path] = contents;

    {
        CBinMeasDataFile file(files);
        if (file.Open(kMeasOpenReadOnly, recordSize, path)) {
            const uint32_t count = file.GetRecordCount();
            Check(contents.size() < kMeasFileHeaderSize ||
                  count == (contents.size() - kMeasFileHeaderSize) / recordSize);
            CMeasRecord record = MakeRecord(layout);
            for (const uint32_t index : indices) {
                const bool read = file.ReadRecordAt(index, record);
                Check(read == (index < count));
                if (read) {
                    const size_t at = kMeasFileHeaderSize + size_t{index} * recordSize;
                    Check(std::memcmp(record.Pack().data(), contents.data() + at, recordSize) == 0);
                }
            }
            std::vector<uint8_t> block;
            const uint32_t got = file.ReadRecordsAt(indices.empty() ? 0 : indices[0], 8, block);
            Check(got <= 8 && block.size() >= size_t{got} * recordSize);
            for (unsigned channel = 0; channel < 3; ++channel) {
                (void)file.GetExtremes(channel);
            }
        }
    }

    CBinMeasDataFile file(files);
    if (!file.Open(kMeasOpenReadWrite, recordSize, path)) {
        // A file that is refused is never changed.
        Check(files[path] == contents);
        return 0;
    }
    const uint32_t before = file.GetRecordCount();
    CMeasRecord record = MakeRecord(layout);
    Check(record.Unpack(appended));
    const std::vector<uint8_t> packed = record.Pack();
    if (file.WriteRecord(record)) {
        file.Close();
        const std::vector<uint8_t> after = files[path];
        const size_t whole = kMeasFileHeaderSize + size_t{before} * recordSize;
        Check(after.size() == whole + recordSize);
        Check(before == 0 ||
              std::memcmp(after.data() + kMeasFileHeaderSize, contents.data() + kMeasFileHeaderSize,
                          whole - kMeasFileHeaderSize) == 0);
        Check(std::memcmp(after.data() + whole, packed.data(), recordSize) == 0);
    }
    return 0;
}
