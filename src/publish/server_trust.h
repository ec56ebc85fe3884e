// Trovecart - checks that an FTPS or SFTP server is the one the user trusts, inside libcurl's
// callbacks, before any password is sent.
#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

#include <curl/curl.h>

// "SHA256:" followed by the unpadded base64 of a SHA-256 digest, as ssh-keygen shows it.
QString FingerprintText(const QByteArray& digest);
// Reads the form above or 64 hex digits (colons allowed); nothing when the text is neither.
std::optional<QByteArray> ParseFingerprint(const QString& text);

enum class TTrustProblem { None, Unknown, Mismatch, Changed, NotSaved };

// What one connection attempt is checked against and what it found.
struct TServerTrust {
    // The SHA-256 digest the user trusts; empty for none. A certificate must match it exactly; an
    // unknown host key that matches is added to the known hosts.
    QByteArray TrustedDigest;
    QString KnownHostsFile;
    // The host as known_hosts names it: "host" or "[host]:port".
    QByteArray HostEntry;

    // The digest of the certificate or host key the server presented.
    QByteArray SeenDigest;
    TTrustProblem Problem = TTrustProblem::None;
    // Why the known hosts could not be written.
    QString SaveError;
};

// For CURLOPT_SSL_CTX_FUNCTION with a TServerTrust as data (OpenSSL builds of libcurl only). The
// system's verification stays in force unless a digest is trusted: then only that certificate passes.
CURLcode InstallCertificateCheck(CURL* handle, void* sslContext, void* trust);
// For CURLOPT_SSH_KEYFUNCTION with a TServerTrust as data.
int CheckHostKey(CURL* handle, const curl_khkey* knownKey, const curl_khkey* foundKey, curl_khmatch match,
                 void* trust);
