// Trovecart tests - vsftpd with TLS or OpenSSH's sshd on 127.0.0.1, each with its own port, folders,
// certificate or host key.
#pragma once

#include <QProcess>
#include <QString>

class TSecureTestServer {
public:
    // "vsftpd" or "sshd". When the server cannot run here, SkipReason() says why.
    explicit TSecureTestServer(const QString& kind);
    ~TSecureTestServer();
    TSecureTestServer(const TSecureTestServer&) = delete;
    TSecureTestServer& operator=(const TSecureTestServer&) = delete;

    const QString& SkipReason() const { return skipReason_; }
    int Port() const { return port_; }
    // "SHA256:..." of the certificate or host key.
    const QString& Fingerprint() const { return fingerprint_; }
    // A folder on the server the user may write, ending with '/'; removed at the end.
    const QString& Folder() const { return folder_; }
    // A private key the user may log in with over SFTP.
    const QString& KeyFile() const { return keyFile_; }
    static QString User();
    static QString Password();

    // A new certificate or host key on the same port.
    void Rekey();

private:
    void ReadReadyLine();

    QProcess process_;
    QString skipReason_;
    int port_ = 0;
    QString fingerprint_;
    QString folder_;
    QString keyFile_;
};
