// Trovecart - an FTP account, and the check that it works.
#pragma once

#include <QString>

#include "common/message_service.h"
#include "publish/ftp_client.h"

struct TFtpAccount {
    QString Host;
    int Port = 21;
    QString Login;
    // Never part of a log line, a window title or a message.
    QString Password;
    // Passive: the client opens the data connections.
    bool Passive = false;
    // Initialised here, so that the five plain FTP values alone still make an account.
    TFtpProtocol Protocol = fpFtp;
    // SFTP: a private key to log in with; the password unlocks it.
    QString KeyFile{};
    // The certificate or host key fingerprint the user chose to trust, for TrustedHost only.
    QString TrustedHost{};
    QString TrustedFingerprint{};

    // The fingerprint trusted for the account's own host; empty when it was trusted for another.
    QString FingerprintForHost() const;
    void Trust(const QString& fingerprint);
};

// 21 for FTP and FTPS, 22 for SFTP.
int DefaultFtpPort(TFtpProtocol protocol);
// "ftp", "ftps", "sftp": the names in settings files and on the command line.
QString FtpProtocolName(TFtpProtocol protocol);
// Nothing for an unknown name.
std::optional<TFtpProtocol> FtpProtocolFromName(const QString& name);

// "ftp://" or "sftp://": how the files of a run are named in its reports.
QString FtpUrlScheme(TFtpProtocol protocol);

// The SFTP host keys accepted so far, in the program's data folder.
QString KnownHostsFileName();

// Gives the client the account's values.
void ApplyAccount(TFtpClient& client, const TFtpAccount& account);

struct TFtpConnectionTest {
    bool Passed = false;
    // What the user reads about the outcome.
    QString Message;
    // Set when the server was not trusted: what the user may choose to trust.
    QString UntrustedReason;
    QString UntrustedFingerprint;
};

// Connects and logs in with a client of its own, changes to the directory, and closes the
// connection again.
TFtpConnectionTest TestFtpConnection(const TFtpAccount& account, const QString& directory);

// Shows the server's fingerprint and asks whether to trust it from now on; true for Yes.
bool AskToTrustServer(TMessageOwner owner, const QString& host, const QString& reason,
                      const QString& fingerprint);
