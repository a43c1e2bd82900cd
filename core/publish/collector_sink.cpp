#include "core/publish/collector_sink.h"

#include "core/measure/little_endian.h"
#include "core/publish/collected_module.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace terrix {

namespace {

// Records that wait for an earlier one, per module, at most; a logger sends in order, so more means the
// missing one is not coming and the rest will be sent again anyway.
constexpr size_t kMaxEarly = 100000;

std::string Compact(const std::string& isoTime) {
    std::string text;
    for (const char c : isoTime) {
        if (c != '-' && c != ':') {
            text += c;
        }
    }
    return text;
}

} // namespace

CollectorSink::CollectorSink(std::string directory, Say say, std::chrono::milliseconds gapPatience)
    : directory_(std::move(directory)), say_(std::move(say)), gapPatience_(gapPatience) {}

CollectorSink::~CollectorSink() {
    for (auto& [serial, m] : modules_) {
        if (m.store) {
            m.store->Close();
        }
    }
}

bool CollectorSink::Accept(std::string_view topic, std::string_view payload, Clock::time_point now) {
    std::string why;
    const std::optional<ReceivedRecord> record = ParseRecordPayload(payload, &why);
    if (!record) {
        say_(std::string(topic) + ": message ignored: " + why);
        return false;
    }
    const std::string serialLevel = "/" + std::to_string(record->serial) + "/record";
    if (!topic.ends_with(serialLevel)) {
        say_(std::string(topic) + ": message ignored: it names module " + std::to_string(record->serial));
        return false;
    }
    Module* m = ModuleFor(*record);
    if (m == nullptr) {
        return false;
    }
    if (m->fileStart.empty() && m->count == 0) {
        m->fileStart = record->fileStart;
    }
    if (record->fileStart != m->fileStart) {
        if (record->fileStart < m->fileStart) {
            return true; // a repeat from before the logger's files were erased
        }
        if (!MoveAside(*m)) {
            return false;
        }
        m->fileStart = record->fileStart;
    }
    if (record->layout != m->layout) {
        say_(std::to_string(record->serial) + ": record " + std::to_string(record->index) +
             " ignored: its values do not fit the module's file");
        return false;
    }
    if (m->storedStation != record->station) {
        StoreModule(*m, *record);
    }
    if (record->index < m->count) {
        return true; // a repeat
    }
    if (m->early.size() < kMaxEarly || m->early.count(record->index) != 0) {
        m->early[record->index] = record->packed;
    }
    WriteReady(*m);
    if (m->early.empty()) {
        if (m->gapSaid) {
            say_(std::to_string(record->serial) + ": the missing records have arrived");
        }
        m->gapSince = {};
        m->gapSaid = false;
    } else if (m->gapSince == Clock::time_point{}) {
        m->gapSince = now;
    }
    return true;
}

void CollectorSink::WriteReady(Module& m) {
    for (auto it = m.early.find(m.count); it != m.early.end(); it = m.early.find(m.count)) {
        CMeasRecord& record = m.store->AppendRecord();
        record.Unpack(it->second);
        if (!m.store->Append()) {
            if (!m.failed) {
                say_(std::to_string(m.module.SerialNo()) + ": cannot write: " + m.store->LastErrorText());
            }
            m.failed = true;
            return; // the record stays waiting; a later message tries again
        }
        if (m.failed) {
            say_(std::to_string(m.module.SerialNo()) + ": writing again");
        }
        m.failed = false;
        m.early.erase(it);
        ++m.count;
    }
}

void CollectorSink::StoreModule(Module& m, const ReceivedRecord& record) {
    std::string why;
    if (!StoreCollectedModule(directory_, record, &why)) {
        if (!m.storeFailed) {
            say_(std::to_string(record.serial) + ": cannot write the module file: " + why);
        }
        m.storeFailed = true;
        return; // the next record tries again
    }
    m.storedStation = record.station;
    m.storeFailed = false;
}

void CollectorSink::CheckGaps(Clock::time_point now) {
    for (auto& [serial, m] : modules_) {
        if (m.early.empty() || m.gapSaid || now - m.gapSince < gapPatience_) {
            continue;
        }
        m.gapSaid = true;
        say_(std::to_string(serial) + ": waiting for record " + std::to_string(m.count) + " (" +
             std::to_string(m.early.size()) + " later record(s) have arrived, from " +
             std::to_string(m.early.begin()->first) + " on)");
    }
}

CollectorSink::Module* CollectorSink::ModuleFor(const ReceivedRecord& record) {
    auto it = modules_.find(record.serial);
    if (it != modules_.end()) {
        return &it->second;
    }
    Module m;
    m.module = record.Module();
    m.layout = record.layout;
    if (!OpenStore(m)) {
        return nullptr;
    }
    return &modules_.emplace(record.serial, std::move(m)).first->second;
}

// Binds a store to the module's files; files collected before are continued where they end.
bool CollectorSink::OpenStore(Module& m) {
    m.store = std::make_unique<CMeasValueStore>();
    m.store->SetDirectory(directory_);
    m.store->Bind(m.module);
    m.count = 0;
    m.fileStart.clear();
    std::error_code ec;
    if (!std::filesystem::exists(m.store->BinaryPath(), ec)) {
        return true; // the first Append creates both files
    }
    if (!m.store->OpenReader()) {
        say_(std::to_string(m.module.SerialNo()) +
             ": the collected file cannot be continued: " + m.store->LastErrorText());
        return false;
    }
    m.count = m.store->RecordCount();
    if (m.count > 0 && m.store->ReadRecord(0)) {
        m.fileStart = IsoTimeOfStamp(m.store->ReadRecordData().Field(0)->Bits());
    }
    return true;
}

bool CollectorSink::MoveAside(Module& m) {
    m.store.reset();
    const std::string serial = std::to_string(m.module.SerialNo());
    const std::string stem = serial + "-" + Compact(m.fileStart);
    for (const char* extension : {".BinMeasData", ".ASC"}) {
        const std::filesystem::path from = std::filesystem::path(directory_) / (serial + extension);
        const std::filesystem::path to = std::filesystem::path(directory_) / (stem + extension);
        std::error_code ec;
        if (std::filesystem::exists(from, ec)) {
            std::filesystem::rename(from, to, ec);
            if (ec) {
                say_(serial + ": cannot move the old files aside: " + ec.message());
                OpenStore(m);
                return false;
            }
        }
    }
    say_(serial + ": the logger's files were erased; the records collected so far are now in " + stem + ".*");
    m.early.clear();
    m.gapSince = {};
    m.gapSaid = false;
    return OpenStore(m);
}

uint32_t CollectorSink::Written(uint16_t serial) const {
    const auto it = modules_.find(serial);
    return it == modules_.end() ? 0 : it->second.count;
}

size_t CollectorSink::Waiting(uint16_t serial) const {
    const auto it = modules_.find(serial);
    return it == modules_.end() ? 0 : it->second.early.size();
}

} // namespace terrix
