// Trovecart - publish record.
#include "publish/publish_manifest.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <openssl/evp.h>
#include <sys/stat.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "common/app_error.h"
#include "common/file_utils.h"

namespace {

const QString kFormat = QStringLiteral("trovecart-publish");
constexpr int kVersion = 1;
// Large blocks keep the hashing of media files far cheaper than sending them.
constexpr qint64 kHashBlockSize = 1024 * 1024;
constexpr qsizetype kMaxStamp = 100;

struct TDigestDeleter {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

bool IsSha256Text(const QString& text) {
    if (text.size() != 64)
        return false;
    for (const QChar c : text) {
        if (!c.isDigit() && (c < QLatin1Char('a') || c > QLatin1Char('f')))
            return false;
    }
    return true;
}

} // namespace

struct TSha256::TImpl {
    std::unique_ptr<EVP_MD_CTX, TDigestDeleter> Context{EVP_MD_CTX_new()};
};

TSha256::TSha256() : impl_(std::make_unique<TImpl>()) {
    if (!impl_->Context || EVP_DigestInit_ex(impl_->Context.get(), EVP_sha256(), nullptr) != 1)
        throw EAppError(QString::fromLocal8Bit(std::strerror(ENOMEM)));
}

TSha256::~TSha256() = default;

void TSha256::Add(const void* data, size_t size) {
    EVP_DigestUpdate(impl_->Context.get(), data, size);
}

QByteArray TSha256::HexDigest() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(impl_->Context.get(), digest, &length);
    return QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(length)).toHex();
}

QByteArray LocalFileStamp(const struct stat& status) {
    return QByteArray::number(static_cast<qulonglong>(status.st_dev)) + '-' +
           QByteArray::number(static_cast<qulonglong>(status.st_ino)) + '-' +
           QByteArray::number(static_cast<qlonglong>(status.st_ctim.tv_sec)) + '.' +
           QByteArray::number(static_cast<qlonglong>(status.st_ctim.tv_nsec));
}

namespace {

// The file's size and stamp without a hash; nothing when it cannot be looked at.
std::optional<TManifestEntry> StampLocalFile(const QString& path) {
    struct stat status {};
    if (::stat(LocalPath(path).c_str(), &status) != 0)
        return std::nullopt;
    return TManifestEntry{status.st_size, {}, LocalFileStamp(status)};
}

} // namespace

std::optional<TManifestEntry> KnownLocalEntry(const QString& path, const TManifestEntry* known) {
    if (!known)
        return std::nullopt;
    const std::optional<TManifestEntry> now = StampLocalFile(path);
    if (!now || now->Size != known->Size || now->SourceStamp != known->SourceStamp)
        return std::nullopt;
    return *known;
}

TManifestEntry HashLocalFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw EAppError(file.errorString());
    // Taken before the content, so that a write during the hashing leaves a stamp that no longer matches.
    struct stat status {};
    if (::fstat(file.handle(), &status) != 0)
        throw EAppError(QString::fromLocal8Bit(std::strerror(errno)));
    TSha256 hash;
    static thread_local std::unique_ptr<char[]> buffer(new char[kHashBlockSize]);
    TManifestEntry entry;
    entry.SourceStamp = LocalFileStamp(status);
    for (;;) {
        const qint64 read = file.read(buffer.get(), kHashBlockSize);
        if (read < 0)
            throw EAppError(file.errorString());
        if (read == 0)
            break;
        hash.Add(buffer.get(), static_cast<size_t>(read));
        entry.Size += read;
    }
    entry.Sha256 = hash.HexDigest();
    return entry;
}

QString TPublishManifest::FileName() {
    return QStringLiteral(".trovecart-publish.json");
}

bool TPublishManifest::IsSafePath(const QString& path) {
    if (path.isEmpty() || path == FileName())
        return false;
    for (const QChar c : path) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == QLatin1Char('\\'))
            return false;
    }
    for (const QStringView part : QStringView(path).split(QLatin1Char('/'))) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    }
    return true;
}

std::optional<TPublishManifest> TPublishManifest::Parse(const QByteArray& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")).toString() != kFormat ||
        root.value(QStringLiteral("version")).toInt() != kVersion ||
        !root.value(QStringLiteral("files")).isArray())
        return std::nullopt;
    TPublishManifest manifest;
    for (const QJsonValue value : root.value(QStringLiteral("files")).toArray()) {
        const QJsonObject file = value.toObject();
        const QString path = file.value(QStringLiteral("path")).toString();
        const QString sha256 = file.value(QStringLiteral("sha256")).toString();
        const double size = file.value(QStringLiteral("size")).toDouble(-1);
        const QString stamp = file.value(QStringLiteral("source")).toString();
        // Without a hash only the stamp says what the file was.
        const bool hashOrStamp = IsSha256Text(sha256) || (sha256.isEmpty() && !stamp.isEmpty());
        if (!IsSafePath(path) || !hashOrStamp || size < 0 ||
            size != static_cast<double>(static_cast<qint64>(size)))
            return std::nullopt;
        manifest.entries_[path] = {static_cast<qint64>(size), sha256.toLatin1(),
                                   stamp.toLatin1().left(kMaxStamp)};
    }
    return manifest;
}

QByteArray TPublishManifest::ToJson() const {
    QJsonArray files;
    for (const auto& [path, entry] : entries_) {
        files.append(QJsonObject{{QStringLiteral("path"), path},
                                 {QStringLiteral("size"), static_cast<double>(entry.Size)},
                                 {QStringLiteral("sha256"), QString::fromLatin1(entry.Sha256)},
                                 {QStringLiteral("source"), QString::fromLatin1(entry.SourceStamp)}});
    }
    const QJsonObject root{{QStringLiteral("format"), kFormat},
                           {QStringLiteral("version"), kVersion},
                           {QStringLiteral("files"), files}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

const TManifestEntry* TPublishManifest::Find(const QString& path) const {
    const auto found = entries_.find(path);
    return found == entries_.end() ? nullptr : &found->second;
}

void TPublishManifest::Set(const QString& path, const TManifestEntry& entry) {
    entries_[path] = entry;
}

void TPublishManifest::Remove(const QString& path) {
    entries_.erase(path);
}
