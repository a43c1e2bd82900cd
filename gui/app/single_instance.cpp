#include "gui/app/single_instance.h"

#include "core/platform/folder_probe.h"
#include "core/platform/process.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSysInfo>
#include <QTimer>

#include <cerrno>
#include <cstring>

namespace terrix {

namespace {

constexpr char kActivate[] = "activate\n";
constexpr char kActivated[] = "activated\n";
constexpr char kNoWindow[] = "nowindow\n";

} // namespace

int DirectoryWriteError(const QString& dir) {
    return FolderWriteError(QDir(dir).path().toStdString());
}

QString WriteErrorText(int error) {
    switch (error) {
    case 0:
        return CSingleInstance::tr("the lock file could not be created");
    case ENOENT:
        return CSingleInstance::tr("the folder does not exist");
    case ENOTDIR:
        return CSingleInstance::tr("it is not a folder");
    case EROFS:
        return CSingleInstance::tr("the folder is on a read-only file system");
    case EACCES:
    case EPERM:
        return CSingleInstance::tr("you may not write in this folder");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return CSingleInstance::tr("the disk is full");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

CSingleInstance::CSingleInstance(const QString& dataDir, QObject* parent)
    : QObject(parent), lock_(QDir(dataDir).filePath(QStringLiteral("Terrix.lock"))),
      dataDir_(QDir(dataDir).absolutePath()) {
    // The socket name must be short (sockaddr_un) and the same for every copy using this data directory; on
    // Windows it names a pipe, which all users of the machine share.
    const QByteArray key = QDir(dataDir).absolutePath().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
    serverName_ = QStringLiteral("terrix-%1-%2")
                      .arg(QString::fromStdString(CurrentUserKey()), QString::fromLatin1(hash));
    // A lock left by a copy that crashed is taken over (the lock file names a process that no longer runs).
    lock_.setStaleLockTime(0);
}

CSingleInstance::~CSingleInstance() = default;

namespace {

// Whether a lock file was written on this computer. Qt puts the machine's id on the file's fourth line; the
// host name on the third is the computer's NetBIOS name on Windows (in capitals), which QSysInfo does not
// give, so the name is compared only where there is no id.
bool WrittenOnThisMachine(const QLockFile& lock, const QString& hostname) {
    QFile file(lock.fileName());
    const QByteArray ours = QSysInfo::machineUniqueId();
    if (!ours.isEmpty() && file.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> lines = file.readAll().split('\n');
        if (lines.size() > 3 && !lines[3].isEmpty()) {
            return lines[3] == ours;
        }
    }
    return hostname.isEmpty() || hostname.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
}

// Whether the process that wrote a lock file still runs (one on another computer that shares the folder is
// taken to run).
bool LockOwnerRuns(const QLockFile& lock) {
    qint64 pid = 0;
    QString hostname;
    QString application;
    if (!lock.getLockInfo(&pid, &hostname, &application)) {
        return false; // unreadable: no copy could have written it
    }
    if (!WrittenOnThisMachine(lock, hostname)) {
        return true;
    }
    return pid > 0 && ProcessRunning(static_cast<long>(pid));
}

// A lock that names this very process was left by an earlier copy that had the same process id: Windows ends
// a program at the end of the session without its clean-up, and after a restart may give the new copy that
// id again (Qt notices a restart on Linux only). Qt takes the lock for a running copy's, as the process runs
// under the program's name. It is taken over unless a copy in this process holds it.
bool TookOverOwnLeftover(QLockFile& lock) {
    qint64 pid = 0;
    QString hostname;
    QString application;
    return lock.error() == QLockFile::LockFailedError && lock.getLockInfo(&pid, &hostname, &application) &&
           pid == CurrentProcessId() && WrittenOnThisMachine(lock, hostname) && lock.removeStaleLockFile() &&
           lock.tryLock(0);
}

} // namespace

CSingleInstance::Start CSingleInstance::TakeLock() {
    if (server_ != nullptr) {
        return Start::kFirst;
    }
    failure_.clear();
    if (!lock_.tryLock(0) && !TookOverOwnLeftover(lock_)) {
        // A lock held by a running copy is the ordinary case. Anything else -- the lock file cannot be made,
        // or one left by a crashed copy cannot be removed -- is a fault of the folder: say which.
        const bool held = lock_.error() == QLockFile::LockFailedError;
        if (held && LockOwnerRuns(lock_)) {
            return Start::kOtherCopy;
        }
        const int writeError = DirectoryWriteError(dataDir_);
        if (held && writeError == 0) {
            // The folder takes files, so the lock is no leftover: a copy starting this moment is still
            // writing its name into it.
            return Start::kOtherCopy;
        }
        failure_ = tr("Terrix cannot start: the lock file that keeps a second copy of the program from "
                      "running could not be created in the data folder %1: %2.\n\nMake room on the disk or "
                      "make the folder writable, or choose another data folder with --data-dir or "
                      "TERRIX_DATA_DIR.")
                       .arg(QDir::toNativeSeparators(dataDir_), WriteErrorText(writeError));
        return Start::kFailed;
    }
    // We own the lock, so a socket file of that name can only be left over from a crashed copy.
    QLocalServer::removeServer(serverName_);
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(serverName_)) {
        // Still the first copy; later copies then cannot ask us to come forward and say so.
        qWarning("terrix: cannot listen on %s: %s", qPrintable(serverName_),
                 qPrintable(server->errorString()));
    }
    server_ = server;
    connect(server_, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
    return Start::kFirst;
}

void CSingleInstance::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (!socket->canReadLine()) {
                return;
            }
            const QByteArray request = socket->readLine();
            if (request != kActivate) {
                socket->disconnectFromServer();
                return;
            }
            const bool shown = activate_ && activate_();
            socket->write(shown ? kActivated : kNoWindow);
            socket->flush();
        });
    }
}

bool CSingleInstance::ActivateFirst(int timeoutMs) {
    // The first copy is another process, so this one simply waits for its answer: nothing of this copy
    // is on the screen yet.
    QLocalSocket socket;
    QDeadlineTimer deadline(timeoutMs);
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
        return false;
    }
    socket.write(kActivate);
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
        return false;
    }
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            return false;
        }
    }
    return socket.readLine() == kActivated;
}

} // namespace terrix
