// Trovecart - publishes the site onto an FTP server.
#pragma once

#include <functional>
#include <memory>

#include "publish/base_thread.h"
#include "publish/ftp_account.h"
#include "publish/ftp_client.h"
#include "publish/ftp_listing.h"

class TFTPThread : public TBaseThread {
    Q_OBJECT

public:
    explicit TFTPThread(QObject* parent = nullptr);
    ~TFTPThread() override;

    const QString& Host() const { return account_.Host; }
    void SetHost(const QString& host) { account_.Host = host; }
    int Port() const { return account_.Port; }
    void SetPort(int port) { account_.Port = port; }
    const QString& Login() const { return account_.Login; }
    void SetLogin(const QString& login) { account_.Login = login; }
    const QString& Password() const { return account_.Password; }
    void SetPassword(const QString& password) { account_.Password = password; }
    bool Passive() const { return account_.Passive; }
    void SetPassive(bool passive) { account_.Passive = passive; }
    void SetTimeouts(const TFtpTimeouts& timeouts) { timeouts_ = timeouts; }
    void SetAccount(const TFtpAccount& account) { account_ = account; }
    // Asked in the UI thread when the server cannot show that it is the trusted one (an FTPS
    // certificate that fails the check, an unknown SFTP host key). True trusts the fingerprint and
    // the run goes on; the receiver keeps the trust. Without it, or on false, the run fails with the reason.
    std::function<bool(const QString& host, const QString& reason, const QString& fingerprint)> AskToTrust;

protected:
    void run() override;
    // True when the target directory's listing, fetched before the question, has any entry.
    bool IsTargetNotEmpty() override;
    QByteArray ReadManifest() override;
    void RemoveManifest() override;
    // Uploads under a temporary name, then renames it into place.
    void WriteManifest(const QByteArray& content) override;
    void RemoveTargetFile(const QString& relative) override;
    // Only a folder whose listing is empty is asked to be removed.
    bool RemoveEmptyTargetFolder(const QString& relative) override;
    QString ActionText(const QString& relative) const override;

private:
    void Publish();
    // The first connection, with the question about a server that is not trusted.
    void ConnectAskingTrust();
    void UploadFolder(const QString& localFolder, const QString& remoteFolder);
    // Makes the folder (ending with '/') with its parents and changes into it; failures are
    // ignored.
    void EnterRemoteFolder(const QString& remoteFolder);
    // Raises EAppError with the server's or the system's message.
    void UploadFile(const QString& localPath, const QString& remotePath);
    // Creates the directory and its missing parents; raises EFtpError when one cannot be made.
    void ForceRemoteDirs(const QString& path);
    void EnsureConnected();
    // Runs the commands; when they fail because the server had closed the connection (which it
    // may do right after an upload), once more on a new one.
    void RunReconnecting(const std::function<void()>& commands);

    TFtpAccount account_;
    TFtpTimeouts timeouts_;

    // Exists only while the run lasts; worker thread only.
    std::unique_ptr<TFtpClient> client_;
    TFtpListing targetListing_;
    // The target directory as the server names it, with its final '/'.
    QString targetRoot_;
    // Bytes of the running upload, as announced when it began.
    qint64 transferSize_ = 0;
};
