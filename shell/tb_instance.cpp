#include "shell/tb_instance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tb {

namespace {

// The one request and its answer, each a line.
constexpr char ShowRequest[] = "show\n";
constexpr char ShownAnswer[] = "shown\n";
// A client that sends more than this without a line end is cut off.
constexpr qint64 LongestRequest = 64;

} // namespace

QString TInstance::ServerName(const QString& user, const QString& programFolder) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(user.toUtf8());
    hash.addData(QByteArrayView("\n", 1));
    hash.addData(programFolder.toUtf8());
    return QStringLiteral("tobbin-") + QString::fromLatin1(hash.result().toHex().left(16));
}

QString TInstance::ServerName() {
    QString user;
#ifdef Q_OS_UNIX
    user = QString::number(getuid());
#endif
    for (const char* variable : {"USER", "LOGNAME", "USERNAME"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty()) {
            user += QLatin1Char(':') + value;
            break;
        }
    }
    const QString folder = QCoreApplication::applicationDirPath();
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return ServerName(user, canonical.isEmpty() ? folder : canonical);
}

QString TInstance::DefaultFolder() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Without XDG_RUNTIME_DIR the system would only warn and make a folder
    // in the temporary folder: take that directly.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return QDir::tempPath();
#endif
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return runtime;
    return QDir::tempPath();
}

TInstance::TInstance(const QString& name, const QString& folder)
    : Socket(QDir(folder).filePath(name)) {}

TInstance::~TInstance() {
    // Closing the server removes its socket file; the lock goes with Lock.
    if (Server) Server->close();
}

TInstance::TClaim TInstance::Claim() {
    Lock = std::make_unique<QLockFile>(LockPath());
    // The lock of a running copy never grows stale with age, however long it
    // runs; only a lock whose process is gone is taken over.
    Lock->setStaleLockTime(0);
    if (Lock->tryLock(0)) {
        if (Listen()) return TClaim::First;
        // Something else serves on the socket although the lock was free (a
        // cleaner removed the lock file of a running copy): that copy is the
        // one to come forward.
        if (AskRunningCopy(0) == TClaim::Forwarded) {
            Lock.reset();
            return TClaim::Forwarded;
        }
        return TClaim::Unguarded;
    }
    if (Lock->error() == QLockFile::LockFailedError) {
        Lock.reset();
        return AskRunningCopy(ConnectMilliseconds);
    }
    // No lock file can be made here. A running copy may still be listening;
    // if none answers, the program runs rather than refusing to start at all.
    Lock.reset();
    if (AskRunningCopy(0) == TClaim::Forwarded) return TClaim::Forwarded;
    Listen();
    return TClaim::Unguarded;
}

TInstance::TClaim TInstance::AskRunningCopy(int connectMilliseconds) {
    QLocalSocket client;
    QDeadlineTimer deadline(connectMilliseconds);
    for (;;) {
        client.connectToServer(Socket);
        if (client.waitForConnected(200)) break;
        client.abort();
        if (deadline.hasExpired()) return TClaim::NoAnswer;
        QThread::msleep(50);
    }
    client.write(ShowRequest);
    if (!client.waitForBytesWritten(AnswerMilliseconds)) return TClaim::NoAnswer;
    QDeadlineTimer answer(AnswerMilliseconds);
    while (!client.canReadLine()) {
        if (answer.hasExpired() ||
            !client.waitForReadyRead(static_cast<int>(answer.remainingTime())))
            return TClaim::NoAnswer;
    }
    return client.readLine() == ShownAnswer ? TClaim::Forwarded : TClaim::NoAnswer;
}

bool TInstance::Listen() {
    // A socket file that nobody answers on was left by a copy that crashed:
    // it goes. One that answers belongs to a running copy, which keeps it.
    if (QFileInfo::exists(Socket)) {
        QLocalSocket probe;
        probe.connectToServer(Socket);
        if (probe.waitForConnected(200)) {
            probe.abort();
            return false;
        }
        QLocalServer::removeServer(Socket);
    }
    Server = std::make_unique<QLocalServer>();
    Server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(Server.get(), &QLocalServer::newConnection, this, &TInstance::NewConnection);
    if (Server->listen(Socket)) return true;
    Server.reset();
    return false;
}

void TInstance::NewConnection() {
    while (QLocalSocket* client = Server->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { Request(client); });
        if (client->canReadLine()) Request(client);
    }
}

void TInstance::Request(QLocalSocket* client) {
    if (!client->canReadLine()) {
        if (client->bytesAvailable() > LongestRequest) client->abort();
        return;
    }
    if (client->readLine(LongestRequest + 1) != ShowRequest) {
        client->abort();
        return;
    }
    // The later start waits until the program has come forward.
    if (ComeForward) {
        try {
            ComeForward();
        } catch (...) {
            // Coming forward is a courtesy: a failure there must not stop the
            // answer, or the later start would wait in vain.
        }
    }
    client->write(ShownAnswer);
    client->flush();
    client->disconnectFromServer();
}

} // namespace tb
