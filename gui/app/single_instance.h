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

    enum class Start {
        kFirst,     // this copy holds the lock and listens
        kOtherCopy, // a running copy holds the lock
        kFailed,    // no copy runs, but the lock could not be taken (read-only folder, full disk, ...)
    };
    // Takes the lock and starts listening when no other copy holds it. After kFailed, FailureText() says why.
    Start TakeLock();
    // TakeLock() == kFirst.
    bool TryBecomeFirst() { return TakeLock() == Start::kFirst; }
    bool IsFirst() const { return server_ != nullptr; }
    // Why the lock could not be taken, in the user's language, naming the folder and the cure.
    QString FailureText() const { return failure_; }

    // Called in the first copy when a later copy asks; true when a window was brought forward.
    void SetActivateHandler(std::function<bool()> handler) { activate_ = std::move(handler); }

    // In a later copy: asks the first copy to come forward; true when it answered that it did within
    // `timeoutMs`. Blocks meanwhile: the first copy must be served by another thread or process.
    bool ActivateFirst(int timeoutMs = 3000);

    QString ServerName() const { return serverName_; }

private:
    void OnNewConnection();

    QString serverName_;
    QLockFile lock_;
    QLocalServer* server_ = nullptr;
    std::function<bool()> activate_;
    QString dataDir_;
    QString failure_;
};

// Why files cannot be created in `dir`: 0 when a small test file can be written there now, else the error
// (ENOENT, EACCES, EROFS, ENOSPC, ...) that creating or writing it gave.
int DirectoryWriteError(const QString& dir);

// The reason for an error of DirectoryWriteError in the user's language ("the disk is full", ...).
QString WriteErrorText(int error);

} // namespace terrix
