// Trovecart - an FTP client with one control connection kept open across operations.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QDateTime>
#include <QString>

#include "common/app_error.h"
#include "publish/ftp_listing.h"

class QIODevice;

// A failed FTP operation; the message is the server's reply ("550 No such file or directory.")
// or the system's description of a network failure.
class EFtpError : public EAppError {
public:
    using EAppError::EAppError;
};

// The request was abandoned because the stop request was set; the connection is closed.
class EFtpStopped : public EFtpError {
public:
    EFtpStopped();
};

// The server could not show that it is the one trusted: its certificate failed the system's check
// or the trusted fingerprint, or its host key is unknown. The user may choose to trust the fingerprint.
class EFtpUntrustedServer : public EFtpError {
public:
    // The message is the reason followed by the fingerprint.
    EFtpUntrustedServer(const QString& reason, const QString& fingerprint);
    const QString& Reason() const { return reason_; }
    // "SHA256:..." of the certificate or host key the server presented.
    const QString& Fingerprint() const { return fingerprint_; }

private:
    QString reason_;
    QString fingerprint_;
};

enum TFtpProtocol : int {
    fpFtp = 0,
    // Explicit TLS (AUTH TLS) for the control and every data connection.
    fpFtps = 1,
    fpSftp = 2,
};

// How long a silent or crawling server may hold a request before it fails, in seconds.
struct TFtpTimeouts {
    // Opening the control connection with greeting and login, or a data connection.
    int Connect = 30;
    // Waiting for the complete reply to a command.
    int Reply = 30;
    // A data transfer that moves less than one byte a second for this long.
    int Stalled = 30;
};

// Remote paths are absolute ("/a/b") or relative to CurrentDir(). Transfers are binary. Not
// thread-safe: one thread uses a client at a time.
class TFtpClient {
public:
    TFtpClient();
    ~TFtpClient();
    TFtpClient(const TFtpClient&) = delete;
    TFtpClient& operator=(const TFtpClient&) = delete;

    // Changing a connection setting closes an open connection; the next Connect uses the new value.
    const QString& Host() const;
    void SetHost(const QString& host);
    int Port() const;
    void SetPort(int port);
    const QString& Username() const;
    void SetUsername(const QString& username);
    const QString& Password() const;
    void SetPassword(const QString& password);
    // Passive: the client opens the data connections; active: the server connects back. FTPS is
    // always passive.
    bool Passive() const;
    void SetPassive(bool passive);
    TFtpProtocol Protocol() const;
    void SetProtocol(TFtpProtocol protocol);
    // SFTP only: log in with this private key (the password unlocks it) instead of the password.
    void SetKeyFile(const QString& keyFile);
    // FTPS: the only certificate accepted, instead of the system's trust store. SFTP: an unknown host
    // key with this fingerprint is added to the known hosts. Empty for none.
    void SetTrustedFingerprint(const QString& fingerprint);
    // SFTP: the host keys met before, in OpenSSH's known_hosts form.
    void SetKnownHostsFile(const QString& fileName);
    // Whether List uses MLSD when the server announces it (on by default).
    void SetPreferMlsd(bool prefer);
    void SetTimeouts(const TFtpTimeouts& timeouts);

    // Opens a new control connection and logs in (one handshake: the login is part of it). An
    // open connection is closed first. CurrentDir() becomes the directory the login ends in. Raises
    // EFtpUntrustedServer when the server is not trusted; a changed host key is a plain EFtpError.
    void Connect();
    // Whether the control connection is open and idle; false before Connect, after Disconnect
    // and once the server has closed it or sent an unrequested reply (such as a time-out).
    bool Connected() const;
    void Disconnect();

    // The directory that relative paths start from; ends with '/'. Changes only on success. SFTP has
    // no server-side directory: changing checks that the folder can be listed.
    const QString& CurrentDir() const;
    void ChangeDir(const QString& path);
    // FTP succeeds only on the reply 257, Delete and RemoveDir only on 250.
    void MakeDir(const QString& path);
    void Delete(const QString& path);
    // Removes an empty directory; servers refuse one that holds anything.
    void RemoveDir(const QString& path);
    // The modification time when the server answers 213 (the file exists; the time may be invalid
    // when the server's text is not a time), nothing for any other reply.
    std::optional<QDateTime> FileDate(const QString& path);
    // Detailed listing of CurrentDir(); a line that cannot be read fails the whole listing.
    TFtpListing List();
    // Stores everything the source gives under the path, replacing an existing file (never
    // appending). Returns only after the server confirmed the complete transfer.
    void Store(QIODevice& source, const QString& path);
    // The content of a small file (up to 64 MB).
    QByteArray Retrieve(const QString& path);
    // RNFR and RNTO; succeeds only on the replies 350 and 250.
    void Rename(const QString& from, const QString& to);

    // Announced byte count of a transfer, then the bytes done so far (reported when they change).
    std::function<void(qint64 totalBytes)> OnWorkBegin;
    std::function<void(qint64 doneBytes)> OnWork;
    // Asked at least every few milliseconds while a request waits; true abandons the request with
    // EFtpStopped. Called on the thread that runs the request.
    std::function<bool()> ShouldStop;

private:
    class TImpl;
    std::unique_ptr<TImpl> impl_;
};
