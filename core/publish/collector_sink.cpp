#include "core/publish/collector_sink.h"

#include "core/inventory/module_file.h"
#include "core/publish/collected_module.h"
#include "core/platform/path_text.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

namespace terrix {

namespace {

namespace fs = std::filesystem;

// A module file that could not be written is tried again after this, not with every record.
constexpr auto kStoreRetry = std::chrono::seconds(60);
// The files of a module that got no record for this long are closed.
constexpr auto kIdleClose = std::chrono::seconds(60);

std::string Compact(const std::string& isoTime) {
    std::string text;
    for (const char c : isoTime) {
        if (c != '-' && c != ':') {
            text += c;
        }
    }
    return text;
}

// The serial number of "<serial>.BinMeasData", or 0.
uint16_t SerialOfBinaryFile(const std::string& name) {
    constexpr std::string_view kExtension = ".BinMeasData";
    if (!name.ends_with(kExtension)) {
        return 0;
    }
    const std::string_view stem(name.data(), name.size() - kExtension.size());
    unsigned serial = 0;
    const auto [end, ec] = std::from_chars(stem.data(), stem.data() + stem.size(), serial);
    if (ec != std::errc() || end != stem.data() + stem.size() || serial == 0 || serial > kMaxValidSerial) {
        return 0;
    }
    return static_cast<uint16_t>(serial);
}

std::string Records(uint32_t first, uint32_t last) {
    return first == last ? "record " + std::to_string(first)
                         : "records " + std::to_string(first) + " to " + std::to_string(last);
}

} // namespace

CollectorSink::CollectorSink(std::string directory, std::string prefix, Say say, Ask ask,
                             CollectorLimits limits)
    : directory_(std::move(directory)), prefix_(std::move(prefix)), say_(std::move(say)),
      ask_(std::move(ask)), limits_(limits) {
    LoadCollected();
}

CollectorSink::~CollectorSink() {
    for (auto& [serial, m] : modules_) {
        if (m.store) {
            m.store->Close();
        }
    }
}

// The modules collected here before: known from the start, so that a logger coming online is asked for what
// follows their files even before one of their records arrives.
void CollectorSink::LoadCollected() {
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(PathFromText(directory_), ec)) {
        const uint16_t serial = SerialOfBinaryFile(PathText(entry.path().filename()));
        Module m;
        if (serial == 0 ||
            !ReadModuleFileFrom(PathFromText(directory_) / (std::to_string(serial) + ".ini"), m.module)) {
            continue;
        }
        m.module.stationInfo.wSerialNo = serial;
        m.layout = ChooseLayout(m.module);
        m.storedStation = m.module.iaStation;
        if (ReadCollected(m)) {
            modules_.emplace(serial, std::move(m));
        }
    }
}

bool CollectorSink::Accept(std::string_view topic, std::string_view payload, Clock::time_point now) {
    if (payload.size() > kMaxRecordMessage) {
        say_(std::string(topic) + ": message ignored: " + std::to_string(payload.size()) +
             " bytes, far more than a record has");
        return false;
    }
    std::string why;
    const std::optional<ReceivedRecord> record = ParseRecordPayload(payload, &why);
    if (!record) {
        say_(std::string(topic) + ": message ignored: " + why);
        return false;
    }
    const std::string expected = prefix_ + "/" + std::to_string(record->serial) + "/record";
    if (topic != expected) {
        say_(std::string(topic) + ": message ignored: module " + std::to_string(record->serial) +
             " is collected from " + expected + " only");
        return false;
    }
    Module* m = ModuleFor(*record, now);
    if (m == nullptr) {
        return false;
    }
    if (m->fileStart.empty() && m->count == 0) {
        m->fileStart = record->fileStart;
    }
    if (record->fileStart != m->fileStart) {
        if (WasMovedAside(record->serial, record->fileStart)) {
            return true; // a late repeat of a file collected before
        }
        if (record->fileStart < m->fileStart && m->earlierSaid != record->fileStart) {
            m->earlierSaid = record->fileStart;
            say_(std::to_string(record->serial) + ": the logger's file now begins at " + record->fileStart +
                 ", earlier than the file collected so far (" + m->fileStart +
                 "): its clock went back or was wrong; the new file is collected as the current one");
        }
        if (!SwitchFile(*m, *record)) {
            return false;
        }
    }
    if (record->layout != m->layout) {
        say_(std::to_string(record->serial) + ": record " + std::to_string(record->index) +
             " ignored: its values do not fit the module's file");
        return false;
    }
    if (m->storedStation != record->station && now >= m->storeRetry) {
        StoreModule(*m, *record, now);
    }
    if (record->index < m->count) {
        return true; // a repeat
    }
    m->seenEnd = std::max(m->seenEnd, record->index + 1);
    Keep(*m, *record);
    WriteReady(*m, now);
    if (m->count >= m->seenEnd) {
        if (m->gapSaid) {
            say_(std::to_string(record->serial) + ": the missing records have arrived");
        }
        m->gapSince = {};
        m->gapSaid = false;
        m->notKept = 0;
    } else if (m->gapSince == Clock::time_point{}) {
        m->gapSince = now;
    }
    return true;
}

// The record the files need next is always kept (it is written at once); later ones only within the bound.
void CollectorSink::Keep(Module& m, const ReceivedRecord& record) {
    if (m.early.count(record.index) != 0) {
        return;
    }
    if (record.index != m.count && waitingBytes_ + record.packed.size() > limits_.maxWaitingBytes) {
        ++m.notKept; // asked for again with the gap
        return;
    }
    waitingBytes_ += record.packed.size();
    m.early.emplace(record.index, record.packed);
}

void CollectorSink::WriteReady(Module& m, Clock::time_point now) {
    for (auto it = m.early.find(m.count); it != m.early.end(); it = m.early.find(m.count)) {
        CMeasValueStore* store = Store(m, now);
        CMeasRecord& record = store->AppendRecord();
        record.Unpack(it->second);
        if (!store->Append()) {
            if (!m.failed) {
                say_(std::to_string(m.module.SerialNo()) + ": cannot write: " + store->LastErrorText());
            }
            m.failed = true;
            return; // the record stays waiting; a later message tries again
        }
        if (m.failed) {
            say_(std::to_string(m.module.SerialNo()) + ": writing again");
        }
        m.failed = false;
        waitingBytes_ -= it->second.size();
        m.early.erase(it);
        ++m.count;
    }
}

void CollectorSink::DropWaiting(Module& m) {
    for (const auto& [index, packed] : m.early) {
        waitingBytes_ -= packed.size();
    }
    m.early.clear();
}

void CollectorSink::StoreModule(Module& m, const ReceivedRecord& record, Clock::time_point now) {
    std::string why;
    if (!StoreCollectedModule(PathFromText(directory_), record, &why)) {
        if (m.storeRetry == Clock::time_point{}) {
            say_(std::to_string(record.serial) + ": the desktop program will not list the module: " + why +
                 "; its records are collected all the same");
        }
        m.storeRetry = now + kStoreRetry;
        return;
    }
    m.storedStation = record.station;
    m.storeRetry = {};
}

void CollectorSink::AskFor(uint16_t serial, Module& m, Clock::time_point now) {
    m.lastAsked = now;
    if (ask_) {
        ask_(serial, ResendRequest{m.fileStart, m.count});
    }
}

void CollectorSink::LoggerOnline() {
    const Clock::time_point now = Clock::now();
    for (auto& [serial, m] : modules_) {
        AskFor(serial, m, now);
    }
}

void CollectorSink::CheckGaps(Clock::time_point now) {
    for (auto& [serial, m] : modules_) {
        if (m.store && now - m.lastUse >= kIdleClose) {
            m.store.reset();
        }
        if (m.gapSince == Clock::time_point{}) {
            continue;
        }
        const std::string name = std::to_string(serial);
        if (!m.early.empty() && now - m.gapSince >= limits_.maxWait) {
            say_(name + ": " + std::to_string(m.early.size()) + " record(s) waited too long for " +
                 Records(m.count, m.early.begin()->first - 1) + " and were let go; they are asked for again");
            m.notKept += m.early.size();
            DropWaiting(m);
            m.gapSince = now;
            AskFor(serial, m, now);
        } else if (!m.gapSaid && now - m.gapSince >= limits_.gapPatience) {
            m.gapSaid = true;
            const uint32_t last = m.early.empty() ? m.seenEnd - 1 : m.early.begin()->first - 1;
            std::string text = name + ": " + Records(m.count, last) + " of the file of " + m.fileStart +
                               " are missing (" + std::to_string(m.early.size()) + " later record(s) wait";
            if (m.notKept > 0) {
                text += ", " + std::to_string(m.notKept) + " more were not kept to bound the memory";
            }
            say_(text + "); asked the logger to send them again");
            AskFor(serial, m, now);
        } else if (m.gapSaid && now - m.lastAsked >= limits_.askAgain) {
            AskFor(serial, m, now);
        }
    }
}

CollectorSink::Module* CollectorSink::ModuleFor(const ReceivedRecord& record, Clock::time_point now) {
    auto it = modules_.find(record.serial);
    if (it != modules_.end()) {
        return &it->second;
    }
    Module m;
    m.module = record.Module();
    m.layout = record.layout;
    m.lastUse = now;
    if (!ReadCollected(m)) {
        return nullptr;
    }
    return &modules_.emplace(record.serial, std::move(m)).first->second;
}

// Where the module's files collected before end: their record count and the time of their first record.
bool CollectorSink::ReadCollected(Module& m) {
    CMeasValueStore store;
    store.SetDirectory(directory_);
    store.Bind(m.module);
    m.count = 0;
    m.fileStart.clear();
    std::error_code ec;
    if (!fs::exists(store.BinaryPath(), ec)) {
        return true; // the first Append creates both files
    }
    if (!store.OpenReader()) {
        say_(std::to_string(m.module.SerialNo()) +
             ": the collected file cannot be continued: " + store.LastErrorText());
        return false;
    }
    m.count = store.RecordCount();
    m.seenEnd = m.count;
    if (m.count > 0 && store.ReadRecord(0)) {
        m.fileStart = IsoTimeOfStamp(store.ReadRecordData().Field(0)->Bits());
    }
    return true;
}

// The module's store, opened when it was closed; the least recently used one is closed to stay within the
// bound of open modules.
CMeasValueStore* CollectorSink::Store(Module& m, Clock::time_point now) {
    m.lastUse = now;
    if (m.store) {
        return m.store.get();
    }
    if (OpenModules() >= limits_.maxOpenModules) {
        Module* idlest = nullptr;
        for (auto& [serial, other] : modules_) {
            if (other.store && (idlest == nullptr || other.lastUse < idlest->lastUse)) {
                idlest = &other;
            }
        }
        if (idlest != nullptr) {
            idlest->store.reset();
        }
    }
    m.store = std::make_unique<CMeasValueStore>();
    m.store->SetDirectory(directory_);
    m.store->Bind(m.module);
    return m.store.get();
}

bool CollectorSink::WasMovedAside(uint16_t serial, const std::string& fileStart) const {
    // Files moved aside take "<serial>-<start>", then "-2", "-3", ... while a name is taken.
    const std::string stem = std::to_string(serial) + "-" + Compact(fileStart);
    std::error_code ec;
    for (int n = 1;; ++n) {
        const fs::path base = PathFromText(directory_) / (n == 1 ? stem : stem + "-" + std::to_string(n));
        if (fs::exists(fs::path(base) += ".BinMeasData", ec)) {
            return true;
        }
        if (!fs::exists(fs::path(base) += ".ASC", ec)) {
            return false;
        }
    }
}

// The logger has another file: the one collected so far moves aside under a name of its own (with a number
// when that name is taken: an existing file is never replaced), and the new one starts empty.
bool CollectorSink::SwitchFile(Module& m, const ReceivedRecord& record) {
    m.store.reset();
    const std::string serial = std::to_string(record.serial);
    const fs::path dir = PathFromText(directory_);
    const char* const extensions[] = {".BinMeasData", ".ASC"};
    std::error_code ec;
    if (fs::exists(dir / (serial + extensions[0]), ec) || fs::exists(dir / (serial + extensions[1]), ec)) {
        std::string stem = serial + "-" + Compact(m.fileStart);
        for (int n = 2;
             fs::exists(dir / (stem + extensions[0]), ec) || fs::exists(dir / (stem + extensions[1]), ec);
             ++n) {
            stem = serial + "-" + Compact(m.fileStart) + "-" + std::to_string(n);
        }
        std::vector<std::pair<fs::path, fs::path>> moved;
        for (const char* extension : extensions) {
            const fs::path from = dir / (serial + extension);
            const fs::path to = dir / (stem + extension);
            if (!fs::exists(from, ec)) {
                continue;
            }
            fs::rename(from, to, ec);
            if (ec) {
                say_(serial + ": cannot move the collected files aside: " + ec.message() +
                     "; the logger's new file is not collected yet");
                for (const auto& [back, aside] : moved) {
                    std::error_code ignored;
                    fs::rename(aside, back, ignored);
                }
                return false;
            }
            moved.emplace_back(from, to);
        }
        say_(serial + ": the logger has a new file; the records collected so far are now in " + stem + ".*");
    }
    DropWaiting(m);
    m.module = record.Module(); // the new file may have another layout
    m.layout = record.layout;
    m.fileStart = record.fileStart;
    m.count = m.seenEnd = 0;
    m.gapSince = {};
    m.gapSaid = false;
    m.notKept = 0;
    m.failed = false;
    m.storedStation = -1;
    return true;
}

uint32_t CollectorSink::Written(uint16_t serial) const {
    const auto it = modules_.find(serial);
    return it == modules_.end() ? 0 : it->second.count;
}

size_t CollectorSink::Waiting(uint16_t serial) const {
    const auto it = modules_.find(serial);
    return it == modules_.end() ? 0 : it->second.early.size();
}

size_t CollectorSink::OpenModules() const {
    return static_cast<size_t>(std::count_if(
        modules_.begin(), modules_.end(), [](const auto& entry) { return entry.second.store != nullptr; }));
}

} // namespace terrix
