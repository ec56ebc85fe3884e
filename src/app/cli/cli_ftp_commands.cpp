// Trovecart - ftp-test and ftp-list.
#include "cli/cli_ftp_commands.h"

#include <cstdio>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/cli_publish_commands.h"
#include "cli/cli_publish_module.h"
#include "publish/ftp_client.h"

namespace {

QJsonValue IsoTimeOrNull(const QDateTime& time) {
    if (!time.isValid())
        return QJsonValue::Null;
    return time.toUTC().toString(Qt::ISODate);
}

QJsonArray ListingJson(const TFtpListing& listing) {
    QJsonArray entries;
    for (const TFtpListItem& item : listing) {
        entries.append(QJsonObject{
            {QStringLiteral("name"), item.Name},
            {QStringLiteral("kind"), item.IsFolder ? QStringLiteral("folder") : QStringLiteral("file")},
            {QStringLiteral("size"), static_cast<double>(item.Size)},
            {QStringLiteral("modified"), IsoTimeOrNull(item.Modified)},
        });
    }
    return entries;
}

} // namespace

TCliCommand FtpTestCommand() {
    return {
        QString::fromLatin1(kFtpTestTitle.Name),
        QString::fromLatin1(kFtpTestTitle.Summary),
        [](QCommandLineParser& parser) {
            DeclareFtpAccountOptions(parser, QStringLiteral("The FTP server to test."));
            parser.addOption({QStringLiteral("remote-dir"),
                              QStringLiteral("Directory to change to (default /)."), QStringLiteral("/path/"),
                              QStringLiteral("/")});
        },
        [](const QCommandLineParser& parser) {
            ExpectPositional(parser, 0);
            const TFtpConnectionTest outcome =
                TestFtpConnection(FtpAccountFrom(parser), parser.value(QStringLiteral("remote-dir")));
            const QString text =
                QString(outcome.Message).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            WriteStdout((text + QLatin1Char('\n')).toUtf8());
            // A script cannot answer the question the dialog asks: it learns what to pass instead.
            if (!outcome.UntrustedFingerprint.isEmpty())
                std::fprintf(stderr, "%s\nTo trust this server, add --trust-fingerprint %s\n",
                             qPrintable(QString(outcome.UntrustedReason)),
                             qPrintable(outcome.UntrustedFingerprint));
            return outcome.Passed ? 0 : 1;
        },
    };
}

TCliCommand FtpListCommand() {
    return {
        QString::fromLatin1(kFtpListTitle.Name),
        QString::fromLatin1(kFtpListTitle.Summary),
        [](QCommandLineParser& parser) {
            DeclareFtpAccountOptions(parser, QStringLiteral("The FTP server to list."));
            parser.addPositionalArgument(QStringLiteral("PATH"), QStringLiteral("The remote folder."));
        },
        [](const QCommandLineParser& parser) {
            const QString path = ExpectPositional(parser, 1).at(0);
            TFtpClient client;
            ApplyAccount(client, FtpAccountFrom(parser));
            client.Connect();
            client.ChangeDir(path);
            WriteStdout(QJsonDocument(ListingJson(client.List())).toJson(QJsonDocument::Indented));
            return 0;
        },
    };
}
