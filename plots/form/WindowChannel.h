#pragma once

#include <QObject>
#include <QString>

#include <string>

class QLocalServer;
class QLocalSocket;

namespace veltrana {

/// One plot window per user and family directory. The first start of plots listens on a
/// local socket that only its user can reach; a later start hands its result file to that
/// window and ends. A message is a file path and nothing else (the receiver opens it through
/// the same checks as any file); an empty path only asks the window to come to the front.
class WindowChannel : public QObject {
    Q_OBJECT

public:
    /// Longest message taken, in bytes: a path and its line end.
    static constexpr qint64 kMaxMessage = 4097;

    /// The socket for this user and `familyDir` (however it is spelled): in $XDG_RUNTIME_DIR
    /// when there is one, else a name of the user's in the temporary directory.
    static QString ServerName(const std::string& familyDir);

    explicit WindowChannel(QString serverName, QObject* parent = nullptr);
    ~WindowChannel() override;

    /// Hands `path` to the window listening on the socket; true when it took it within
    /// `timeoutMs`. Blocks the calling thread meanwhile (a start has no window yet).
    bool HandOver(const std::string& path, int timeoutMs = 3000) const;

    /// Starts listening. A socket left behind by a window that is gone is taken over; false
    /// when a live window listens already.
    bool Listen();

    /// Hands `path` over when a window listens already, else listens: true when this start is
    /// to show a window of its own. Two starts at once agree on one window.
    bool HandOverOrListen(const std::string& path);

    /// No more files are taken (the window is closing): a later start shows its own.
    void StopListening();

signals:
    /// A path handed over (bytes as the sender's file system spells them), or "".
    void pathReceived(const std::string& path);

private:
    void takeConnection();
    void readMessage(QLocalSocket* socket);

    QString m_name;
    QLocalServer* m_server = nullptr;
};

} // namespace veltrana
