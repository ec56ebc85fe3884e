// Trovecart - certificate pinning and the SSH known hosts.
#include "publish/server_trust.h"

#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "common/file_utils.h"

namespace {

constexpr qsizetype kDigestSize = 32;

int TrustIndex() {
    static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

TServerTrust* TrustOf(X509_STORE_CTX* store) {
    auto* ssl = static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    if (!ssl)
        return nullptr;
    return static_cast<TServerTrust*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), TrustIndex()));
}

QByteArray CertificateDigest(X509* certificate) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (!certificate || X509_digest(certificate, EVP_sha256(), digest, &size) != 1)
        return {};
    return QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(size));
}

// Called for every certificate of the chain; the leaf is the one fingerprinted and pinned.
int VerifyCertificate(int systemVerified, X509_STORE_CTX* store) {
    TServerTrust* trust = TrustOf(store);
    if (!trust)
        return systemVerified;
    // Every connection of a request is checked on its own: a data connection may meet another server.
    const QByteArray leaf = CertificateDigest(X509_STORE_CTX_get0_cert(store));
    trust->SeenDigest = leaf;
    if (trust->TrustedDigest.isEmpty()) {
        if (!systemVerified)
            trust->Problem = TTrustProblem::Unknown;
        return systemVerified;
    }
    if (!leaf.isEmpty() && leaf == trust->TrustedDigest)
        return 1;
    trust->Problem = TTrustProblem::Mismatch;
    return 0;
}

// The key type's name leads the key blob as an SSH string.
QByteArray KeyTypeName(const QByteArray& blob) {
    if (blob.size() < 4)
        return {};
    const auto* bytes = reinterpret_cast<const unsigned char*>(blob.constData());
    const quint32 length =
        (quint32(bytes[0]) << 24) | (quint32(bytes[1]) << 16) | (quint32(bytes[2]) << 8) | quint32(bytes[3]);
    if (length == 0 || length > static_cast<quint32>(blob.size() - 4))
        return {};
    return blob.mid(4, static_cast<qsizetype>(length));
}

QByteArray RawKey(const curl_khkey& key) {
    if (key.len > 0)
        return QByteArray(key.key, static_cast<qsizetype>(key.len));
    return QByteArray::fromBase64(QByteArray(key.key));
}

// Appends "host type base64" to the known hosts, creating the file (owner-only) and its folder.
bool AddKnownHost(TServerTrust& trust, const QByteArray& blob) {
    const QByteArray type = KeyTypeName(blob);
    if (type.isEmpty() || trust.KnownHostsFile.isEmpty()) {
        trust.SaveError = QStringLiteral("The host key cannot be read.");
        return false;
    }
    QFile file(trust.KnownHostsFile);
    const QByteArray line = trust.HostEntry + ' ' + type + ' ' + blob.toBase64() + '\n';
    if (!ForceFolders(QFileInfo(trust.KnownHostsFile).absolutePath()) ||
        !file.open(QIODevice::Append | QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write(line) != line.size() || !file.flush()) {
        trust.SaveError = file.errorString();
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        trust.SaveError = file.errorString();
        return false;
    }
    return true;
}

} // namespace

QString FingerprintText(const QByteArray& digest) {
    QByteArray text = digest.toBase64(QByteArray::OmitTrailingEquals);
    return QStringLiteral("SHA256:") + QString::fromLatin1(text);
}

std::optional<QByteArray> ParseFingerprint(const QString& text) {
    QString value = text.trimmed();
    QByteArray digest;
    if (value.startsWith(QLatin1String("SHA256:"), Qt::CaseInsensitive)) {
        const auto decoded =
            QByteArray::fromBase64Encoding(value.mid(7).toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (decoded)
            digest = *decoded;
    } else {
        value.remove(QLatin1Char(':'));
        static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{64}$"));
        if (hex.match(value).hasMatch())
            digest = QByteArray::fromHex(value.toLatin1());
    }
    if (digest.size() != kDigestSize)
        return std::nullopt;
    return digest;
}

CURLcode InstallCertificateCheck(CURL*, void* sslContext, void* trust) {
    auto* context = static_cast<SSL_CTX*>(sslContext);
    if (TrustIndex() < 0 || SSL_CTX_set_ex_data(context, TrustIndex(), trust) != 1)
        return CURLE_SSL_CERTPROBLEM;
    // libcurl has turned the check off when a digest is trusted; the pin needs the certificate.
    SSL_CTX_set_verify(context, SSL_VERIFY_PEER, VerifyCertificate);
    return CURLE_OK;
}

int CheckHostKey(CURL*, const curl_khkey*, const curl_khkey* foundKey, curl_khmatch match, void* data) {
    auto* trust = static_cast<TServerTrust*>(data);
    const QByteArray blob = foundKey ? RawKey(*foundKey) : QByteArray();
    trust->SeenDigest = QCryptographicHash::hash(blob, QCryptographicHash::Sha256);
    switch (match) {
    case CURLKHMATCH_OK:
        return CURLKHSTAT_FINE;
    case CURLKHMATCH_MISMATCH:
        // A known host with another key: never accepted, whatever digest is trusted.
        trust->Problem = TTrustProblem::Changed;
        return CURLKHSTAT_REJECT;
    default:
        break;
    }
    if (trust->TrustedDigest.isEmpty() || trust->TrustedDigest != trust->SeenDigest) {
        trust->Problem = TTrustProblem::Unknown;
        return CURLKHSTAT_REJECT;
    }
    if (!AddKnownHost(*trust, blob)) {
        trust->Problem = TTrustProblem::NotSaved;
        return CURLKHSTAT_REJECT;
    }
    return CURLKHSTAT_FINE;
}
