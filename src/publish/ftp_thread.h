// Trovecart - publishes the site onto an FTP server.
#pragma once

#include <memory>

#include "publish/base_thread.h"
#include "publish/ftp_client.h"
#include "publish/ftp_listing.h"

class TFTPThread : public TBaseThread {
    Q_OBJECT

public:
    explicit TFTPThread(QObject* parent = nullptr);
    ~TFTPThread() override;

    const QString& Host() const { return host_; }
    void SetHost(const QString& host) { host_ = host; }
    int Port() const { return port_; }
    void SetPort(int port) { port_ = port; }
    const QString& Login() const { return login_; }
    void SetLogin(const QString& login) { login_ = login; }
    const QString& Password() const { return password_; }
    void SetPassword(const QString& password) { password_ = password; }
    bool Passive() const { return passive_; }
    void SetPassive(bool passive) { passive_ = passive; }
    void SetTimeouts(const TFtpTimeouts& timeouts) { timeouts_ = timeouts; }

protected:
    void run() override;
    // True when the target directory's listing, fetched before the question, has any entry.
    bool IsTargetNotEmpty() override;

private:
    void Publish();
    void UploadFolder(const QString& localFolder, const QString& remoteFolder);
    // Makes the folder (ending with '/') with its parents and changes into it; failures are
    // ignored.
    void EnterRemoteFolder(const QString& remoteFolder);
    // Raises EAppError with the server's or the system's message.
    void UploadFile(const QString& localPath, const QString& remotePath);
    // Creates the directory and its missing parents; raises EFtpError when one cannot be made.
    void ForceRemoteDirs(const QString& path);

    QString host_;
    int port_ = 21;
    QString login_;
    QString password_;
    bool passive_ = false;
    TFtpTimeouts timeouts_;

    // Exists only while the run lasts; worker thread only.
    std::unique_ptr<TFtpClient> client_;
    TFtpListing targetListing_;
    // Bytes of the running upload, as announced when it began.
    qint64 transferSize_ = 0;
};
