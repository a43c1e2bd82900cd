#include "gui/circuit/meas_circuit_controller.h"

#include "core/circuit/measuring_guard.h"
#include "core/inventory/stored_bus.h"
#include "core/inventory/stored_text.h"
#include "core/inventory/unit_names.h"
#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"
#include "core/platform/port_user.h"
#include "core/publish/background_stop.h"
#include "core/publish/loop_modules.h"
#include "core/platform/path_text.h"
#include "gui/busops/module_at_station.h"
#include "gui/publish/publish_texts.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/string_catalogue.h"

#include <QDateTime>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

namespace terrix {

namespace {

constexpr const char* kSection = "MeasCircDlg";
constexpr uint32_t kDefaultRate = 20;

// A lost device is waited for: a measurement left running overnight goes on when the device is back.
MeasLoopOptions Reconnecting(MeasLoopOptions options) {
    options.reconnect = true;
    return options;
}

enum class MeasuringConflict {
    kNone,  // runs while the loop measures
    kBus,   // talks to a module: the loop holds the bus
    kFiles, // deletes, rewrites or copies measurement files the loop is writing
};

MeasuringConflict ConflictWhileMeasuring(int command) {
    using C = MeasCircuitController;
    switch (command) {
    case C::ID_RESCAN:
    case C::ID_STATION_NUMBER:
    case C::ID_RESET_BAUD:
    case C::ID_ERROR66:
    case C::ID_ACTIVE_CALIB:
    case C::ID_OFFSET:
    case C::ID_COEFFICIENTS:
    case C::ID_CONVERSION_TIME:
    case C::ID_APP_PARAMS:
    case C::ID_HALT_STATE:
        return MeasuringConflict::kBus;
    case C::ID_REMOVE:         // the loop appends to the module's store
    case C::ID_RECREATE_ASCII: // rewrites the ASCII file the loop appends to
    case C::ID_ERASE:
    case C::ID_ERASE_ALL:
    case C::ID_COPY_FILES: // a copy could end in a half-written record
        return MeasuringConflict::kFiles;
    default:
        // Showing values, the user info (place and comment, which the loop never reads) and the active
        // flag (set through the loop) need neither the bus nor the files.
        return MeasuringConflict::kNone;
    }
}

} // namespace

// ---- the loop's and the publisher's reports -------------------------------------------------------------

void MeasCircuitController::Listener::OnNewValue(uint32_t slot) {
    // On the loop's thread: the slots keep their places while it measures, so the record and the value
    // belong together here; the controller finds the row by serial number later.
    const CMeasLoop& loop = owner_->loop_;
    const ModuleRecord* record = loop.RecordAt(slot);
    std::optional<CMeasRecord> value = loop.NewestValue(slot);
    if (record == nullptr || !value) {
        return;
    }
    auto shared = std::make_shared<CMeasRecord>(std::move(*value));
    poster_.Post(
        [owner = owner_, serial = record->SerialNo(), shared] { owner->OnNewValue(serial, *shared); });
}

void MeasCircuitController::Listener::OnCountdown(uint32_t secondsLeft) {
    poster_.Post([owner = owner_, secondsLeft] { owner->OnCountdown(secondsLeft); });
}

void MeasCircuitController::Listener::OnIdle() {
    poster_.Post([owner = owner_] { owner->OnLoopIdle(); });
}

void MeasCircuitController::Listener::OnPortLost(const std::string& /*reason*/) {
    // The loop's own account, taken on its thread while it is current; the notice words it.
    const PortOutage outage = owner_->loop_.Outage();
    poster_.Post(
        [owner = owner_, outage, at = QDateTime::currentDateTime()] { owner->OnPortLost(outage, at); });
}

void MeasCircuitController::Listener::OnPortBack(uint32_t gapSeconds) {
    poster_.Post([owner = owner_, gapSeconds, at = QDateTime::currentDateTime()] {
        owner->OnPortBack(gapSeconds, at);
    });
}

void MeasCircuitController::Listener::OnModuleJoined(uint32_t /*slot*/) {
    poster_.Post([owner = owner_] { owner->UpdateAbsent(); });
}

void MeasCircuitController::Listener::OnStoreFailed(uint32_t /*slot*/, const std::string& reason) {
    poster_.Post([owner = owner_, reason] { owner->OnStoreFailed(reason); });
}

void MeasCircuitController::PublishListener::OnPublishProblem(const std::string& text) {
    poster_.Post([owner = owner_, generation = generation_.load(), text] {
        if (generation == owner->publishGeneration_) {
            owner->OnPublishProblem(text);
        }
    });
}

void MeasCircuitController::PublishListener::OnPublishStatus(const PublishStatus& status) {
    poster_.Post([owner = owner_, generation = generation_.load(), status] {
        if (generation == owner->publishGeneration_) {
            owner->OnPublishStatus(status);
        }
    });
}

// ---- set-up and state -------------------------------------------------------------------------------------

MeasCircuitController::MeasCircuitController(BusContext& context, const ModuleWindows& windows,
                                             MeasLoopOptions loopOptions, QObject* parent)
    : QObject(parent), context_(context), loop_(Reconnecting(std::move(loopOptions))) {
    available_.hasValueWindow = static_cast<bool>(windows.createValueWindow);
    available_.hasOffset = static_cast<bool>(windows.offset);
    available_.hasCoefficients = static_cast<bool>(windows.coefficients);
    available_.hasConversionTime = static_cast<bool>(windows.changeConversionTime);
    available_.hasApplicationParameters = static_cast<bool>(windows.applicationParameters);
    available_.hasUserData = static_cast<bool>(windows.userData);
    available_.hasStationNumber = static_cast<bool>(windows.changeStationNumber);
    available_.hasResetBaud = static_cast<bool>(windows.resetBaud);
    available_.hasError66 = static_cast<bool>(windows.error66Limit);
    available_.hasActiveCalib = static_cast<bool>(windows.activeCalibration);
    loop_.Bind(&listener_, &context_);
    moduleCount_ = loop_.SlotCount();
    model_.Reload();

    cancelPoll_ = new QTimer(this);
    cancelPoll_->setInterval(250);
    connect(cancelPoll_, &QTimer::timeout, this, [this] {
        if (measuring_ != nullptr && measuring_->CancelRequested()) {
            loop_.Stop(); // the frame closes once the loop is idle and the activity has ended
        }
    });
}

MeasCircuitController::~MeasCircuitController() {
    Shutdown();
}

ModuleRecord* MeasCircuitController::CurrentRecord() const {
    return currentRow_ >= 0 ? loop_.RecordAt(static_cast<uint32_t>(currentRow_)) : nullptr;
}

void MeasCircuitController::SetCurrentRow(int row) {
    currentRow_ = row;
    Q_EMIT commandsChanged();
}

QString MeasCircuitController::MenuTitle() const {
    return QString::fromStdString(CircuitMenuTitle(CurrentRecord()));
}

void MeasCircuitController::SetJobRunning(bool running) {
    jobRunning_ = running;
    Q_EMIT commandsChanged();
}

CircuitCommands MeasCircuitController::Commands() const {
    CircuitInput in = available_;
    in.moduleCount = moduleCount_;
    in.current = CurrentRecord();
    in.run = run_;
    in.jobRuns = jobRunning_;
    return CircuitCommandStates(in);
}

MeasCircuitController::Verdict MeasCircuitController::Check(int command) const {
    const auto refuse = [](QString text = {}) { return Verdict{false, std::move(text)}; };
    const bool display = command == ID_DISPLAY_VALUES || command == ID_DISPLAY_ALL;
    if (moduleCount_ == 0 || (jobRunning_ && !display)) {
        return refuse();
    }
    // The module dialogs: whether the window has one, and whether it is for the XV module only.
    static constexpr struct {
        int command;
        bool CircuitInput::*exists;
        bool xvOnly;
    } kDialogs[] = {{ID_EDIT_USER_INFO, &CircuitInput::hasUserData, false},
                    {ID_STATION_NUMBER, &CircuitInput::hasStationNumber, false},
                    {ID_RESET_BAUD, &CircuitInput::hasResetBaud, false},
                    {ID_ERROR66, &CircuitInput::hasError66, true},
                    {ID_ACTIVE_CALIB, &CircuitInput::hasActiveCalib, true},
                    {ID_OFFSET, &CircuitInput::hasOffset, true},
                    {ID_COEFFICIENTS, &CircuitInput::hasCoefficients, true},
                    {ID_CONVERSION_TIME, &CircuitInput::hasConversionTime, true},
                    {ID_APP_PARAMS, &CircuitInput::hasApplicationParameters, true}};
    const auto* dialog = std::find_if(std::begin(kDialogs), std::end(kDialogs),
                                      [command](const auto& d) { return d.command == command; });
    const bool exists = dialog == std::end(kDialogs) || available_.*(dialog->exists);
    const bool xvOnly = dialog != std::end(kDialogs) && dialog->xvOnly;
    const ModuleRecord* record = CurrentRecord();
    switch (command) {
    case ID_DISPLAY_ALL:
    case ID_ERASE_ALL:
    case ID_COPY_FILES:
        break; // every module
    case ID_DISPLAY_VALUES:
    case ID_ERASE:
        if (currentRow_ < 0) {
            return refuse();
        }
        break;
    case ID_STATION_NUMBER:
        if (record == nullptr) {
            return refuse(Text(24637)); // this command's own text for a missing selection
        }
        [[fallthrough]];
    default:
        if (!exists) {
            return refuse();
        }
        if (record == nullptr) {
            return refuse(Text(24707));
        }
    }
    const bool wrongModule =
        ((command == ID_ACTIVATE || command == ID_REMOVE) && IsCollisionPlaceholder(*record)) ||
        (xvOnly && record->bIsTavikXV == 0) || (command == ID_HALT_STATE && !HasHaltState(*record));
    if (wrongModule) {
        return refuse(Text(24708));
    }
    const MeasuringConflict conflict =
        loop_.IsMeasuring() ? ConflictWhileMeasuring(command) : MeasuringConflict::kNone;
    if (conflict == MeasuringConflict::kNone) {
        return {true, {}};
    }
    const QString stop = Text(24777); // the caption of the pressed measuring button
    return refuse(
        conflict == MeasuringConflict::kBus
            ? tr("This command talks to the module over the bus, and the measuring loop is using the "
                 "bus now.\nStop the measuring loop (\"%1\"), then try again.")
                  .arg(stop)
            : tr("This command works on measurement files that the measuring loop is writing now.\nStop "
                 "the measuring loop (\"%1\"), then try again.")
                  .arg(stop));
}

// ---- measuring --------------------------------------------------------------------------------------------

uint32_t MeasCircuitController::InitialRate() const {
    const uint32_t stored = CIniSection(SettingsFilePath(), kSection).ReadDWord("dwMeasTime", kDefaultRate);
    return std::max(stored, loop_.MinimumInterval());
}

uint32_t MeasCircuitController::SaveRate(const QString& rateText) {
    bool ok = false;
    uint32_t rate = rateText.toUInt(&ok);
    if (!ok) {
        rate = kDefaultRate;
    }
    CIniSection settings(SettingsFilePath(), kSection);
    if (settings.ReadDWord("dwMeasTime", kDefaultRate) != rate) {
        settings.WriteDWord("dwMeasTime", rate);
    }
    return rate;
}

QString MeasCircuitController::StartOrStop(CircuitRun run, const QString& rateText, const QString& what) {
    if (moduleCount_ == 0 || shutDown_ || run == CircuitRun::kIdle) {
        return {};
    }
    if (run_ != CircuitRun::kIdle) {
        loop_.Stop(); // the pressed button reads "stop"; idle follows through the listener
        return {};
    }
    auto activity = std::make_unique<BusActivity>(context_, nullptr, what);
    if (!*activity) {
        return activity->RefusalText();
    }
    const uint32_t rate = SaveRate(rateText);
    measuring_ = std::move(activity);
    cancelPoll_->start();
    run_ = run;
    storeFailureShown_ = false;
    outage_.Clear();
    ReportLoopStatus(LoopPhase::kMeasuring);
    Q_EMIT runChanged();
    Q_EMIT outageChanged();
    StartPublishing();
    if (loop_.Start(run == CircuitRun::kLoop, rate)) {
        UpdateAbsent();
        return {};
    }
    const MeasStartError error = loop_.StartError();
    // Nothing runs: end the stop at once instead of leaving a "stop" button that stops nothing.
    loop_.Stop();
    if (error == kMeasStartNoPort) {
        // The bare text names neither the device nor why it would not open (missing, busy, no permission).
        const QString reason = PortFailureText(context_.portContext);
        return reason.isEmpty() ? Text(24655) : Text(24655) + QStringLiteral("\n\n") + reason;
    }
    return error == kMeasStartNoTimer    ? Text(24656)
           : error == kMeasStartPortBusy ? BusBusyMeasuringText()
                                         : QString::fromLatin1(MeasStartErrorText(error));
}

void MeasCircuitController::OnNewValue(uint16_t serial, CMeasRecord& value) {
    const int row = model_.RowOfSerial(serial);
    CMeasValueStore* store = row >= 0 ? loop_.StoreAt(static_cast<uint32_t>(row)) : nullptr;
    if (!model_.ShowNewValue(serial, value, store != nullptr ? store->RecordCount() : 0)) {
        return; // the row went meanwhile
    }
    Q_EMIT newValue(serial);
    if (publisher_ != nullptr) {
        publisher_->Notify();
    }
    ReportLoopStatus(LoopPhase::kMeasuring);
}

void MeasCircuitController::OnCountdown(uint32_t secondsLeft) {
    Q_EMIT countdownChanged(QString::fromStdString(FormatCountdown(secondsLeft)));
    ReportLoopStatus(outage_.PortLost() ? LoopPhase::kPortLost : LoopPhase::kWaiting, secondsLeft);
}

void MeasCircuitController::OnPortLost(const PortOutage& outage, const QDateTime& at) {
    if (!outage.active) {
        return; // the loop stops (idle follows)
    }
    outage_.Lost(outage, at);
    model_.SetPortLost(true);
    Q_EMIT outageChanged();
    ReportLoopStatus(LoopPhase::kPortLost, outage.retrySeconds);
}

void MeasCircuitController::UpdateAbsent() {
    std::vector<uint16_t> serials;
    if (loop_.IsMeasuring()) {
        for (const uint32_t slot : loop_.AbsentSlots()) {
            serials.push_back(loop_.RecordAt(slot)->SerialNo());
        }
    }
    if (serials != absentSerials_) {
        absentSerials_ = std::move(serials);
        Q_EMIT absentChanged();
    }
}

void MeasCircuitController::OnPortBack(uint32_t gapSeconds, const QDateTime& at) {
    outage_.Back(gapSeconds, at);
    model_.SetPortLost(outage_.PortLost());
    Q_EMIT outageChanged();
    ReportLoopStatus(LoopPhase::kMeasuring);
}

void MeasCircuitController::OnLoopIdle() {
    if (loop_.IsMeasuring()) {
        return; // a late report of an earlier run
    }
    run_ = CircuitRun::kIdle;
    measuring_.reset();
    cancelPoll_->stop();
    Q_EMIT countdownChanged({});
    // A lost port is tried no more, and "back" is news only while the loop that lost it runs.
    if (outage_.GetState() != PortOutageNotice::State::kNone) {
        outage_.Clear();
        model_.SetPortLost(false);
        Q_EMIT outageChanged();
    }
    UpdateAbsent();
    ReportLoopStatus(LoopPhase::kIdle);
    Q_EMIT runChanged();
}

void MeasCircuitController::OnStoreFailed(const std::string& reason) {
    // Once per measurement: a full disk would otherwise bring one box per module and round.
    if (!storeFailureShown_) {
        storeFailureShown_ = true;
        Q_EMIT storeFailed(tr("A measured value could not be stored:\n%1").arg(CoreText(reason)));
    }
}

void MeasCircuitController::ReportLoopStatus(LoopPhase phase, uint32_t secondsLeft) {
    LoopStatus status;
    if (run_ == CircuitRun::kLoop && !shutDown_) {
        status.phase = phase;
    }
    if (status.phase == LoopPhase::kWaiting || status.phase == LoopPhase::kPortLost) {
        const QDateTime due = QDateTime::currentDateTime().addSecs(secondsLeft);
        // The countdown is in whole seconds: keep this wait's due time unless it really moved.
        const LoopStatus before = MeasuringStatus::Instance().Get(&context_);
        status.due = before.phase == status.phase && std::abs(before.due.secsTo(due)) <= 1 ? before.due : due;
    }
    MeasuringStatus::Instance().Set(&context_, status);
}

void MeasCircuitController::Shutdown() {
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    // After the current module the loop stops; its thread is joined and the port released.
    loop_.Shutdown();
    StopPublishing();
    MeasuringStatus::Instance().Set(&context_, {});
    measuring_.reset();
    run_ = CircuitRun::kIdle;
    // The records belong to the bus list, which a later scan may rebuild: keep no slot pointing at them.
    loop_.Bind(nullptr, nullptr);
    currentRow_ = -1;
    model_.Reload();
}

// ---- publishing -------------------------------------------------------------------------------------------

void MeasCircuitController::StartPublishing() {
    const PublishSettings settings = ReadPublishSettings(SettingsFilePath());
    if (publisher_ != nullptr && settings == publishSettings_) {
        return; // publishing since an earlier run
    }
    StopPublishing();
    if (settings.url.empty()) {
        return;
    }
    std::string why;
    const std::optional<BrokerOptions> broker = ResolveBrokerOptions(settings, &why);
    if (!broker) {
        // Measuring goes on; the line says why nothing is published.
        publishTrouble_ = tr("Publishing is off: %1").arg(CoreText(why));
        Q_EMIT publishingChanged();
        return;
    }
    publishSettings_ = settings;
    publishStatus_ = PublishStatus{};
    publishStatus_.where = broker->url.Where();
    publishListener_ = std::make_shared<PublishListener>(this);
    publishListener_->SetGeneration(++publishGeneration_);
    publisher_ = std::make_unique<Publisher>(*broker, PublishedModulesOf(loop_), publishListener_.get());
    publisher_->Start();
    Q_EMIT publishingChanged();
}

void MeasCircuitController::StopPublishing() {
    if (publisher_ != nullptr) {
        // Nothing is drained here: what waits is sent by the next run, from the cursors saved at the stop.
        // The stop joins the publisher's thread, which may sit in a name lookup or wait for a broker that
        // does not answer: it runs on a thread of its own, with the listener, whose reports are no longer
        // wanted, kept until then.
        publishListener_->Detach();
        StopInBackground([publisher = std::shared_ptr<Publisher>(std::move(publisher_)),
                          listener = std::move(publishListener_)] { publisher->Stop(); });
    }
    publishSettings_ = {};
    publishStatus_ = {};
    publishTrouble_.clear();
    Q_EMIT publishingChanged();
}

void MeasCircuitController::OnPublishProblem(const std::string& text) {
    if (publisher_ != nullptr) { // not the last word of a publisher that was stopped since
        publishTrouble_ = tr("Publishing problem: %1").arg(CoreText(text));
        Q_EMIT publishingChanged();
    }
}

void MeasCircuitController::OnPublishStatus(const PublishStatus& status) {
    if (publisher_ != nullptr) {
        publishStatus_ = status;
        Q_EMIT publishingChanged();
    }
}

MeasCircuitController::PublishLine MeasCircuitController::Publishing() const {
    PublishLine line;
    const PublishStatus& s = publishStatus_;
    const QString where = QString::fromStdString(s.where);
    const QString waiting = QString::number(s.waiting);
    if (publisher_ != nullptr) {
        if (s.connected) {
            line.text = tr("Publishing to %1: connected; records waiting: %2").arg(where, waiting);
        } else if (s.failure == MqttFailure::kNone) {
            line.text = tr("Publishing to %1: connecting; records waiting: %2").arg(where, waiting);
        } else {
            // The publisher's reason begins with the broker's address, which the line names already.
            std::string detail = s.reason;
            if (detail.starts_with(s.where + ": ")) {
                detail.erase(0, s.where.size() + 2);
            }
            line.text = tr("Publishing to %1 waits (%2); records waiting: %3")
                            .arg(where, PublishTexts::Short(s.failure, detail), waiting);
            line.tip = PublishTexts::Outcome(s.failure, s.where, detail);
        }
    }
    if (!publishTrouble_.isEmpty()) {
        line.text =
            line.text.isEmpty() ? publishTrouble_ : line.text + QStringLiteral("\n") + publishTrouble_;
    }
    line.good = publisher_ != nullptr && s.connected && publishTrouble_.isEmpty();
    return line;
}

// ---- changes of the list ----------------------------------------------------------------------------------

void MeasCircuitController::Reload() {
    moduleCount_ = loop_.SlotCount();
    if (currentRow_ >= static_cast<int>(moduleCount_)) {
        currentRow_ = -1;
    }
    model_.Reload();
    Q_EMIT commandsChanged();
}

QString MeasCircuitController::ToggleActive() {
    ModuleRecord* record = CurrentRecord();
    if (record == nullptr) {
        return {};
    }
    // Through the loop: it may be reading the flag right now on its own thread.
    loop_.SetModuleDisabled(static_cast<uint32_t>(currentRow_), record->bDisabled == 0);
    InventoryFileError error;
    const bool saved = SaveModuleChange(*record, &error);
    model_.RefreshIdentity(currentRow_);
    Q_EMIT commandsChanged();
    return saved ? QString() : CoreText(error.Message());
}

QString MeasCircuitController::RemoveCurrent() {
    const ModuleRecord* record = CurrentRecord();
    if (record == nullptr) {
        return {};
    }
    loop_.RemoveBySerial(
        record->SerialNo()); // the slot only points at the record, which the bus list deletes
    const bool saved = RemoveModuleFromBus(context_.busList, *record) != ModuleRemoval::kSaveFailed;
    currentRow_ = -1;
    Reload();
    return saved ? QString() : CoreText(context_.busList.LastFileError().Message());
}

QString MeasCircuitController::SaveDialogChange(int row) {
    const ModuleRecord* record = loop_.RecordAt(static_cast<uint32_t>(row));
    InventoryFileError error;
    const bool saved = record == nullptr || SaveModuleChange(*record, &error);
    Reload();
    return saved ? QString() : CoreText(error.Message());
}

MeasCircuitController::RescanOutcome MeasCircuitController::Rescan(ComPortContext& port,
                                                                   ModuleRecord record) {
    RescanOutcome outcome;
    PortUser portUser(&port);
    if (!portUser.Acquire()) {
        return outcome;
    }
    outcome.portOpened = true;
    // A record of a known module is overwritten only by that module: after a swap elsewhere on the bus the
    // station may answer with another one, whose identity would otherwise land in this row and file.
    outcome.check = CheckStation(portUser.Port(), record, record.iaStation, false);
    if (!outcome.check.Passed()) {
        portUser.Release(); // the port is the command's only for its own duration
        return outcome;
    }
    outcome.identified = RescanModule(portUser, UnitName, record); // closes the port
    outcome.record = record;
    return outcome;
}

void MeasCircuitController::ApplyRescan(int row, const ModuleRecord* record, const ModuleRecord& fresh) {
    ModuleRecord* target = loop_.RecordAt(static_cast<uint32_t>(row));
    if (target == nullptr || target != record) {
        return;
    }
    const auto disabled = target->bDisabled; // the user's switch; a rescan does not undo it
    *target = fresh;
    target->bDisabled = disabled;
    Reload();
}

// ---- stored values ----------------------------------------------------------------------------------------

bool MeasCircuitController::HasStoredValues(int row) const {
    CMeasValueStore* store = row >= 0 ? loop_.StoreAt(static_cast<uint32_t>(row)) : nullptr;
    return store != nullptr && store->IsBound() && store->RecordCount() > 0;
}

bool MeasCircuitController::AnyStoredValues() const {
    for (uint32_t i = 0; i < loop_.SlotCount(); ++i) {
        if (HasStoredValues(static_cast<int>(i))) {
            return true;
        }
    }
    return false;
}

QString MeasCircuitController::EraseValues(int row) {
    if (!HasStoredValues(row)) {
        return {};
    }
    CMeasValueStore* store = loop_.StoreAt(static_cast<uint32_t>(row));
    if (!store->Erase()) {
        return Text(24669) + QLatin1Char('\n') + CoreText(store->LastErrorText());
    }
    model_.RefreshStoredValue(row);
    return {};
}

bool MeasCircuitController::CanRecreateAscii() const {
    CMeasValueStore* store = currentRow_ >= 0 ? loop_.StoreAt(static_cast<uint32_t>(currentRow_)) : nullptr;
    return store != nullptr && store->IsBound();
}

bool MeasCircuitController::RecreateAscii(QString* error) {
    if (!CanRecreateAscii()) {
        return false;
    }
    CMeasValueStore* store = loop_.StoreAt(static_cast<uint32_t>(currentRow_));
    if (store->RecreateAscii()) {
        return true;
    }
    *error = CoreText(store->LastErrorText());
    return false;
}

QString MeasCircuitController::CopyFiles(const QString& folder, bool* allCopied) const {
    std::vector<CopySource> sources;
    for (uint32_t i = 0; i < loop_.SlotCount(); ++i) {
        CMeasValueStore* store = loop_.StoreAt(i);
        if (store != nullptr && store->IsBound()) {
            sources.push_back({store->Serial(), store->BinaryPath()});
        }
    }
    const CopyReport report = CopyMeasurementFiles(sources, PathFromText(folder.toStdString()));
    QString text =
        tr("%n file(s) copied to %1.", nullptr, static_cast<int>(report.copied.size())).arg(folder);
    if (!report.skipped.empty()) {
        text += QLatin1Char('\n') + tr("Without measured values (skipped):");
        for (const auto& file : report.skipped) {
            text += QStringLiteral("\n  ") + QString::fromStdString(PathText(file.filename()));
        }
    }
    if (!report.failed.empty()) {
        text += QLatin1Char('\n') + tr("Could not be copied:");
        for (const auto& [file, reason] : report.failed) {
            text +=
                QStringLiteral("\n  %1: %2").arg(QString::fromStdString(PathText(file)), CoreText(reason));
        }
    }
    *allCopied = report.failed.empty();
    return text;
}

} // namespace terrix
