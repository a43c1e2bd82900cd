#include "gui/app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <unistd.h>

namespace terrix {

namespace {

constexpr char kActivate[] = "activate\n";
constexpr char kActivated[] = "activated\n";
constexpr char kNoWindow[] = "nowindow\n";

} // namespace

CSingleInstance::CSingleInstance(const QString& dataDir, QObject* parent)
    : QObject(parent), lock_(QDir(dataDir).filePath(QStringLiteral("Terrix.lock"))) {
    // The socket name must be short (sockaddr_un) and the same for every copy using this data directory.
    const QByteArray key = QDir(dataDir).absolutePath().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
    serverName_ = QStringLiteral("terrix-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
    // A lock left by a copy that crashed is taken over (the lock file names a process that no longer runs).
    lock_.setStaleLockTime(0);
}

CSingleInstance::~CSingleInstance() = default;

bool CSingleInstance::TryBecomeFirst() {
    if (server_ != nullptr) {
        return true;
    }
    if (!lock_.tryLock(0)) {
        return false;
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
    return true;
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
    QLocalSocket socket;
    QEventLoop loop;
    bool answered = false;
    QByteArray reply;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(&socket, &QLocalSocket::connected, &loop, [&] { socket.write(kActivate); });
    connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        if (socket.canReadLine()) {
            reply = socket.readLine();
            answered = true;
            loop.quit();
        }
    });
    connect(&socket, &QLocalSocket::errorOccurred, &loop, &QEventLoop::quit);
    connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
    socket.connectToServer(serverName_);
    // The first copy may run in this thread (tests), so wait in an event loop rather than blocking.
    if (socket.state() != QLocalSocket::UnconnectedState) {
        timer.start(timeoutMs);
        loop.exec();
    }
    return answered && reply == kActivated;
}

} // namespace terrix
