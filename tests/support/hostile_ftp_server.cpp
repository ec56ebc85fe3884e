// Trovecart tests - the misbehaving FTP server's process.
#include "support/hostile_ftp_server.h"

#include <stdexcept>

#include <QElapsedTimer>
#include <QRegularExpression>

namespace {

constexpr int kServerStartTimeoutMs = 15000;

} // namespace

THostileFtpServer::THostileFtpServer(const QString& behaviour) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral("-u"), QStringLiteral(TROVECART_HOSTILE_FTP_SERVER), behaviour});
    static const QRegularExpression started(QStringLiteral(R"(^port (\d+))"));
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kServerStartTimeoutMs) {
        process_.waitForReadyRead(200);
        output_ += process_.readAllStandardOutput();
        const QRegularExpressionMatch match = started.match(QString::fromUtf8(output_));
        if (match.hasMatch()) {
            port_ = match.captured(1).toInt();
            return;
        }
        if (process_.state() == QProcess::NotRunning)
            break;
    }
    process_.kill();
    process_.waitForFinished(5000);
    throw std::runtime_error("the hostile FTP server did not report its port");
}

bool THostileFtpServer::WaitForConnection(int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!output_.contains("\nconnected\n") && clock.elapsed() < timeoutMs) {
        process_.waitForReadyRead(100);
        output_ += process_.readAllStandardOutput();
    }
    return output_.contains("\nconnected\n");
}

THostileFtpServer::~THostileFtpServer() {
    process_.kill();
    process_.waitForFinished(5000);
}
