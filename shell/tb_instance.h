#pragma once
// One running copy of the program per user and installation. The first copy
// holds a lock file for its whole run and listens on a local socket of the
// same name; a second start finds the lock taken, asks the running copy over
// the socket to come to the front, waits for its answer and ends without
// showing anything. A lock or socket left by a copy that crashed is taken
// over.

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace tb {

class TInstance : public QObject {
    Q_OBJECT
public:
    // What the start-up check found.
    enum class TClaim {
        First,     // this is the running copy: it holds the name and listens
        Forwarded, // another copy runs and came to the front: end quietly
        NoAnswer,  // another copy holds the name but did not answer in time: end quietly
        Unguarded, // the name could not be held (no lock file can be made there) and no
                   // running copy answered: run without the guard
    };

    // The name for this user and this program folder, so that two users or
    // two installations never meet: "tobbin-" and 16 hexadecimal digits.
    static QString ServerName(const QString& user, const QString& programFolder);
    // The name of this run: the user from the environment and the program
    // folder of the executable.
    static QString ServerName();
    // The folder for the lock file and the socket: the user's run-time
    // folder, else the temporary folder.
    static QString DefaultFolder();

    // `name` is a bare name (ServerName); the lock file and the socket are
    // made in `folder`, which must exist.
    explicit TInstance(const QString& name, const QString& folder = DefaultFolder());
    ~TInstance() override;

    // Claims the name, or reaches the copy that holds it and asks it to come
    // forward. Call once, at start, before any window is shown.
    TClaim Claim();

    // Called in the running copy when a later start asks it to come forward
    // (on the user-interface thread, from the event loop).
    std::function<void()> ComeForward;

    // How long a second start tries to reach the running copy (it may be
    // between taking the lock and listening) and then waits for its answer.
    int ConnectMilliseconds = 2000;
    int AnswerMilliseconds = 3000;

    // The socket's path and the lock file's path.
    QString SocketPath() const { return Socket; }
    QString LockPath() const { return Socket + QStringLiteral(".lock"); }

private:
    // Asks the copy listening on the socket to come forward: Forwarded when
    // it answered, NoAnswer when it could not be reached or kept silent.
    TClaim AskRunningCopy(int connectMilliseconds);
    // Listens on the socket; a socket file that no copy serves any more is
    // removed first. False when a running copy answers on the socket or the
    // socket cannot be made.
    bool Listen();
    void NewConnection();
    void Request(QLocalSocket* client);

    QString Socket;
    std::unique_ptr<QLockFile> Lock;
    std::unique_ptr<QLocalServer> Server;
};

} // namespace tb
