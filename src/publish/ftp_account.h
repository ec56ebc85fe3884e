// Trovecart - an FTP account, and the check that it works.
#pragma once

#include <QString>

class TFtpClient;

struct TFtpAccount {
    QString Host;
    int Port = 21;
    QString Login;
    // Never part of a log line, a window title or a message.
    QString Password;
    // Passive: the client opens the data connections.
    bool Passive = false;
};

// Gives the client the account's values.
void ApplyAccount(TFtpClient& client, const TFtpAccount& account);

struct TFtpConnectionTest {
    bool Passed = false;
    // What the user reads about the outcome.
    QString Message;
};

// Connects and logs in with a client of its own, changes to the directory, and closes the
// connection again.
TFtpConnectionTest TestFtpConnection(const TFtpAccount& account, const QString& directory);
