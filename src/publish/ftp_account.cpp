// Trovecart - FTP account and connection test.
#include "publish/ftp_account.h"

#include "publish/ftp_client.h"

void ApplyAccount(TFtpClient& client, const TFtpAccount& account) {
    client.SetHost(account.Host);
    client.SetPort(account.Port);
    client.SetUsername(account.Login);
    client.SetPassword(account.Password);
    client.SetPassive(account.Passive);
}

TFtpConnectionTest TestFtpConnection(const TFtpAccount& account, const QString& directory) {
    TFtpClient client;
    ApplyAccount(client, account);
    try {
        client.Connect();
        client.ChangeDir(directory);
    } catch (const EFtpError& error) {
        return {false, QStringLiteral("Connected to your server failed.\r\n") + error.Message()};
    }
    return {true, QStringLiteral("Connected to your server successfully!")};
}
