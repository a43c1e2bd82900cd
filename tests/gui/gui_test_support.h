#pragma once
// Helpers shared by the GUI tests: a fresh data directory per test program and a recorder that stands in
// for the message boxes.

#include "core/platform/data_paths.h"
#include "core/platform/pump_wait.h"
#include "core/platform/ini_section.h"
#include "gui/toolkit/message_box.h"

#include <QString>
#include <QTemporaryDir>

#include <clocale>
#include <deque>
#include <filesystem>
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

} // namespace terrix::test
