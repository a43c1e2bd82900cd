#pragma once
// Collecting: writes the records that the loggers of one topic prefix published into the binary and ASCII
// files of each module in one directory, exactly as the loggers wrote them. Records are written in index
// order: a repeat is dropped, the record that a module's files need next is always written, and a record
// that comes early waits for the ones before it. A gap that stays open is said once, and the logger is asked
// to send the missing records again from its files (a resend request, record_payload.h); so is every known
// module when a logger comes online, which brings back what a broker dropped at the end of a run. What waits
// is bounded across modules by bytes and by age: a record not kept is asked for again later.
//
// When a logger's module files were erased and it starts again from record 0 under another "file", the files
// collected so far are moved aside as "<serial>-<time of their first record>.*" (never over an existing
// file). A "file" that names a file moved aside before is a late repeat. Each module also gets its module
// file and an entry in the settings file's bus information (collected_module.h), so that the desktop program
// lists it.

#include "core/measure/meas_value_store.h"
#include "core/publish/record_payload.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace terrix {

struct CollectorLimits {
    std::chrono::milliseconds gapPatience{5000}; // a gap open this long is said and asked for
    std::chrono::milliseconds askAgain{30000};   // a gap still open is asked for again this often
    std::chrono::milliseconds maxWait{600000};   // records waiting longer behind a gap are let go
    size_t maxWaitingBytes = 8u << 20;           // waiting records of all modules together
    size_t maxOpenModules = 32;                  // modules whose files stay open (three handles each)
};

// The largest message taken; a record of the largest layout is well below it. Anything bigger is refused
// before it is parsed.
inline constexpr size_t kMaxRecordMessage = 16384;

class CollectorSink {
public:
    using Clock = std::chrono::steady_clock;
    using Say = std::function<void(const std::string&)>;
    // Asks the logger of module `serial` to send records again.
    using Ask = std::function<void(uint16_t serial, const ResendRequest& request)>;

    // Collects the records of "<prefix>/<serial>/record" into `directory`; `say` gets every notice
    // (refused messages, gaps, file errors).
    CollectorSink(std::string directory, std::string prefix, Say say, Ask ask = {},
                  CollectorLimits limits = {});
    ~CollectorSink();
    CollectorSink(const CollectorSink&) = delete;
    CollectorSink& operator=(const CollectorSink&) = delete;

    // One message from the broker. False when it was refused (and said why).
    bool Accept(std::string_view topic, std::string_view payload, Clock::time_point now = Clock::now());
    // A logger of the prefix came online: every module collected here asks for what follows its files.
    void LoggerOnline();
    // Says and asks for gaps, lets go of records that waited too long.
    void CheckGaps(Clock::time_point now = Clock::now());

    // Records written to a module's current files.
    uint32_t Written(uint16_t serial) const;
    // Records that wait for an earlier one.
    size_t Waiting(uint16_t serial) const;
    // Modules whose files are open.
    size_t OpenModules() const;

private:
    struct Module {
        ModuleRecord module;
        MeasLayout layout = MeasLayout::kTwoValue;
        std::unique_ptr<CMeasValueStore> store; // closed while idle
        Clock::time_point lastUse{};
        std::string fileStart;
        uint32_t count = 0;
        std::map<uint32_t, std::vector<uint8_t>> early;
        uint32_t seenEnd = 0;          // one past the highest index seen of the current file
        Clock::time_point gapSince{};  // while records before seenEnd are missing
        Clock::time_point lastAsked{}; // the last resend request for the gap
        bool gapSaid = false;
        size_t notKept = 0;             // records of this gap not kept for the bounds
        bool failed = false;            // the files cannot be written: said once
        int storedStation = -1;         // the station of the module file written; -1 before it is written
        Clock::time_point storeRetry{}; // the module file could not be written: not before then again
        std::string earlierSaid;        // the earlier "file" that was last reported
    };

    void LoadCollected();
    Module* ModuleFor(const ReceivedRecord& record, Clock::time_point now);
    bool ReadCollected(Module& m);
    CMeasValueStore* Store(Module& m, Clock::time_point now);
    bool SwitchFile(Module& m, const ReceivedRecord& record);
    bool WasMovedAside(uint16_t serial, const std::string& fileStart) const;
    void StoreModule(Module& m, const ReceivedRecord& record, Clock::time_point now);
    void Keep(Module& m, const ReceivedRecord& record);
    void WriteReady(Module& m, Clock::time_point now);
    void DropWaiting(Module& m);
    void AskFor(uint16_t serial, Module& m, Clock::time_point now);

    std::string directory_;
    std::string prefix_;
    Say say_;
    Ask ask_;
    CollectorLimits limits_;
    std::map<uint16_t, Module> modules_;
    size_t waitingBytes_ = 0;
};

} // namespace terrix
