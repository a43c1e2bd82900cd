#pragma once
// Only one copy of the program runs per data directory: the first copy holds a lock file there and listens
// on a local socket, through which a later copy asks it to bring its main window forward.

#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;

namespace terrix {

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    // `dataDir`: the directory whose lock decides which copy is first.
    explicit CSingleInstance(const QString& dataDir, QObject* parent = nullptr);
    ~CSingleInstance() override;

    // True for the first copy, which then takes the lock and starts listening.
    bool TryBecomeFirst();
    bool IsFirst() const { return server_ != nullptr; }

    // Called in the first copy when a later copy asks; true when a window was brought forward.
    void SetActivateHandler(std::function<bool()> handler) { activate_ = std::move(handler); }

    // In a later copy: asks the first copy to come forward; true when it answered that it did. Keeps the
    // event loop running while it waits (at most `timeoutMs`).
    bool ActivateFirst(int timeoutMs = 3000);

    QString ServerName() const { return serverName_; }

private:
    void OnNewConnection();

    QString serverName_;
    QLockFile lock_;
    QLocalServer* server_ = nullptr;
    std::function<bool()> activate_;
};

} // namespace terrix
