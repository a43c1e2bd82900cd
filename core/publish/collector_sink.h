#pragma once
// Collecting: writes the records that loggers published into the binary and ASCII files of each module in
// one directory, exactly as the loggers wrote them. Records are written in index order: a repeat is
// dropped, a record that comes early waits for the ones before it, and a gap that stays open is reported.
// When a logger's module files were erased and it starts again from record 0 (a later "file" in the
// message), the files collected so far are moved aside as "<serial>-<time of their first record>.*". Each
// module also gets its module file and an entry in the settings file's bus information (collected_module.h),
// so that the desktop program lists it.

#include "core/measure/meas_value_store.h"
#include "core/publish/record_payload.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace terrix {

class CollectorSink {
public:
    using Clock = std::chrono::steady_clock;
    using Say = std::function<void(const std::string&)>;

    // `say` gets every notice (refused messages, gaps, file errors).
    CollectorSink(std::string directory, Say say,
                  std::chrono::milliseconds gapPatience = std::chrono::seconds(10));
    ~CollectorSink();
    CollectorSink(const CollectorSink&) = delete;
    CollectorSink& operator=(const CollectorSink&) = delete;

    // One message from the broker. False when it was refused (and said why).
    bool Accept(std::string_view topic, std::string_view payload, Clock::time_point now = Clock::now());
    // Says, once per gap, which record a module has waited for longer than the patience.
    void CheckGaps(Clock::time_point now = Clock::now());

    // Records written to a module's current files.
    uint32_t Written(uint16_t serial) const;
    // Records that wait for an earlier one.
    size_t Waiting(uint16_t serial) const;

private:
    struct Module {
        ModuleRecord module;
        MeasLayout layout = MeasLayout::kTwoValue;
        std::unique_ptr<CMeasValueStore> store;
        std::string fileStart;
        uint32_t count = 0;
        std::map<uint32_t, std::vector<uint8_t>> early;
        Clock::time_point gapSince{};
        bool gapSaid = false;
        bool failed = false;      // the files cannot be written: said once
        int storedStation = -1;   // the station of the module file written; -1 before it is written
        bool storeFailed = false; // the module file cannot be written: said once
    };

    Module* ModuleFor(const ReceivedRecord& record);
    bool OpenStore(Module& m);
    bool MoveAside(Module& m);
    void StoreModule(Module& m, const ReceivedRecord& record);
    void WriteReady(Module& m);

    std::string directory_;
    Say say_;
    std::chrono::milliseconds gapPatience_;
    std::map<uint16_t, Module> modules_;
};

} // namespace terrix
