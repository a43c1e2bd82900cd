#include "core/publish/publisher.h"

#include "core/measure/bin_meas_data_file.h"
#include "core/measure/little_endian.h"
#include "core/platform/file_handle.h"
#include "core/publish/mqtt_link.h"
#include "core/publish/publish_cursor.h"
#include "core/publish/record_payload.h"

#include <cstring>
#include <deque>
#include <span>
#include <unordered_map>

namespace terrix {

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kReadBlock = 512;    // records read from a file at a time
constexpr uint32_t kPerModuleTurn = 64; // records of one module before the next module's turn
constexpr auto kOfflineWait = std::chrono::seconds(2);
constexpr int kDrainLimitFactor = 6; // the end waits at most this many drain periods in all

} // namespace

struct Publisher::ModuleState {
    explicit ModuleState(const PublishedModule& m)
        : id(m), writer(m.module),
          binaryPath(CMeasDataFile::BuildFileName(m.directory, m.module.SerialNo(), ".BinMeasData")),
          cursorPath(PublishCursorPath(m.directory, m.module.SerialNo())) {}

    PublishedModule id;
    RecordPayloadWriter writer;
    std::string binaryPath;
    std::string cursorPath;
    std::string topic;

    std::unique_ptr<CBinMeasDataFile> file;
    std::unique_ptr<FileHandle> syncHandle; // the same file, to flush what the loop wrote before it is sent
    FileIdentity identity;

    std::string fileStart; // the time of the file's first record; empty while it has none
    uint64_t generation = 0;
    uint32_t count = 0;        // whole records in the file when last looked
    uint32_t acknowledged = 0; // records [0, acknowledged) acknowledged
    uint32_t next = 0;         // the next record to send
    uint32_t synced = 0;       // records [0, synced) are on the medium: only those are sent
    std::deque<bool> onTheWay; // records [acknowledged, next): acknowledged yet?
    uint32_t resendNext = 0;   // records [resendNext, resendEnd) a collector asked for again
    uint32_t resendEnd = 0;

    PublishCursor saved;
    std::string problem; // the last problem reported

    std::vector<uint8_t> block;
    uint32_t blockFirst = 0;
    uint32_t blockCount = 0;
};

class Publisher::Worker {
public:
    Worker(BrokerOptions broker, std::vector<PublishedModule> modules, PublisherListener* listener,
           PublisherOptions options)
        : broker_(std::move(broker)), listener_(listener), options_(options),
          destination_(broker_.url.Where() + "/" + broker_.url.prefix) {
        for (const PublishedModule& m : modules) {
            auto state = std::make_unique<ModuleState>(m);
            state->topic = broker_.url.RecordTopic(m.module.SerialNo());
            modules_.push_back(std::move(state));
        }
    }

    void Run();

    void Notify() {
        notified_ = true;
        wake_.notify_all();
    }
    void RequestStop(std::chrono::milliseconds drain) {
        {
            std::lock_guard lock(mutex_);
            if (!stop_) {
                drain_ = drain;
                stopAsked_ = Clock::now();
            }
            stop_ = true;
        }
        wake_.notify_all();
    }
    PublishStatus Status() const {
        std::lock_guard lock(mutex_);
        return status_;
    }

private:
    bool Stopping() const {
        std::lock_guard lock(mutex_);
        return stop_;
    }
    void TryConnect();
    void Lost(std::string reason);
    void Rewind();
    void RefreshAll();
    void Refresh(ModuleState& m);
    void Adopt(ModuleState& m, const std::string& start);
    void Forget(ModuleState& m);
    size_t Fill();
    bool Send(size_t module, uint32_t index, bool again);
    void ResendAsked(std::string_view topic, std::string_view payload);
    const uint8_t* RecordAt(ModuleState& m, uint32_t index);
    void Acknowledged(int messageId);
    void SaveCursors(bool now);
    void Problem(ModuleState& m, const std::string& text);
    size_t OnTheWay() const;
    void PublishStatusUpdate(bool connected, const std::string& reason);
    void Waits(const std::string& reason, MqttFailure failure);
    void SayOffline();

    const BrokerOptions broker_;
    PublisherListener* const listener_;
    const PublisherOptions options_;
    const std::string destination_; // names the cursors of this broker and prefix
    std::vector<std::unique_ptr<ModuleState>> modules_;

    std::unique_ptr<MqttLink> link_;
    struct Sent {
        size_t module;
        uint32_t index;
        uint64_t generation;
        bool again; // sent again on request: the cursor does not depend on it
    };
    std::unordered_map<int, Sent> sent_;
    Clock::time_point nextAttempt_{};
    std::chrono::milliseconds retry_{0};
    std::string waitingReason_; // reported; empty while connected or before the first failure
    MqttFailure waitingFailure_ = MqttFailure::kNone;
    Clock::time_point lastRefresh_{};
    Clock::time_point lastSave_{};
    Clock::time_point lastProgress_{};
    int offlineId_ = -1;
    bool offlineAcknowledged_ = false;

    std::atomic<bool> notified_{true};
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::chrono::milliseconds drain_{0};
    Clock::time_point stopAsked_{};
    PublishStatus status_;
};

void Publisher::Worker::Run() {
    retry_ = options_.firstRetry;
    bool stopSeen = false;
    while (true) {
        const bool stopping = Stopping();
        if (stopping && !stopSeen) {
            stopSeen = true;
            RefreshAll(); // what was stored just before the stop counts too
            lastProgress_ = Clock::now();
        }
        if (stopping) {
            uint64_t waiting = 0;
            for (const auto& m : modules_) {
                waiting += m->count - m->acknowledged;
            }
            std::chrono::milliseconds drain;
            {
                std::lock_guard lock(mutex_);
                drain = drain_;
            }
            Clock::time_point asked;
            {
                std::lock_guard lock(mutex_);
                asked = stopAsked_;
            }
            // A long backlog is not sent out at the end: what is left goes with the next run.
            const bool tooLong = Clock::now() - asked >= drain * kDrainLimitFactor;
            if (!link_ || waiting == 0 || Clock::now() - lastProgress_ >= drain || tooLong) {
                break;
            }
        }
        if (!link_) {
            // The records that wait are counted while the broker is away too.
            if (notified_.exchange(false) || Clock::now() - lastRefresh_ >= options_.fileCheck) {
                RefreshAll();
            }
            if (Clock::now() < nextAttempt_) {
                std::unique_lock lock(mutex_);
                wake_.wait_until(lock, std::min(nextAttempt_, lastRefresh_ + options_.fileCheck),
                                 [this] { return stop_ || notified_.load(); });
                continue;
            }
            TryConnect();
            continue;
        }
        const Clock::time_point now = Clock::now();
        if (notified_.exchange(false) || now - lastRefresh_ >= options_.fileCheck) {
            RefreshAll();
        }
        const size_t sent = Fill();
        const bool more = sent > 0 && OnTheWay() < options_.window;
        if (link_ && !link_->Loop(more ? 0 : 50)) {
            Lost(link_->LostReason());
        }
        SaveCursors(false);
    }
    if (link_) {
        SayOffline();
    }
    SaveCursors(true);
    waitingFailure_ = MqttFailure::kStopped;
    PublishStatusUpdate(false, "stopped");
}

void Publisher::Worker::Waits(const std::string& reason, MqttFailure failure) {
    waitingReason_ = reason;
    waitingFailure_ = failure;
    if (listener_ != nullptr) {
        listener_->OnPublishingWaits(reason);
    }
}

void Publisher::Worker::TryConnect() {
    MqttHandlers handlers;
    handlers.acknowledged = [this](int messageId) { Acknowledged(messageId); };
    handlers.message = [this](std::string_view topic, std::string_view payload) {
        ResendAsked(topic, payload);
    };
    auto link = std::make_unique<MqttLink>(broker_, std::move(handlers),
                                           MqttWill{broker_.url.StatusTopic(), "offline", true});
    std::string error;
    if (!link->Connect(
            options_.connectTimeout, [this] { return Stopping(); }, &error)) {
        if (Stopping()) {
            return;
        }
        const std::string reason = link->Where() + ": " + error;
        if (reason != waitingReason_) {
            Waits(reason, link->Failure());
        }
        PublishStatusUpdate(false, reason);
        nextAttempt_ = Clock::now() + retry_;
        retry_ = std::min(retry_ * 2, options_.lastRetry);
        return;
    }
    // Before the subscription: a resend request may already come while it waits for the broker's answer.
    Rewind();
    // Collectors ask here for records that a broker dropped or they lost; without it a lost record stays
    // lost, so a refused subscription counts as a failed connection.
    if (!link->Subscribe(broker_.url.prefix + "/+/resend", options_.connectTimeout)) {
        const std::string reason =
            link->Where() + ": cannot subscribe to the resend requests: " + link->LostReason();
        if (reason != waitingReason_) {
            Waits(reason, MqttFailure::kLost);
        }
        nextAttempt_ = Clock::now() + retry_;
        retry_ = std::min(retry_ * 2, options_.lastRetry);
        return;
    }
    link_ = std::move(link);
    retry_ = options_.firstRetry;
    link_->Publish(broker_.url.StatusTopic(), "online", true);
    if (!waitingReason_.empty()) {
        waitingReason_.clear();
        waitingFailure_ = MqttFailure::kNone;
        if (listener_ != nullptr) {
            listener_->OnPublishingResumed();
        }
    }
    RefreshAll(); // counts the records and says connected
}

void Publisher::Worker::Lost(std::string reason) {
    const std::string where = link_->Where();
    const MqttFailure failure =
        reason.empty() || link_->Failure() == MqttFailure::kNone ? MqttFailure::kLost : link_->Failure();
    link_.reset();
    Rewind();
    const std::string text = where + ": " + (reason.empty() ? "the connection was lost" : reason);
    Waits(text, failure);
    PublishStatusUpdate(false, text);
    retry_ = options_.firstRetry;
    nextAttempt_ = Clock::now() + retry_;
}

// A new connection starts from what the broker acknowledged; what was on its way is sent again.
void Publisher::Worker::Rewind() {
    sent_.clear();
    for (const auto& m : modules_) {
        m->next = m->acknowledged;
        m->onTheWay.clear();
        m->resendNext = m->resendEnd = 0;
    }
}

void Publisher::Worker::RefreshAll() {
    lastRefresh_ = Clock::now();
    for (const auto& m : modules_) {
        Refresh(*m);
    }
    PublishStatusUpdate(link_ != nullptr, waitingReason_);
}

void Publisher::Worker::Refresh(ModuleState& m) {
    FileIdentity identity;
    if (!IdentifyFile(m.binaryPath, &identity)) {
        if (m.file || !m.fileStart.empty()) {
            Forget(m); // erased
        }
        return;
    }
    if (!m.file || !(identity == m.identity)) {
        auto file = std::make_unique<CBinMeasDataFile>();
        const ModuleRecord& module = m.id.module;
        if (!file->OpenFor(kMeasOpenReadOnly, module.SerialNo(), module.ModuleName().substr(0, 15),
                           module.dwMeasChannels, m.writer.RecordSize(), m.id.directory)) {
            Problem(m, "cannot read " + m.binaryPath + ": " + MeasFileErrorText(file->LastError()));
            return;
        }
        int error = 0;
        m.syncHandle = MachineFileSystem().Open(m.binaryPath, FileAccess::kReadOnly, &error);
        if (!m.syncHandle) {
            Problem(m, "cannot read " + m.binaryPath + ": " + std::strerror(error));
            return;
        }
        m.file = std::move(file);
        m.synced = 0;
        m.identity = identity;
        m.blockCount = 0;
    }
    m.count = m.file->GetRecordCount();
    if (m.count == 0) {
        return;
    }
    const uint8_t* first = RecordAt(m, 0);
    if (first == nullptr) {
        return;
    }
    const std::string start = IsoTimeOfStamp(LoadLe32(first));
    if (start != m.fileStart || m.count < m.acknowledged) {
        Adopt(m, start);
    }
}

// The module's file is another one than before (or the first one seen): go on from its cursor when the
// cursor belongs to this file, else from its first record.
void Publisher::Worker::Adopt(ModuleState& m, const std::string& start) {
    ++m.generation;
    m.onTheWay.clear();
    const bool firstLook = m.fileStart.empty() && m.generation == 1;
    m.fileStart = start;
    m.saved = ReadPublishCursor(m.cursorPath, destination_);
    m.acknowledged = 0;
    if (firstLook && m.saved.fileStart == start && m.saved.acknowledged <= m.count) {
        m.acknowledged = m.saved.acknowledged;
    } else if (!firstLook) {
        m.saved = {}; // the old file's cursor is replaced with the next save
    } else if (m.saved.fileStart == start) {
        m.saved = {}; // more acknowledged than the file holds: not this file after all
    }
    m.next = m.acknowledged;
    m.synced = 0;
    m.resendNext = m.resendEnd = 0;
    m.problem.clear();
}

void Publisher::Worker::Forget(ModuleState& m) {
    ++m.generation;
    m.file.reset();
    m.syncHandle.reset();
    m.fileStart.clear();
    m.count = m.acknowledged = m.next = m.synced = 0;
    m.resendNext = m.resendEnd = 0;
    m.onTheWay.clear();
    m.blockCount = 0;
}

const uint8_t* Publisher::Worker::RecordAt(ModuleState& m, uint32_t index) {
    const uint16_t size = m.writer.RecordSize();
    if (index < m.blockFirst || index >= m.blockFirst + m.blockCount) {
        m.blockFirst = index;
        m.blockCount = m.file->ReadRecordsAt(index, kReadBlock, m.block);
        if (m.blockCount == 0) {
            Problem(m, "cannot read record " + std::to_string(index) + " of " + m.binaryPath + ": " +
                           MeasFileErrorText(m.file->LastError()));
            return nullptr;
        }
    }
    return m.block.data() + static_cast<size_t>(index - m.blockFirst) * size;
}

size_t Publisher::Worker::Fill() {
    size_t room = options_.window > OnTheWay() ? options_.window - OnTheWay() : 0;
    size_t sent = 0;
    bool progress = true;
    while (room > 0 && progress && link_) {
        progress = false;
        for (size_t i = 0; i < modules_.size() && room > 0 && link_; ++i) {
            ModuleState& m = *modules_[i];
            for (uint32_t turn = 0; turn < kPerModuleTurn && room > 0; ++turn) {
                const bool again = m.resendNext < m.resendEnd;
                if (!again && m.next >= m.count) {
                    break;
                }
                // A record goes out only once it is on the medium: after a power loss the file could
                // otherwise lose a published tail and give its places to other records.
                if (!again && m.next >= m.synced) {
                    const uint32_t count = m.count;
                    if (!m.syncHandle->Sync()) {
                        Problem(m, "cannot flush " + m.binaryPath + ": " +
                                       std::strerror(m.syncHandle->LastError()));
                        break;
                    }
                    m.synced = count;
                }
                if (!Send(i, again ? m.resendNext : m.next, again)) {
                    break;
                }
                if (again) {
                    ++m.resendNext;
                } else {
                    m.onTheWay.push_back(false);
                    ++m.next;
                }
                --room;
                ++sent;
                progress = true;
            }
        }
    }
    return sent;
}

bool Publisher::Worker::Send(size_t module, uint32_t index, bool again) {
    ModuleState& m = *modules_[module];
    const uint8_t* record = RecordAt(m, index);
    if (record == nullptr) {
        return false;
    }
    const std::string payload =
        m.writer.Build(std::span<const uint8_t>(record, m.writer.RecordSize()), index, m.fileStart);
    const int messageId = link_->Publish(m.topic, payload);
    if (messageId < 0) {
        Lost(link_->LostReason());
        return false;
    }
    sent_[messageId] = Sent{module, index, m.generation, again};
    return true;
}

// Records that were acknowledged are sent again from the file when a collector asks: the broker may have
// dropped them (a full queue of an absent subscriber) or the collector lost them. Records not yet sent go
// out in order anyway.
void Publisher::Worker::ResendAsked(std::string_view topic, std::string_view payload) {
    const std::optional<ResendRequest> request = ParseResendRequest(payload);
    if (!request) {
        return;
    }
    for (const auto& m : modules_) {
        if (topic != ResendTopic(broker_.url.prefix, m->id.module.SerialNo()) || m->fileStart.empty()) {
            continue;
        }
        const uint32_t from = request->fileStart == m->fileStart ? request->from : 0;
        if (from >= m->next) {
            return;
        }
        m->resendNext = m->resendNext < m->resendEnd ? std::min(m->resendNext, from) : from;
        m->resendEnd = m->next;
        return;
    }
}

void Publisher::Worker::Acknowledged(int messageId) {
    if (messageId == offlineId_) {
        offlineAcknowledged_ = true;
        return;
    }
    const auto it = sent_.find(messageId);
    if (it == sent_.end()) {
        return; // the "online" status
    }
    const Sent sent = it->second;
    sent_.erase(it);
    ModuleState& m = *modules_[sent.module];
    if (sent.again || sent.generation != m.generation || sent.index < m.acknowledged ||
        sent.index >= m.next) {
        return; // a record of a file that has gone since
    }
    m.onTheWay[sent.index - m.acknowledged] = true;
    while (!m.onTheWay.empty() && m.onTheWay.front()) {
        m.onTheWay.pop_front();
        ++m.acknowledged;
    }
    lastProgress_ = Clock::now();
}

void Publisher::Worker::SaveCursors(bool now) {
    const Clock::time_point time = Clock::now();
    if (!now && time - lastSave_ < options_.cursorInterval) {
        return;
    }
    lastSave_ = time;
    for (const auto& m : modules_) {
        const PublishCursor cursor{m->fileStart, m->acknowledged};
        if (m->fileStart.empty() || cursor == m->saved) {
            continue;
        }
        int error = 0;
        if (WritePublishCursor(m->cursorPath, destination_, cursor, &error)) {
            m->saved = cursor;
        } else {
            Problem(*m, "cannot save " + m->cursorPath + ": " + std::strerror(error));
        }
    }
    PublishStatusUpdate(link_ != nullptr, waitingReason_);
}

void Publisher::Worker::Problem(ModuleState& m, const std::string& text) {
    if (text == m.problem) {
        return;
    }
    m.problem = text;
    if (listener_ != nullptr) {
        listener_->OnPublishProblem(text);
    }
}

size_t Publisher::Worker::OnTheWay() const {
    return sent_.size();
}

void Publisher::Worker::PublishStatusUpdate(bool connected, const std::string& reason) {
    PublishStatus status;
    for (const auto& m : modules_) {
        status.waiting += m->count - m->acknowledged;
    }
    status.connected = connected;
    status.reason = connected ? std::string() : reason;
    status.failure = connected ? MqttFailure::kNone : waitingFailure_;
    status.where = broker_.url.Where();
    {
        std::lock_guard lock(mutex_);
        if (status == status_) {
            return;
        }
        status_ = status;
    }
    if (listener_ != nullptr) {
        listener_->OnPublishStatus(status);
    }
}

// A clean stop: "offline" on the status topic (the will covers every other end), acknowledged before the
// connection goes.
void Publisher::Worker::SayOffline() {
    offlineId_ = link_->Publish(broker_.url.StatusTopic(), "offline", true);
    const auto deadline = Clock::now() + kOfflineWait;
    while (offlineId_ >= 0 && !offlineAcknowledged_ && Clock::now() < deadline && link_->Loop(50)) {
    }
    link_->Disconnect();
}

Publisher::Publisher(BrokerOptions broker, std::vector<PublishedModule> modules, PublisherListener* listener,
                     PublisherOptions options)
    : worker_(std::make_unique<Worker>(std::move(broker), std::move(modules), listener, options)) {}

Publisher::~Publisher() {
    Stop();
}

void Publisher::Start() {
    if (!thread_.joinable()) {
        thread_ = std::thread([this] { worker_->Run(); });
    }
}

void Publisher::Notify() {
    worker_->Notify();
}

void Publisher::Stop(std::chrono::milliseconds drain) {
    worker_->RequestStop(drain);
    if (thread_.joinable()) {
        thread_.join();
    }
}

PublishStatus Publisher::Status() const {
    return worker_->Status();
}

} // namespace terrix
