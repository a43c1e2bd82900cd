#pragma once
// Helpers shared by the GUI tests: a fresh data directory per test program and a recorder that stands in
// for the message boxes.

#include "core/bus/bus_trace.h"
#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"
#include "core/platform/pump_wait.h"
#include "gui/toolkit/message_box.h"

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
