// Trovecart tests - an FTP server that misbehaves on purpose.
#pragma once

#include <QProcess>
#include <QString>

// A server on 127.0.0.1 that misbehaves in the named way (see hostile_ftp_server.py): "silent",
// "mute", "trickle", "endless" or "stall". Killed by the destructor.
class THostileFtpServer {
public:
    explicit THostileFtpServer(const QString& behaviour);
    ~THostileFtpServer();

    int Port() const { return port_; }
    // Waits until a client has connected; false after `timeoutMs`.
    bool WaitForConnection(int timeoutMs);

private:
    QProcess process_;
    QByteArray output_;
    int port_ = 0;
};
