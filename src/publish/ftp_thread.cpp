// Trovecart - FTP publish worker.
#include "publish/ftp_thread.h"

#include <QBuffer>
#include <QFile>

#include "common/app_error.h"
#include "common/file_utils.h"
#include "publish/ftp_client.h"

TFTPThread::TFTPThread(QObject* parent) : TBaseThread(parent) {}
TFTPThread::~TFTPThread() = default;

void TFTPThread::run() {
    try {
        Publish();
    } catch (const EFtpStopped&) {
        ReportCancelled();
    } catch (const EAppError& error) {
        ReportRunFailure(error.Message());
    }
    client_.reset();
}

void TFTPThread::Publish() {
    ReportStatus(QStringLiteral("Connecting to FTP server..."), true, false);
    client_ = std::make_unique<TFtpClient>();
    client_->OnWorkBegin = [this](qint64 totalBytes) { transferSize_ = totalBytes; };
    client_->OnWork = [this](qint64 doneBytes) { UpdateFileProgress(doneBytes, transferSize_); };
    client_->ShouldStop = [this] { return Terminated(); };
    ApplyAccount(*client_, account_);
    client_->SetTimeouts(timeouts_);
    ConnectAskingTrust();

    QString target = TargetFolder();
    target.replace(QLatin1Char('\\'), QLatin1Char('/'));
    client_->ChangeDir(target);
    // From here on the target is absolute, so that later directory changes cannot move it.
    targetRoot_ = client_->CurrentDir();
    targetListing_ = client_->List();

    if (!CommonStart() || Terminated())
        return;
    PublishWithManifest([this] { UploadFolder(SourceFolder(), targetRoot_); });
}

void TFTPThread::ConnectAskingTrust() {
    try {
        client_->Connect();
    } catch (const EFtpUntrustedServer& error) {
        if (!AskToTrust ||
            !AskInOwnerThread([&] { return AskToTrust(account_.Host, error.Reason(), error.Fingerprint()); }))
            throw;
        account_.Trust(error.Fingerprint());
        // An SFTP host key so trusted is added to the known hosts by this connection.
        client_->SetTrustedFingerprint(account_.FingerprintForHost());
        client_->Connect();
    }
}

bool TFTPThread::IsTargetNotEmpty() {
    return !targetListing_.empty();
}

void TFTPThread::UploadFolder(const QString& localFolder, const QString& remoteFolder) {
    const QString remote = WithTrailingSlash(remoteFolder);
    EnterRemoteFolder(remote);
    WalkSentEntries(
        localFolder, [&](const TFolderEntry& folder) { EnterRemoteFolder(remote + folder.Relative); },
        [&](const TFolderEntry& file) {
            const QString path = remote + file.Relative;
            // A remote copy cannot be hashed later: every file is hashed before it goes.
            SendFile(file, [&](TManifestEntry* sent, bool) {
                if (sent)
                    *sent = HashLocalFile(file.Path);
                // The folder the file goes into, with its final '/'.
                const QString folder = path.left(path.size() - file.Name.size());
                try {
                    client_->ChangeDir(folder);
                } catch (const EAppError&) {
                }
                UploadFile(file.Path, path);
            });
        });
}

void TFTPThread::EnterRemoteFolder(const QString& remoteFolder) {
    // A folder that cannot be made or entered shows up as failures of its files.
    try {
        ForceRemoteDirs(remoteFolder.left(remoteFolder.size() - 1));
        client_->ChangeDir(remoteFolder);
    } catch (const EAppError&) {
    }
}

void TFTPThread::EnsureConnected() {
    if (!client_->Connected())
        client_->Connect();
}

void TFTPThread::RunReconnecting(const std::function<void()>& commands) {
    EnsureConnected();
    try {
        commands();
    } catch (const EFtpStopped&) {
        throw;
    } catch (const EFtpError&) {
        if (client_->Connected())
            throw;
        client_->Connect();
        commands();
    }
}

void TFTPThread::UploadFile(const QString& localPath, const QString& remotePath) {
    // A dropped connection is re-established once per file.
    EnsureConnected();
    if (client_->FileDate(remotePath))
        client_->Delete(remotePath);
    RestartFileClock();
    QFile source(localPath);
    if (!source.open(QIODevice::ReadOnly))
        throw EAppError(source.errorString());
    client_->Store(source, remotePath);
}

void TFTPThread::ForceRemoteDirs(const QString& path) {
    if (path.isEmpty())
        return;
    try {
        client_->ChangeDir(path);
        return;
    } catch (const EFtpError&) {
    }
    ForceRemoteDirs(path.left(path.lastIndexOf(QLatin1Char('/'))));
    client_->MakeDir(path);
}

QString TFTPThread::ActionText(const QString& relative) const {
    return FtpUrlScheme(account_.Protocol) + account_.Host + targetRoot_ + relative;
}

// Asked for by name: many servers leave names starting with '.' out of their listings.
QByteArray TFTPThread::ReadManifest() {
    try {
        return client_->Retrieve(targetRoot_ + TPublishManifest::FileName());
    } catch (const EFtpStopped&) {
        throw;
    } catch (const EAppError&) {
        return {};
    }
}

void TFTPThread::RemoveManifest() {
    RemoveTargetFile(TPublishManifest::FileName());
}

void TFTPThread::WriteManifest(const QByteArray& content) {
    const QString path = targetRoot_ + TPublishManifest::FileName();
    const QString temporary = path + QStringLiteral(".part");
    EnsureConnected();
    QBuffer source;
    source.setData(content);
    source.open(QIODevice::ReadOnly);
    client_->Store(source, temporary);
    RunReconnecting([&] { client_->Rename(temporary, path); });
}

void TFTPThread::RemoveTargetFile(const QString& relative) {
    const QString path = targetRoot_ + relative;
    RunReconnecting([&] {
        if (client_->FileDate(path))
            client_->Delete(path);
    });
}

bool TFTPThread::RemoveEmptyTargetFolder(const QString& relative) {
    const QString folder = targetRoot_ + relative + QLatin1Char('/');
    try {
        bool empty = false;
        RunReconnecting([&] {
            client_->ChangeDir(folder);
            empty = client_->List().empty();
            // Some servers refuse to remove the folder a session is in.
            client_->ChangeDir(targetRoot_);
        });
        if (empty)
            RunReconnecting([&] { client_->RemoveDir(folder); });
        return empty;
    } catch (const EFtpStopped&) {
        throw;
    } catch (const EAppError&) {
        return false;
    }
}
