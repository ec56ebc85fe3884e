// Trovecart tests - FTP server process and publish driver.
#include "publish_test_support.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include "publish/base_thread.h"

namespace {

constexpr int kServerStartTimeoutMs = 15000;

} // namespace

TFtpTestServer::TFtpTestServer(const TFaults& faults) {
    const QString log = logFolder_.File(QStringLiteral("server.log"));
    QStringList arguments{QStringLiteral("-u")};
    const bool stock =
        !faults.RefuseDelete && !faults.RefuseMkd && faults.DropAfterStores == 0 && !faults.NoMlsd;
    if (stock)
        arguments << QStringLiteral("-m") << QStringLiteral("pyftpdlib") << QStringLiteral("-w");
    else
        arguments << QStringLiteral(TROVECART_FTP_TEST_SERVER);
    arguments << QStringLiteral("-i") << QStringLiteral("127.0.0.1") << QStringLiteral("-p")
              << QStringLiteral("0") << QStringLiteral("-d") << root_.Path() << QStringLiteral("-u") << User()
              << QStringLiteral("-P") << Password();
    if (faults.RefuseDelete)
        arguments << QStringLiteral("--refuse-dele");
    if (faults.RefuseMkd)
        arguments << QStringLiteral("--refuse-mkd");
    if (faults.DropAfterStores > 0)
        arguments << QStringLiteral("--drop-after-stores") << QString::number(faults.DropAfterStores);
    if (faults.NoMlsd)
        arguments << QStringLiteral("--no-mlsd");

    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(log);
    process_.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!process_.waitForStarted(kServerStartTimeoutMs))
        throw std::runtime_error("the FTP test server did not start");

    static const QRegularExpression started(QStringLiteral(R"(starting FTP server on 127\.0\.0\.1:(\d+))"));
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kServerStartTimeoutMs) {
        const QRegularExpressionMatch match = started.match(Log());
        if (match.hasMatch()) {
            port_ = match.captured(1).toInt();
            return;
        }
        if (process_.state() == QProcess::NotRunning)
            break;
        QThread::msleep(20);
    }
    process_.kill();
    process_.waitForFinished(5000);
    throw std::runtime_error("the FTP test server did not report its port: " + Log().toStdString());
}

TFtpTestServer::~TFtpTestServer() {
    process_.kill();
    process_.waitForFinished(5000);
}

QString TFtpTestServer::Log() const {
    QFile file(logFolder_.File(QStringLiteral("server.log")));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

int TFtpTestServer::CountInLog(const QString& text) const {
    return static_cast<int>(Log().count(text));
}

std::vector<TStatusReport> TPublishRecord::Results() const {
    std::vector<TStatusReport> results;
    for (const TStatusReport& report : Status) {
        if (!report.Busy)
            results.push_back(report);
    }
    return results;
}

const TStatusReport* TPublishRecord::ResultFor(const QString& action) const {
    for (const TStatusReport& report : Status) {
        if (!report.Busy && report.Action == action)
            return &report;
    }
    return nullptr;
}

std::map<QString, QString> TPublishRecord::Outcomes(const QString& actionPrefix) const {
    std::map<QString, QString> outcomes;
    for (const TStatusReport& report : Results()) {
        QString name = report.Action;
        if (name.startsWith(actionPrefix))
            name.remove(0, actionPrefix.size());
        outcomes[name] = report.Outcome;
    }
    return outcomes;
}

TPublishRecord RunPublish(TBaseThread* thread,
                          const std::function<void(TBaseThread*, const TStatusReport&)>& onStatus,
                          int timeoutMs) {
    TPublishRecord record;
    QObject receiver;
    QObject::connect(thread, &TBaseThread::OnPublishStatus, &receiver,
                     [&](TBaseThread* sender, const QString& action, int percent, bool busy, bool failed,
                         const QString& errorText) {
                         const QString outcome = busy     ? QString()
                                                 : failed ? QStringLiteral("Error")
                                                          : QStringLiteral("Copied");
                         record.Status.push_back({action, percent, busy, failed, errorText, outcome});
                         if (onStatus)
                             onStatus(sender, record.Status.back());
                     });
    QObject::connect(
        thread, &TBaseThread::OnFileResult, &receiver,
        [&](TBaseThread*, const QString& action, int percent, TPublishResult result) {
            record.Status.push_back({action, percent, false, false, {}, PublishResultText(result)});
        });
    QObject::connect(thread, &TBaseThread::OnFileProgress, &receiver,
                     [&](TBaseThread*, int percent, double speed) {
                         record.FilePercents.push_back(percent);
                         record.Speeds.push_back(speed);
                     });
    QObject::connect(thread, &TBaseThread::OnTerminate, &receiver, [&](TBaseThread* sender) {
        record.TotalFiles = sender->TotalFiles();
        record.DoneFiles = sender->DoneFiles();
        record.Terminated = true;
    });

    thread->start();
    const auto terminated = [&record] { return record.Terminated; };
    if (!WaitFor(terminated, timeoutMs)) {
        ADD_FAILURE() << "the publish run did not end in time";
        thread->Terminate();
        // A worker stuck in the network gets a little longer before the test gives up on it.
        WaitFor(terminated, 10000);
    }
    return record;
}

bool AllButThumbPng(const QString& name) {
    return name != QLatin1String("Thumb.png");
}

TNameFilter StopAtEntry(TBaseThread* thread, TNameFilter isStopEntry, bool sendIt) {
    return [thread, isStopEntry = std::move(isStopEntry), sendIt](const QString& entry) {
        if (thread->Terminated() || !isStopEntry(entry))
            return AllButThumbPng(entry);
        thread->Terminate();
        return sendIt && AllButThumbPng(entry);
    };
}

QByteArray PatternBytes(qint64 size, char seed) {
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    char* out = bytes.data();
    for (qint64 i = 0; i < size; ++i)
        out[i] = static_cast<char>(seed + (i * 7 + i / 251) % 26);
    return bytes;
}
