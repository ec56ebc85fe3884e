// Trovecart - FTP, FTPS and SFTP client on libcurl.
//
// Every operation is one libcurl request of the same easy handle on the client's own multi handle,
// whose connection cache keeps the control connection open between requests (and logs in again
// by itself when the server has closed it meanwhile). Commands without a transfer (CWD, MKD, DELE, MDTM,
// FEAT) are sent as "quote" commands with the "*" prefix, so that libcurl does not judge their replies; the
// reply to each command is taken from the control connection's log and judged here. libcurl never changes
// directory itself (FTPFILE_NOCWD): every command carries an absolute path.
//
// SFTP has no replies to judge: its quote commands ("mkdir", "rm") fail the request themselves, and
// libcurl's error text is the message.
#include "publish/ftp_client.h"

#include <cstdio>
#include <poll.h>
#include <sys/select.h>
#include <sys/socket.h>

#include <QIODevice>
#include <QTimeZone>
#include <QUrl>

#include <curl/curl.h>

#include "common/file_utils.h"
#include "publish/ftp_reply_log.h"
#include "publish/server_trust.h"

namespace {

struct TCurlEasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct TCurlMultiDeleter {
    void operator()(CURLM* handle) const { curl_multi_cleanup(handle); }
};
struct TCurlListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using TCurlEasy = std::unique_ptr<CURL, TCurlEasyDeleter>;
using TCurlMulti = std::unique_ptr<CURLM, TCurlMultiDeleter>;
using TCurlList = std::unique_ptr<curl_slist, TCurlListDeleter>;

// libcurl 7.88 can miss the moment to open a passive data connection: it then has no socket to
// wait for and would sleep until its next timer, up to a second per transfer. Such a state is
// driven on at once (a bounded number of times), and no wait lasts longer than kMaxWaitMs.
constexpr int kMaxWaitMs = 10;
constexpr int kMaxIdleRounds = 1000;
// Characters of a server's line quoted in a message.
constexpr int kMaxQuotedLine = 200;

// A server may send endless listing or file data; what is kept of it is bounded.
constexpr qsizetype kMaxListingBytes = 64 * 1024 * 1024;

void InitCurlOnce() {
    static const CURLcode result = curl_global_init(CURL_GLOBAL_DEFAULT);
    Q_UNUSED(result);
}

// What a request does besides running its quote commands.
struct TRequest {
    // Absolute remote path; a folder ends with '/'.
    QString Path = QStringLiteral("/");
    QList<QByteArray> Quote;
    bool NewConnection = false;
    // A listing of the folder, collected in TTransfer::Received; FTP sends ListCommand for it.
    bool Listing = false;
    QByteArray ListCommand;
    // Asks for the file's modification time without a transfer.
    bool FileTime = false;
    // A missing file sets TTransfer::Missing instead of failing the request.
    bool MissingAllowed = false;
    // A download of the file at Path, collected in TTransfer::Received.
    bool Download = false;
    // Non-null: an upload of SourceSize bytes from this device.
    QIODevice* Source = nullptr;
    qint64 SourceSize = 0;
};

// State of the running request; touched only by libcurl's callbacks on the calling thread.
struct TTransfer {
    TFtpReplyLog Replies;
    QByteArray Received;
    QIODevice* Source = nullptr;
    // The directory the login ended in, as the server told it.
    QString EntryPath;
    // Set when a callback gave up; becomes the error's message.
    QString AbortMessage;
    qint64 ReportedBytes = -1;
    const std::function<void(qint64)>* OnWork = nullptr;
    const std::function<bool()>* ShouldStop = nullptr;
    // Set once the stop request abandoned the request.
    bool Stopped = false;
    bool Missing = false;
    std::optional<QDateTime> FileTime;

    bool StopRequested() {
        Stopped = Stopped || (ShouldStop && *ShouldStop && (*ShouldStop)());
        return Stopped;
    }
};

int DebugCallback(CURL*, curl_infotype type, char* data, size_t size, void* user) {
    auto* transfer = static_cast<TTransfer*>(user);
    const QByteArray text(data, static_cast<qsizetype>(size));
    if (type == CURLINFO_HEADER_OUT)
        transfer->Replies.AddCommand(text);
    else if (type == CURLINFO_HEADER_IN)
        transfer->Replies.AddReplyText(text);
    return 0;
}

size_t WriteCallback(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<TTransfer*>(user);
    if (transfer->Received.size() > kMaxListingBytes) {
        transfer->AbortMessage = QString::fromUtf8(curl_easy_strerror(CURLE_FILESIZE_EXCEEDED));
        return 0;
    }
    transfer->Received.append(data, static_cast<qsizetype>(size * count));
    return size * count;
}

size_t ReadCallback(char* buffer, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<TTransfer*>(user);
    const qint64 read = transfer->Source->read(buffer, static_cast<qint64>(size * count));
    if (read < 0) {
        transfer->AbortMessage = transfer->Source->errorString();
        return CURL_READFUNC_ABORT;
    }
    return static_cast<size_t>(read);
}

// Also called about once a second while libcurl waits for a reply inside a single call.
int ProgressCallback(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
    auto* transfer = static_cast<TTransfer*>(user);
    if (transfer->StopRequested())
        return 1;
    if (uploaded == transfer->ReportedBytes || !transfer->OnWork || !*transfer->OnWork)
        return 0;
    transfer->ReportedBytes = uploaded;
    try {
        (*transfer->OnWork)(uploaded);
    } catch (const EAppError& error) {
        transfer->AbortMessage = error.Message();
        return 1;
    }
    return 0;
}

QString ReplyText(const TFtpExchange& exchange) {
    return QString::fromUtf8(exchange.Text);
}

// The argument form of a folder: without its trailing '/', except the root itself.
QString FolderArgument(const QString& folder) {
    if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        return folder.left(folder.size() - 1);
    return folder;
}

// CR or LF in a path would end the command early and start another one on the control connection.
void RejectControlCharacters(const QString& path) {
    for (const QChar c : path) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            throw EFtpError(QString::fromUtf8(curl_easy_strerror(CURLE_URL_MALFORMAT)));
    }
}

// A path in an SFTP quote command: quoted, so that spaces and quotes stay part of it.
QByteArray SftpPath(const QString& path) {
    QByteArray text = path.toUtf8();
    text.replace('\\', "\\\\");
    text.replace('"', "\\\"");
    return '"' + text + '"';
}

// "213 20240131090507" or "213 20240131090507.123", in UTC.
QDateTime ParseModificationTime(const QByteArray& reply) {
    const QString value = QString::fromLatin1(reply.mid(4).trimmed()).left(14);
    QDateTime time = QDateTime::fromString(value, QStringLiteral("yyyyMMddHHmmss"));
    if (!time.isValid())
        return {};
    time.setTimeZone(QTimeZone::utc());
    return time.toLocalTime();
}

} // namespace

class TFtpClient::TImpl {
public:
    QString host;
    int port = 21;
    QString username;
    QString password;
    TFtpProtocol protocol = fpFtp;
    QString keyFile;
    QByteArray trustedDigest;
    QString knownHostsFile;
    bool passive = false;
    bool preferMlsd = true;
    TFtpTimeouts timeouts;
    // The owning client's ShouldStop.
    const std::function<bool()>* shouldStop = nullptr;
    QString currentDir = QStringLiteral("/");
    std::optional<bool> serverHasMlsd;
    // What the running request's server showed; outlives the connections, whose TLS contexts keep
    // its address.
    TServerTrust trust;
    // Holds the connection cache; declared first so that it outlives the easy handle.
    TCurlMulti multi;
    TCurlEasy curl;
    // The control connection's socket after the last request; CURL_SOCKET_BAD when there is none.
    curl_socket_t controlSocket = CURL_SOCKET_BAD;
    // Handed to libcurl, which keeps the pointers for the request.
    QByteArray knownHostsPath;
    QByteArray keyFilePath;
    QByteArray keyPassphrase;

    TImpl() { InitCurlOnce(); }

    void Close() {
        curl.reset();
        multi.reset();
        controlSocket = CURL_SOCKET_BAD;
    }

    bool HasSocketsToWaitFor() {
        fd_set readSet;
        fd_set writeSet;
        fd_set errorSet;
        FD_ZERO(&readSet);
        FD_ZERO(&writeSet);
        FD_ZERO(&errorSet);
        int maxDescriptor = -1;
        curl_multi_fdset(multi.get(), &readSet, &writeSet, &errorSet, &maxDescriptor);
        return maxDescriptor >= 0;
    }

    // Runs the configured easy handle to its end or until the stop request; returns libcurl's result.
    CURLcode Drive(CURL* handle, TTransfer& transfer, char* errorBuffer) {
        CURLMcode status = curl_multi_add_handle(multi.get(), handle);
        CURLcode result = CURLE_OK;
        int idleRounds = 0;
        while (status == CURLM_OK && !transfer.StopRequested()) {
            int running = 0;
            status = curl_multi_perform(multi.get(), &running);
            if (status != CURLM_OK || running == 0)
                break;
            if (!HasSocketsToWaitFor() && ++idleRounds < kMaxIdleRounds)
                continue;
            idleRounds = 0;
            status = curl_multi_poll(multi.get(), nullptr, 0, kMaxWaitMs, nullptr);
        }
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == handle)
                result = message->data.result;
        }
        if (status != CURLM_OK) {
            std::snprintf(errorBuffer, CURL_ERROR_SIZE, "%s", curl_multi_strerror(status));
            result = CURLE_FAILED_INIT;
        }
        // Read before the handle leaves the multi handle, which holds the connection.
        if (curl_easy_getinfo(handle, CURLINFO_ACTIVESOCKET, &controlSocket) != CURLE_OK)
            controlSocket = CURL_SOCKET_BAD;
        curl_multi_remove_handle(multi.get(), handle);
        return result;
    }

    QString Resolve(const QString& path) const {
        RejectControlCharacters(path);
        if (path.startsWith(QLatin1Char('/')))
            return path;
        return currentDir + path;
    }

    QByteArray UrlFor(const QString& absolutePath) const {
        QString hostPart = host;
        if (hostPart.contains(QLatin1Char(':')) && !hostPart.startsWith(QLatin1Char('[')))
            hostPart = QLatin1Char('[') + hostPart + QLatin1Char(']');
        const QByteArray server = hostPart.toUtf8() + ':' + QByteArray::number(port);
        const QByteArray path = QUrl::toPercentEncoding(absolutePath.mid(1), "/");
        if (protocol == fpSftp)
            return "sftp://" + server + '/' + path;
        // "%2F" keeps the path absolute instead of relative to the login directory.
        return "ftp://" + server + "/%2F" + path;
    }

    QByteArray KnownHostsEntry() const {
        const QByteArray name = host.toUtf8();
        return port == 22 ? name : '[' + name + "]:" + QByteArray::number(port);
    }

    // The options that prove the server's identity and log in over an encrypted protocol.
    void SetSecurityOptions(CURL* handle) {
        trust = TServerTrust();
        trust.TrustedDigest = trustedDigest;
        if (protocol == fpFtps) {
            curl_easy_setopt(handle, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
            // Over TLS 1.3, vsftpd (common on hosting services) fails about every second upload with
            // "426 Failure reading network stream"; TLS 1.2 is what FTP servers reliably speak.
            curl_easy_setopt(handle, CURLOPT_SSLVERSION,
                             static_cast<long>(CURL_SSLVERSION_TLSv1_2) |
                                 static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_2));
            if (!trustedDigest.isEmpty()) {
                // The pin replaces the system's check: this one certificate, whatever its name.
                curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 0L);
                curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 0L);
            }
            if (curl_easy_setopt(handle, CURLOPT_SSL_CTX_FUNCTION, InstallCertificateCheck) != CURLE_OK)
                throw EFtpError(QString::fromUtf8(curl_easy_strerror(CURLE_NOT_BUILT_IN)));
            curl_easy_setopt(handle, CURLOPT_SSL_CTX_DATA, &trust);
        } else if (protocol == fpSftp) {
            trust.KnownHostsFile = knownHostsFile;
            trust.HostEntry = KnownHostsEntry();
            knownHostsPath = knownHostsFile.toLocal8Bit();
            keyFilePath = keyFile.toLocal8Bit();
            curl_easy_setopt(handle, CURLOPT_SSH_KNOWNHOSTS, knownHostsPath.constData());
            curl_easy_setopt(handle, CURLOPT_SSH_KEYFUNCTION, CheckHostKey);
            curl_easy_setopt(handle, CURLOPT_SSH_KEYDATA, &trust);
            if (keyFile.isEmpty()) {
                curl_easy_setopt(handle, CURLOPT_SSH_AUTH_TYPES,
                                 static_cast<long>(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
            } else {
                curl_easy_setopt(handle, CURLOPT_SSH_AUTH_TYPES, static_cast<long>(CURLSSH_AUTH_PUBLICKEY));
                curl_easy_setopt(handle, CURLOPT_SSH_PRIVATE_KEYFILE, keyFilePath.constData());
                keyPassphrase = password.toUtf8();
                if (!keyPassphrase.isEmpty())
                    curl_easy_setopt(handle, CURLOPT_KEYPASSWD, keyPassphrase.constData());
                // Empty: the public key is derived from the private one.
                curl_easy_setopt(handle, CURLOPT_SSH_PUBLIC_KEYFILE, "");
            }
        }
    }

    // Why the server was not trusted, when that failed the request; raises EFtpError for a host key
    // that may not be trusted at all.
    std::optional<QString> TrustFailure(CURLcode result, const char* errorBuffer) const {
        const QString fingerprint = FingerprintText(trust.SeenDigest);
        switch (trust.Problem) {
        case TTrustProblem::Changed:
            throw EFtpError(QStringLiteral("The host key of %1 has changed: the server is not the one known "
                                           "before (%2), or it was given a new key. The connection was "
                                           "refused. If the new key is right, remove the old one from %3.")
                                .arg(host, fingerprint, knownHostsFile));
        case TTrustProblem::NotSaved:
            throw EFtpError(QStringLiteral("The host key cannot be saved in %1: %2")
                                .arg(knownHostsFile, trust.SaveError));
        case TTrustProblem::Mismatch:
            return QStringLiteral("The certificate of %1 is not the one trusted for it.").arg(host);
        case TTrustProblem::Unknown:
            if (protocol == fpSftp)
                return QStringLiteral("The host key of %1 is not known.").arg(host);
            return QString::fromUtf8(errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(result));
        case TTrustProblem::None:
            break;
        }
        // The certificate's name not matching the host is found after the chain was accepted.
        if (protocol == fpFtps && result == CURLE_PEER_FAILED_VERIFICATION && !trust.SeenDigest.isEmpty())
            return QString::fromUtf8(errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(result));
        return std::nullopt;
    }

    // Runs the request; raises EFtpError when libcurl reports a failure.
    TTransfer Perform(const TRequest& request, const std::function<void(qint64)>* onWork = nullptr) {
        if (!multi)
            multi.reset(curl_multi_init());
        if (multi && !curl)
            curl.reset(curl_easy_init());
        if (!multi || !curl)
            throw EFtpError(QString::fromUtf8(curl_easy_strerror(CURLE_OUT_OF_MEMORY)));
        CURL* handle = curl.get();

        TTransfer transfer;
        transfer.Source = request.Source;
        transfer.OnWork = onWork;
        transfer.ShouldStop = shouldStop;
        char errorBuffer[CURL_ERROR_SIZE] = {};
        const QByteArray url = UrlFor(request.Path);
        const QByteArray user = username.toUtf8();
        const QByteArray pass = password.toUtf8();

        curl_easy_setopt(handle, CURLOPT_URL, url.constData());
        if (!user.isEmpty()) {
            curl_easy_setopt(handle, CURLOPT_USERNAME, user.constData());
            curl_easy_setopt(handle, CURLOPT_PASSWORD, pass.constData());
        }
        curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorBuffer);
        curl_easy_setopt(handle, CURLOPT_MAXCONNECTS, 1L);
        curl_easy_setopt(handle, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
        // Debian 12's libcurl cannot open an active data connection under TLS ("sa_addr inet_ntop()
        // failed"): FTPS is always passive.
        curl_easy_setopt(handle, CURLOPT_FTPPORT, passive || protocol == fpFtps ? nullptr : "-");
        curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, static_cast<long>(timeouts.Connect));
        curl_easy_setopt(handle, CURLOPT_ACCEPTTIMEOUT_MS, static_cast<long>(timeouts.Connect) * 1000L);
        curl_easy_setopt(handle, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(timeouts.Reply));
        curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, static_cast<long>(timeouts.Stalled));
        // The progress callback is where a request waiting inside libcurl hears of a stop.
        curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, ProgressCallback);
        curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
        if (request.NewConnection)
            curl_easy_setopt(handle, CURLOPT_FRESH_CONNECT, 1L);
        // The debug callback is the only place where libcurl shows the commands it sends.
        curl_easy_setopt(handle, CURLOPT_VERBOSE, 1L);
        curl_easy_setopt(handle, CURLOPT_DEBUGFUNCTION, DebugCallback);
        curl_easy_setopt(handle, CURLOPT_DEBUGDATA, &transfer);
        SetSecurityOptions(handle);

        TCurlList quote;
        for (const QByteArray& command : request.Quote) {
            // "*": a refusal does not end the request; the caller judges the FTP reply.
            const QByteArray line = protocol == fpSftp ? command : '*' + command;
            curl_slist* list = curl_slist_append(quote.get(), line.constData());
            if (!list)
                throw EFtpError(QString::fromUtf8(curl_easy_strerror(CURLE_OUT_OF_MEMORY)));
            quote.release();
            quote.reset(list);
        }
        if (quote)
            curl_easy_setopt(handle, CURLOPT_QUOTE, quote.get());

        if (request.Source) {
            curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
            curl_easy_setopt(handle, CURLOPT_READFUNCTION, ReadCallback);
            curl_easy_setopt(handle, CURLOPT_READDATA, &transfer);
            curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(request.SourceSize));
        } else if (request.Listing || request.Download) {
            if (request.Listing && !request.ListCommand.isEmpty())
                curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, request.ListCommand.constData());
            curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, WriteCallback);
            curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
        } else {
            curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
            if (request.FileTime)
                curl_easy_setopt(handle, CURLOPT_FILETIME, 1L);
        }

        const CURLcode result = Drive(handle, transfer, errorBuffer);
        char* entryPath = nullptr;
        if (curl_easy_getinfo(handle, CURLINFO_FTP_ENTRY_PATH, &entryPath) == CURLE_OK && entryPath)
            transfer.EntryPath = QString::fromUtf8(entryPath);
        curl_off_t fileTime = -1;
        if (request.FileTime && result == CURLE_OK &&
            curl_easy_getinfo(handle, CURLINFO_FILETIME_T, &fileTime) == CURLE_OK && fileTime >= 0)
            transfer.FileTime = QDateTime::fromSecsSinceEpoch(fileTime);
        // The options point at this request's buffers and lists; none may outlive it. Resetting
        // keeps the cached connection.
        curl_easy_reset(handle);
        if (transfer.Stopped) {
            // The server may be in the middle of anything: the connection is of no further use.
            Close();
            throw EFtpStopped();
        }
        if (trust.Problem != TTrustProblem::None)
            Close();
        if (const std::optional<QString> untrusted = TrustFailure(result, errorBuffer)) {
            Close();
            throw EFtpUntrustedServer(*untrusted, FingerprintText(trust.SeenDigest));
        }
        if (request.MissingAllowed && result == CURLE_REMOTE_FILE_NOT_FOUND) {
            transfer.Missing = true;
            return transfer;
        }
        if (result != CURLE_OK)
            throw EFtpError(FailureMessage(result, transfer, errorBuffer));
        return transfer;
    }

    static QString FailureMessage(CURLcode result, const TTransfer& transfer, const char* errorBuffer) {
        if (!transfer.AbortMessage.isEmpty())
            return transfer.AbortMessage;
        if (const TFtpExchange* refusal = transfer.Replies.LastRefusal())
            return ReplyText(*refusal);
        if (errorBuffer[0] != '\0')
            return QString::fromUtf8(errorBuffer);
        return QString::fromUtf8(curl_easy_strerror(result));
    }

    // Sends one command and returns its reply when the code is accepted; raises EFtpError with
    // the reply otherwise.
    TFtpExchange Command(const QByteArray& command, const std::function<bool(int)>& accepted) {
        TRequest request;
        request.Path = currentDir;
        request.Quote = {command};
        const TTransfer transfer = Perform(request);
        const TFtpExchange* reply = transfer.Replies.ReplyTo(command);
        if (!reply || reply->Code == 0)
            throw EFtpError(QString::fromUtf8(curl_easy_strerror(CURLE_WEIRD_SERVER_REPLY)));
        if (!accepted(reply->Code))
            throw EFtpError(ReplyText(*reply));
        return *reply;
    }

    // Runs an SFTP quote command on its own; its failure fails the request with libcurl's text.
    void SftpCommand(const QByteArray& command) {
        TRequest request;
        request.Path = currentDir;
        request.Quote = {command};
        Perform(request);
    }

    bool ServerHasMlsd() {
        if (!serverHasMlsd) {
            TRequest request;
            request.Path = currentDir;
            request.Quote = {"FEAT"};
            const TTransfer transfer = Perform(request);
            const TFtpExchange* reply = transfer.Replies.ReplyTo("FEAT");
            bool found = false;
            if (reply && reply->Code / 100 == 2) {
                for (const QByteArray& line : reply->Text.split('\n'))
                    found = found || line.trimmed().toUpper().startsWith("MLST");
            }
            serverHasMlsd = found;
        }
        return *serverHasMlsd;
    }
};

EFtpStopped::EFtpStopped() : EFtpError(QStringLiteral("Cancled by user.")) {}

EFtpUntrustedServer::EFtpUntrustedServer(const QString& reason, const QString& fingerprint)
    : EFtpError(reason + QStringLiteral("\r\nSHA-256 fingerprint: ") + fingerprint), reason_(reason),
      fingerprint_(fingerprint) {}

TFtpClient::TFtpClient() : impl_(std::make_unique<TImpl>()) {
    impl_->shouldStop = &ShouldStop;
}
TFtpClient::~TFtpClient() = default;

const QString& TFtpClient::Host() const {
    return impl_->host;
}
int TFtpClient::Port() const {
    return impl_->port;
}
const QString& TFtpClient::Username() const {
    return impl_->username;
}
const QString& TFtpClient::Password() const {
    return impl_->password;
}
bool TFtpClient::Passive() const {
    return impl_->passive;
}
const QString& TFtpClient::CurrentDir() const {
    return impl_->currentDir;
}

void TFtpClient::SetHost(const QString& host) {
    if (host != impl_->host) {
        impl_->Close();
        impl_->host = host;
        impl_->serverHasMlsd.reset();
    }
}

void TFtpClient::SetPort(int port) {
    if (port != impl_->port) {
        impl_->Close();
        impl_->port = port;
        impl_->serverHasMlsd.reset();
    }
}

void TFtpClient::SetUsername(const QString& username) {
    if (username != impl_->username) {
        impl_->Close();
        impl_->username = username;
    }
}

void TFtpClient::SetPassword(const QString& password) {
    if (password != impl_->password) {
        impl_->Close();
        impl_->password = password;
    }
}

TFtpProtocol TFtpClient::Protocol() const {
    return impl_->protocol;
}

void TFtpClient::SetProtocol(TFtpProtocol protocol) {
    if (protocol != impl_->protocol) {
        impl_->Close();
        impl_->protocol = protocol;
        impl_->serverHasMlsd.reset();
    }
}

void TFtpClient::SetKeyFile(const QString& keyFile) {
    if (keyFile != impl_->keyFile) {
        impl_->Close();
        impl_->keyFile = keyFile;
    }
}

void TFtpClient::SetTrustedFingerprint(const QString& fingerprint) {
    const QByteArray digest = ParseFingerprint(fingerprint).value_or(QByteArray());
    if (digest != impl_->trustedDigest) {
        impl_->Close();
        impl_->trustedDigest = digest;
    }
}

void TFtpClient::SetKnownHostsFile(const QString& fileName) {
    if (fileName != impl_->knownHostsFile) {
        impl_->Close();
        impl_->knownHostsFile = fileName;
    }
}

void TFtpClient::SetPassive(bool passive) {
    impl_->passive = passive;
}
void TFtpClient::SetPreferMlsd(bool prefer) {
    impl_->preferMlsd = prefer;
}
void TFtpClient::SetTimeouts(const TFtpTimeouts& timeouts) {
    impl_->timeouts = timeouts;
}

void TFtpClient::Connect() {
    impl_->Close();
    TRequest request;
    request.NewConnection = true;
    const TTransfer transfer = impl_->Perform(request);
    impl_->currentDir = transfer.EntryPath.startsWith(QLatin1Char('/'))
                            ? WithTrailingSlash(transfer.EntryPath)
                            : QStringLiteral("/");
}

bool TFtpClient::Connected() const {
    const curl_socket_t socket = impl_->controlSocket;
    if (socket == CURL_SOCKET_BAD)
        return false;
    // An idle control connection has nothing to read: a readable one was closed by the server
    // or carries a reply nobody asked for (a time-out notice before the close).
    pollfd descriptor{socket, POLLIN, 0};
    return poll(&descriptor, 1, 0) == 0;
}

void TFtpClient::Disconnect() {
    impl_->Close();
}

void TFtpClient::ChangeDir(const QString& path) {
    const QString folder = WithTrailingSlash(impl_->Resolve(path));
    if (impl_->protocol == fpSftp) {
        if (folder != impl_->currentDir) {
            TRequest request;
            request.Path = folder;
            request.Listing = true;
            impl_->Perform(request);
            impl_->currentDir = folder;
        }
        return;
    }
    impl_->Command("CWD " + FolderArgument(folder).toUtf8(), [](int code) { return code / 100 == 2; });
    impl_->currentDir = folder;
}

void TFtpClient::MakeDir(const QString& path) {
    if (impl_->protocol == fpSftp)
        return impl_->SftpCommand("mkdir " + SftpPath(FolderArgument(impl_->Resolve(path))));
    impl_->Command("MKD " + FolderArgument(impl_->Resolve(path)).toUtf8(),
                   [](int code) { return code == 257; });
}

void TFtpClient::Delete(const QString& path) {
    if (impl_->protocol == fpSftp)
        return impl_->SftpCommand("rm " + SftpPath(impl_->Resolve(path)));
    impl_->Command("DELE " + impl_->Resolve(path).toUtf8(), [](int code) { return code == 250; });
}

void TFtpClient::RemoveDir(const QString& path) {
    if (impl_->protocol == fpSftp)
        return impl_->SftpCommand("rmdir " + SftpPath(FolderArgument(impl_->Resolve(path))));
    impl_->Command("RMD " + FolderArgument(impl_->Resolve(path)).toUtf8(),
                   [](int code) { return code == 250; });
}

std::optional<QDateTime> TFtpClient::FileDate(const QString& path) {
    if (impl_->protocol == fpSftp) {
        TRequest request;
        request.Path = impl_->Resolve(path);
        request.FileTime = true;
        request.MissingAllowed = true;
        const TTransfer transfer = impl_->Perform(request);
        if (transfer.Missing)
            return std::nullopt;
        return transfer.FileTime.value_or(QDateTime());
    }
    const QByteArray command = "MDTM " + impl_->Resolve(path).toUtf8();
    TRequest request;
    request.Path = impl_->currentDir;
    request.Quote = {command};
    const TTransfer transfer = impl_->Perform(request);
    const TFtpExchange* reply = transfer.Replies.ReplyTo(command);
    if (!reply || reply->Code != 213)
        return std::nullopt;
    return ParseModificationTime(reply->Text);
}

TFtpListing TFtpClient::List() {
    const bool mlsd = impl_->protocol != fpSftp && impl_->preferMlsd && impl_->ServerHasMlsd();
    TRequest request;
    request.Path = impl_->currentDir;
    request.Listing = true;
    if (impl_->protocol != fpSftp)
        request.ListCommand = mlsd ? QByteArray("MLSD") : QByteArray("LIST");
    const TTransfer transfer = impl_->Perform(request);
    QStringList unreadable;
    TFtpListing listing =
        mlsd ? ParseMlsdListing(transfer.Received, &unreadable)
             : ParseListListing(transfer.Received, QDateTime::currentDateTime(), &unreadable);
    // A listing read in part would pass for the folder's content.
    if (!unreadable.isEmpty())
        throw EFtpError(QStringLiteral("Unreadable listing line: ") +
                        unreadable.constFirst().left(kMaxQuotedLine));
    return listing;
}

void TFtpClient::Store(QIODevice& source, const QString& path) {
    TRequest request;
    request.Path = impl_->Resolve(path);
    if (request.Path.endsWith(QLatin1Char('/')))
        throw EFtpError(QString::fromUtf8(curl_easy_strerror(CURLE_URL_MALFORMAT)));
    request.Source = &source;
    request.SourceSize = source.isSequential() ? -1 : source.size() - source.pos();
    if (OnWorkBegin)
        OnWorkBegin(std::max<qint64>(request.SourceSize, 0));
    impl_->Perform(request, &OnWork);
}

QByteArray TFtpClient::Retrieve(const QString& path) {
    TRequest request;
    request.Path = impl_->Resolve(path);
    request.Download = true;
    return impl_->Perform(request).Received;
}

void TFtpClient::Rename(const QString& from, const QString& to) {
    if (impl_->protocol == fpSftp)
        return impl_->SftpCommand("rename " + SftpPath(impl_->Resolve(from)) + ' ' +
                                  SftpPath(impl_->Resolve(to)));
    const QByteArray renameFrom = "RNFR " + impl_->Resolve(from).toUtf8();
    const QByteArray renameTo = "RNTO " + impl_->Resolve(to).toUtf8();
    TRequest request;
    request.Path = impl_->currentDir;
    request.Quote = {renameFrom, renameTo};
    const TTransfer transfer = impl_->Perform(request);
    for (const auto& [command, expected] : {std::pair{renameFrom, 350}, std::pair{renameTo, 250}}) {
        const TFtpExchange* reply = transfer.Replies.ReplyTo(command);
        if (!reply || reply->Code == 0)
            throw EFtpError(QString::fromUtf8(curl_easy_strerror(CURLE_WEIRD_SERVER_REPLY)));
        if (reply->Code != expected)
            throw EFtpError(ReplyText(*reply));
    }
}
