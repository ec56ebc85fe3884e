// Trovecart - FTP account and connection test.
#include "publish/ftp_account.h"

#include "common/app_folders.h"
#include "common/app_info.h"

QString TFtpAccount::FingerprintForHost() const {
    return TrustedHost.compare(Host, Qt::CaseInsensitive) == 0 ? TrustedFingerprint : QString();
}

void TFtpAccount::Trust(const QString& fingerprint) {
    TrustedHost = Host;
    TrustedFingerprint = fingerprint;
}

int DefaultFtpPort(TFtpProtocol protocol) {
    return protocol == fpSftp ? 22 : 21;
}

QString FtpProtocolName(TFtpProtocol protocol) {
    switch (protocol) {
    case fpFtps:
        return QStringLiteral("ftps");
    case fpSftp:
        return QStringLiteral("sftp");
    case fpFtp:
        break;
    }
    return QStringLiteral("ftp");
}

std::optional<TFtpProtocol> FtpProtocolFromName(const QString& name) {
    for (const TFtpProtocol protocol : {fpFtp, fpFtps, fpSftp}) {
        if (name.compare(FtpProtocolName(protocol), Qt::CaseInsensitive) == 0)
            return protocol;
    }
    return std::nullopt;
}

QString FtpUrlScheme(TFtpProtocol protocol) {
    return protocol == fpSftp ? QStringLiteral("sftp://") : QStringLiteral("ftp://");
}

QString KnownHostsFileName() {
    return ProgramDataFolder() + QStringLiteral("ConfigData/known_hosts");
}

void ApplyAccount(TFtpClient& client, const TFtpAccount& account) {
    client.SetHost(account.Host);
    client.SetPort(account.Port);
    client.SetUsername(account.Login);
    client.SetPassword(account.Password);
    client.SetPassive(account.Passive);
    client.SetProtocol(account.Protocol);
    client.SetKeyFile(account.Protocol == fpSftp ? account.KeyFile : QString());
    client.SetTrustedFingerprint(account.FingerprintForHost());
    client.SetKnownHostsFile(KnownHostsFileName());
}

TFtpConnectionTest TestFtpConnection(const TFtpAccount& account, const QString& directory) {
    TFtpClient client;
    ApplyAccount(client, account);
    TFtpConnectionTest outcome;
    try {
        client.Connect();
        client.ChangeDir(directory);
    } catch (const EFtpUntrustedServer& error) {
        outcome.UntrustedReason = error.Reason();
        outcome.UntrustedFingerprint = error.Fingerprint();
        outcome.Message = QStringLiteral("Connected to your server failed.\r\n") + error.Message();
        return outcome;
    } catch (const EFtpError& error) {
        outcome.Message = QStringLiteral("Connected to your server failed.\r\n") + error.Message();
        return outcome;
    }
    outcome.Passed = true;
    outcome.Message = QStringLiteral("Connected to your server successfully!");
    return outcome;
}

bool AskToTrustServer(TMessageOwner owner, const QString& host, const QString& reason,
                      const QString& fingerprint) {
    const QString text = QStringLiteral("%1\r\n\r\nServer: %2\r\nSHA-256 fingerprint: %3\r\n\r\nCompare the "
                                        "fingerprint with the one your hosting service gives. Trust this "
                                        "server from now on?")
                             .arg(reason, host, fingerprint);
    return MessageService().AskQuestion(owner, text, false, mkWarning, QStringLiteral("Untrusted Server"),
                                        ProgramCaption()) == mrYes;
}
