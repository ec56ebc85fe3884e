// Trovecart - FTP client on libcurl.
//
// Every operation is one libcurl request of the same easy handle on the client's own multi handle,
// whose connection cache keeps the control connection open between requests (and logs in again
// by itself when the server has closed it meanwhile). Commands without a transfer (CWD, MKD, DELE, MDTM,
// FEAT) are sent as "quote" commands with the "*" prefix, so that libcurl does not judge their replies; the
// reply to each command is taken from the control connection's log and judged here. libcurl never changes
// directory itself (FTPFILE_NOCWD): every command carries an absolute path.
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
    // Non-empty: a listing with this command, collected in TTransfer::Received.
    QByteArray ListCommand;
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
    bool passive = false;
    bool preferMlsd = true;
    TFtpTimeouts timeouts;
    // The owning client's ShouldStop.
    const std::function<bool()>* shouldStop = nullptr;
    QString currentDir = QStringLiteral("/");
    std::optional<bool> serverHasMlsd;
    // Holds the connection cache; declared first so that it outlives the easy handle.
    TCurlMulti multi;
    TCurlEasy curl;
    // The control connection's socket after the last request; CURL_SOCKET_BAD when there is none.
    curl_socket_t controlSocket = CURL_SOCKET_BAD;

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
        // "%2F" keeps the path absolute instead of relative to the login directory.
        return "ftp://" + hostPart.toUtf8() + ':' + QByteArray::number(port) + "/%2F" +
               QUrl::toPercentEncoding(absolutePath.mid(1), "/");
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
        curl_easy_setopt(handle, CURLOPT_FTPPORT, passive ? nullptr : "-");
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

        TCurlList quote;
        for (const QByteArray& command : request.Quote) {
            // "*": a refusal does not end the request; the caller judges the reply.
            curl_slist* list = curl_slist_append(quote.get(), ('*' + command).constData());
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
        } else if (!request.ListCommand.isEmpty() || request.Download) {
            if (!request.Download)
                curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, request.ListCommand.constData());
            curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, WriteCallback);
            curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
        } else {
            curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
        }

        const CURLcode result = Drive(handle, transfer, errorBuffer);
        char* entryPath = nullptr;
        if (curl_easy_getinfo(handle, CURLINFO_FTP_ENTRY_PATH, &entryPath) == CURLE_OK && entryPath)
            transfer.EntryPath = QString::fromUtf8(entryPath);
        // The options point at this request's buffers and lists; none may outlive it. Resetting
        // keeps the cached connection.
        curl_easy_reset(handle);
        if (transfer.Stopped) {
            // The server may be in the middle of anything: the connection is of no further use.
            Close();
            throw EFtpStopped();
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
    impl_->Command("CWD " + FolderArgument(folder).toUtf8(), [](int code) { return code / 100 == 2; });
    impl_->currentDir = folder;
}

void TFtpClient::MakeDir(const QString& path) {
    impl_->Command("MKD " + FolderArgument(impl_->Resolve(path)).toUtf8(),
                   [](int code) { return code == 257; });
}

void TFtpClient::Delete(const QString& path) {
    impl_->Command("DELE " + impl_->Resolve(path).toUtf8(), [](int code) { return code == 250; });
}

std::optional<QDateTime> TFtpClient::FileDate(const QString& path) {
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
    const bool mlsd = impl_->preferMlsd && impl_->ServerHasMlsd();
    TRequest request;
    request.Path = impl_->currentDir;
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
