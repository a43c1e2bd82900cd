#pragma once
// Helpers shared by the GUI tests: a fresh data directory per test program, a recorder that stands in
// for the message boxes, and the frame over the built-in simulated bus.

#include "core/bus/bus_trace.h"
#include "core/busops/identification.h"
#include "core/inventory/unit_names.h"
#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"
#include "core/platform/port_user.h"
#include "core/platform/pump_wait.h"
#include "gui/circuit/meas_circuit_dlg.h"
#include "gui/frame/main_frame.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "sim/sim_scheme.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <clocale>
#include <deque>
#include <filesystem>
#include <functional>
#include <future>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace terrix::test {

// Points the program's data directory at a temporary folder for the lifetime of the object.
class TempDataDir {
public:
    TempDataDir() {
        std::setlocale(LC_NUMERIC, "C");
        SetDataDir(dir_.path().toStdString());
    }
    QString Path() const { return dir_.path(); }
    QString File(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// Records every message instead of showing it and answers with queued buttons (default: the first button
// of the box, OK for an OK box, Yes for Yes/No).
class MessageRecorder {
public:
    MessageRecorder() {
        previous_ = SetMessageHandler([this](const MessageRequest& request) {
            messages.push_back(request);
            if (!answers.empty()) {
                const QMessageBox::StandardButton answer = answers.front();
                answers.pop_front();
                return answer;
            }
            for (const auto button : {QMessageBox::Ok, QMessageBox::Yes}) {
                if (request.buttons.testFlag(button)) {
                    return button;
                }
            }
            return QMessageBox::NoButton;
        });
    }
    ~MessageRecorder() { SetMessageHandler(std::move(previous_)); }

    QStringList Texts() const {
        QStringList texts;
        for (const MessageRequest& m : messages) {
            texts << m.text;
        }
        return texts;
    }
    void Clear() { messages.clear(); }

    std::vector<MessageRequest> messages;
    std::deque<QMessageBox::StandardButton> answers;

private:
    MessageHandler previous_;
};

// While it exists, the test itself may talk to the bus on its thread (set-up and checks), which otherwise
// forbids bus waits so that a window that waits for the bus there fails the test.
class TestTalksToTheBus {
public:
    TestTalksToTheBus() : forbidden_(BusWaitsForbiddenOnThisThread()) { ForbidBusWaitsOnThisThread(false); }
    ~TestTalksToTheBus() { ForbidBusWaitsOnThisThread(forbidden_); }
    TestTalksToTheBus(const TestTalksToTheBus&) = delete;
    TestTalksToTheBus& operator=(const TestTalksToTheBus&) = delete;

private:
    bool forbidden_;
};

// The modules of the built-in simulated bus at `stations`, identified; one that does not answer is left out.
inline std::vector<ModuleRecord> IdentifiedSimModules(std::initializer_list<uint8_t> stations) {
    RegisterSimTransportScheme();
    TestTalksToTheBus setUp;
    ComPortContext port{.device = "sim"};
    PortUser user(&port);
    std::vector<ModuleRecord> records;
    for (const uint8_t station : stations) {
        ModuleRecord record;
        if (user.Acquire() && IdentifyModule(user.Port(), station, record, UnitName)) {
            records.push_back(record);
        }
    }
    user.Release();
    return records;
}

// Puts `context` on COM1 of the built-in simulated bus, holding `records`.
inline void UseSimBus(BusContext& context, const std::vector<ModuleRecord>& records) {
    context.portContext.nPortNo = 1;
    context.portContext.device = "sim";
    for (const ModuleRecord& record : records) {
        context.busList.Add(std::make_unique<ModuleRecord>(record));
    }
}

// Puts `context` on a simulated bus of the modules that `scenario` (a scenario file's text) describes.
inline void UseSimScenario(BusContext& context, const char* scenario) {
    const std::filesystem::path file = DataDir() / "scenario.json";
    WriteFileBytes(file, scenario);
    UseSimBus(context, {});
    context.portContext.device = "sim:" + file.string();
}

// Shows `frame` on the simulated bus holding `records` and, if there are any, its circuit window with the
// first row chosen (null when it did not open).
inline CMeasCircuitDlg* ShowOnSimBus(CMainFrame& frame, const std::vector<ModuleRecord>& records) {
    UseSimBus(*frame.GetBusContext(), records);
    frame.show();
    if (records.empty()) {
        return nullptr;
    }
    frame.OnDisplay();
    auto* window = qobject_cast<CMeasCircuitDlg*>(frame.CircuitWindow());
    if (window != nullptr) {
        window->List()->Select(0);
    }
    return window;
}

// Runs an action once, at the first frame that goes over the bus after Arm(): in the middle of the operation.
class ActOnFirstFrame final : public BusTraceObserver {
public:
    void Arm(std::function<void()> action) {
        action_ = std::move(action);
        fired_ = false;
    }
    bool Fired() const { return fired_; }
    void OnFrame(const BusTraceEvent&) override {
        if (!action_ || fired_.exchange(true)) {
            return;
        }
        if (QThread::currentThread() == qApp->thread()) {
            // The operation waits in an event loop of this thread: the action runs in its next wait.
            QTimer::singleShot(0, qApp, action_);
        } else {
            // The operation runs on a worker: the action runs before the worker goes on. The hand-over both
            // ways is made of standard atomics and a future rather than Qt's blocking call, so that
            // ThreadSanitizer sees it (Qt is not instrumented).
            std::atomic<bool> posted = false;
            std::promise<void> done;
            posted.store(true, std::memory_order_release);
            QMetaObject::invokeMethod(qApp, [&] {
                (void)posted.load(std::memory_order_acquire);
                action_();
                done.set_value();
            });
            done.get_future().wait();
        }
    }

private:
    std::function<void()> action_;
    std::atomic<bool> fired_ = false;
};

} // namespace terrix::test
