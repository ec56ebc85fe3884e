// Trovecart - publish and publish-site.
#include "cli/cli_publish_commands.h"

#include <cstdio>
#include <unistd.h>

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include "cli/cli_interrupt.h"
#include "cli/cli_media_module.h"
#include "cli/cli_project_support.h"
#include "cli/cli_publish_module.h"
#include "common/console_message_service.h"
#include "common/file_utils.h"
#include "common/time_texts.h"
#include "publish/file_thread.h"
#include "publish/ftp_thread.h"
#include "publish/server_trust.h"
#include "shop/site_build.h"
#include "shop/workspace.h"

namespace {

// Installs the console service with the --yes / --no policy for the lifetime of the object.
class TAnswerPolicyScope {
public:
    explicit TAnswerPolicyScope(TConsoleMessageService::TAnswerPolicy policy)
        : service_(policy), previous_(&MessageService()) {
        SetMessageService(&service_);
    }
    ~TAnswerPolicyScope() { SetMessageService(previous_); }

private:
    TConsoleMessageService service_;
    TMessageService* previous_;
};

// Prints what the worker reports; runs in the main thread.
class TConsolePublishReport {
public:
    void Status(const QString& action, int percent, bool busy, bool failed, const QString& errorText) {
        overallPercent_ = percent;
        if (busy) {
            currentAction_ = action;
            filePercent_ = 0;
            PrintProgress();
            return;
        }
        ClearProgress();
        if (failed)
            ++errorCount_;
        PrintResult(action, failed ? QStringLiteral("Error : ") + errorText : QStringLiteral("Copied"));
    }

    void Result(const QString& action, int percent, TPublishResult result) {
        overallPercent_ = percent;
        ClearProgress();
        PrintResult(action, PublishResultText(result));
    }

    void FileProgress(int percent, double speed) {
        filePercent_ = percent;
        speed_ = speed;
        PrintProgress();
    }

    void Finish() {
        ClearProgress();
        FlushResults();
    }
    static void FlushResults() { std::fflush(stdout); }
    qint64 ErrorCount() const { return errorCount_; }

private:
    static void PrintResult(const QString& action, const QString& status) {
        // Buffered when stdout is no terminal, where a write per file costs more than a small file's
        // copy; flushed every tenth of a second and at the end.
        std::fprintf(stdout, "%s\t%s\n", action.toLocal8Bit().constData(), status.toLocal8Bit().constData());
    }

    void PrintProgress() {
        if (!interactive_)
            return;
        const QString line = QStringLiteral("[%1%] %2% %3 %4")
                                 .arg(overallPercent_, 3)
                                 .arg(filePercent_, 3)
                                 .arg(FormatRate(speed_), 10)
                                 .arg(currentAction_);
        std::fprintf(stderr, "\r\033[K%s", line.toLocal8Bit().constData());
        std::fflush(stderr);
        progressShown_ = true;
    }

    void ClearProgress() {
        if (progressShown_)
            std::fprintf(stderr, "\r\033[K");
        progressShown_ = false;
    }

    const bool interactive_ = isatty(fileno(stderr)) != 0;
    bool progressShown_ = false;
    QString currentAction_;
    int overallPercent_ = 0;
    int filePercent_ = 0;
    double speed_ = 0;
    qint64 errorCount_ = 0;
};

QString ReadPasswordFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EAppError(fileName + QStringLiteral(": ") + file.errorString());
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

// The program takes relative paths from '/'; on the command line they start at the working folder.
QString AbsoluteFolder(const QString& path) {
    return WithTrailingSlash(QFileInfo(path).absoluteFilePath());
}

TBaseThread* CreateThread(const QCommandLineParser& parser) {
    const bool toFolder = parser.isSet(QStringLiteral("folder"));
    if (toFolder == parser.isSet(QStringLiteral("ftp")))
        throw ECliUsage(QStringLiteral("Give either --folder DIR or --ftp HOST."));
    if (toFolder) {
        auto* thread = new TFileThread;
        thread->SetTargetFolder(AbsoluteFolder(parser.value(QStringLiteral("folder"))));
        return thread;
    }
    const TFtpAccount account = FtpAccountFrom(parser);
    auto* thread = new TFTPThread;
    thread->SetAccount(account);
    bool timeoutValid = false;
    const int timeout = parser.value(QStringLiteral("timeout")).toInt(&timeoutValid);
    if (!timeoutValid || timeout < 1)
        throw ECliUsage(QStringLiteral("The time-out must be a number of seconds from 1."));
    thread->SetTimeouts({timeout, timeout, timeout});
    thread->SetTargetFolder(parser.value(QStringLiteral("remote-dir")));
    return thread;
}

TConsoleMessageService::TAnswerPolicy AnswerPolicy(const QCommandLineParser& parser) {
    const bool yes = parser.isSet(QStringLiteral("yes"));
    const bool no = parser.isSet(QStringLiteral("no"));
    if (yes && no)
        throw ECliUsage(QStringLiteral("Give either --yes or --no, not both."));
    if (yes)
        return TConsoleMessageService::TAnswerPolicy::AlwaysYes;
    if (no)
        return TConsoleMessageService::TAnswerPolicy::AlwaysNo;
    return TConsoleMessageService::TAnswerPolicy::Ask;
}

} // namespace

void DeclareFtpAccountOptions(QCommandLineParser& parser, const QString& hostHelp) {
    parser.addOptions({
        {QStringLiteral("ftp"), hostHelp, QStringLiteral("HOST")},
        {QStringLiteral("protocol"),
         QStringLiteral("ftp, ftps (FTP with TLS, certificate checked) or sftp (default ftp)."),
         QStringLiteral("NAME"), QStringLiteral("ftp")},
        {QStringLiteral("port"), QStringLiteral("Port (default 21, for sftp 22)."), QStringLiteral("N")},
        {QStringLiteral("user"), QStringLiteral("FTP login."), QStringLiteral("U")},
        {QStringLiteral("password"), QStringLiteral("FTP password."), QStringLiteral("P")},
        {QStringLiteral("password-file"),
         QStringLiteral("Read the FTP password from the first line of this file."), QStringLiteral("F")},
        {QStringLiteral("passive"), QStringLiteral("Passive data connections (default: active).")},
        {QStringLiteral("key-file"),
         QStringLiteral("sftp: log in with this private key; the password, if given, unlocks it."),
         QStringLiteral("F")},
        {QStringLiteral("trust-fingerprint"),
         QStringLiteral("Trust the server whose certificate or host key has this SHA-256 fingerprint "
                        "(as an untrusted server's refusal shows it)."),
         QStringLiteral("SHA256")},
    });
}

TFtpAccount FtpAccountFrom(const QCommandLineParser& parser) {
    if (parser.isSet(QStringLiteral("password")) && parser.isSet(QStringLiteral("password-file")))
        throw ECliUsage(QStringLiteral("Give either --password or --password-file, not both."));
    const std::optional<TFtpProtocol> protocol =
        FtpProtocolFromName(parser.value(QStringLiteral("protocol")));
    if (!protocol)
        throw ECliUsage(QStringLiteral("The protocol must be ftp, ftps or sftp."));
    bool portValid = true;
    const int port = parser.isSet(QStringLiteral("port"))
                         ? parser.value(QStringLiteral("port")).toInt(&portValid)
                         : DefaultFtpPort(*protocol);
    if (!portValid || port < 1 || port > 65535)
        throw ECliUsage(QStringLiteral("The port must be a number from 1 to 65535."));
    TFtpAccount account;
    account.Host = parser.value(QStringLiteral("ftp"));
    account.Port = port;
    account.Protocol = *protocol;
    if (parser.isSet(QStringLiteral("key-file"))) {
        if (*protocol != fpSftp)
            throw ECliUsage(QStringLiteral("--key-file is for --protocol sftp."));
        account.KeyFile = QFileInfo(parser.value(QStringLiteral("key-file"))).absoluteFilePath();
    }
    if (parser.isSet(QStringLiteral("trust-fingerprint"))) {
        const QString fingerprint = parser.value(QStringLiteral("trust-fingerprint"));
        if (!ParseFingerprint(fingerprint))
            throw ECliUsage(QStringLiteral("The fingerprint must be SHA256:... (base64) or 64 hex digits."));
        account.Trust(fingerprint);
    }
    account.Login = parser.value(QStringLiteral("user"));
    account.Password = parser.isSet(QStringLiteral("password-file"))
                           ? ReadPasswordFile(parser.value(QStringLiteral("password-file")))
                           : parser.value(QStringLiteral("password"));
    account.Passive = parser.isSet(QStringLiteral("passive"));
    return account;
}

void DeclarePublishOptions(QCommandLineParser& parser) {
    DeclareFtpAccountOptions(parser, QStringLiteral("Publish onto this FTP server."));
    parser.addOptions({
        {QStringLiteral("folder"), QStringLiteral("Publish into this local folder."), QStringLiteral("DIR")},
        {QStringLiteral("timeout"),
         QStringLiteral("Seconds the FTP server may take to connect, to answer a command, or with a "
                        "stalled transfer (default 30)."),
         QStringLiteral("S"), QStringLiteral("30")},
        {QStringLiteral("remote-dir"),
         QStringLiteral("Remote directory to publish into (default /); it must exist."),
         QStringLiteral("/path/"), QStringLiteral("/")},
        {QStringLiteral("yes"), QStringLiteral("Overwrite a destination that is not empty without asking.")},
        {QStringLiteral("no"), QStringLiteral("Stop when the destination is not empty.")},
        {QStringLiteral("changed-only"),
         QStringLiteral(
             "Send only files that are new or changed since the last publish to this destination "
             "(as its .trovecart-publish.json records them), without asking first; without that record, "
             "send everything.")},
        {QStringLiteral("remove-old-files"),
         QStringLiteral(
             "Delete the files an earlier publish sent that the shop no longer has, and the folders "
             "that leaves empty; only files listed in the destination's .trovecart-publish.json "
             "are ever deleted.")},
    });
}

int PublishPreparedSite(const QString& siteFolder, const QCommandLineParser& parser,
                        TCliInterruptSetter setInterrupt) {
    const QString source = AbsoluteFolder(siteFolder);
    if (!FolderExists(source))
        throw EAppError(siteFolder + QStringLiteral(": no such folder"));
    const TAnswerPolicyScope answers(AnswerPolicy(parser));
    TBaseThread* thread = CreateThread(parser);
    thread->SetSourceFolder(source);
    thread->SetEntryFilter(&TWorkspace::IsPublished);
    thread->SetChangedOnly(parser.isSet(QStringLiteral("changed-only")));
    thread->SetRemoveOldFiles(parser.isSet(QStringLiteral("remove-old-files")));

    TConsolePublishReport report;
    bool cancelled = false;
    QEventLoop loop;
    QObject::connect(
        thread, &TBaseThread::OnPublishStatus, &loop,
        [&report](TBaseThread*, const QString& action, int percent, bool busy, bool failed,
                  const QString& errorText) { report.Status(action, percent, busy, failed, errorText); });
    QObject::connect(thread, &TBaseThread::OnFileResult, &loop,
                     [&report](TBaseThread*, const QString& action, int percent, TPublishResult result) {
                         report.Result(action, percent, result);
                     });
    QObject::connect(
        thread, &TBaseThread::OnFileProgress, &loop,
        [&report](TBaseThread*, int percent, double speed) { report.FileProgress(percent, speed); });
    QObject::connect(thread, &TBaseThread::OnTerminate, &loop, &QEventLoop::quit);

    // The stop request comes from this thread; a second signal ends the program at once.
    const TInterruptGuard guard(setInterrupt);
    // Every tenth of a second the buffered lines go out and a signal's flag is acted upon.
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        TConsolePublishReport::FlushResults();
        if (TInterruptGuard::Interrupted() && !cancelled) {
            cancelled = true;
            std::fprintf(stderr, "\nCanceling...\n");
            thread->Terminate();
        }
    });
    tick.start(100);

    thread->start();
    loop.exec();
    report.Finish();
    return report.ErrorCount() == 0 && !cancelled ? 0 : 1;
}

TCliCommand PublishCommand(TCliInterruptSetter setInterrupt) {
    return {
        QString::fromLatin1(kPublishTitle.Name),
        QString::fromLatin1(kPublishTitle.Summary),
        [](QCommandLineParser& parser) {
            DeclareProjectArgument(parser);
            DeclarePublishOptions(parser);
            parser.addOption(PrefixOption());
        },
        [setInterrupt](const QCommandLineParser& parser) {
            const QStringList arguments = ExpectPositional(parser, 1);
            TOpenedProject project(arguments.at(0));
            PrepareSite(project.Shop(), TSiteUse::Publish, PrefixFor(parser), CliWebCopyMaker(setInterrupt));
            const int result = PublishPreparedSite(project.Shop().SiteFolder(), parser, setInterrupt);
            FinishPublishRun(project.Shop());
            return result;
        },
    };
}

TCliCommand PublishSiteCommand(TCliInterruptSetter setInterrupt) {
    return {
        QString::fromLatin1(kPublishSiteTitle.Name),
        QString::fromLatin1(kPublishSiteTitle.Summary),
        [](QCommandLineParser& parser) {
            parser.addPositionalArgument(
                QStringLiteral("SITEFOLDER"),
                QStringLiteral("The built site: index.html beside the shoppingcart folder."));
            DeclarePublishOptions(parser);
        },
        [setInterrupt](const QCommandLineParser& parser) {
            return PublishPreparedSite(ExpectPositional(parser, 1).at(0), parser, setInterrupt);
        },
    };
}
