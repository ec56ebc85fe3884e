// Trovecart tests - the secure test servers' helper process.
#include "support/secure_test_server.h"

#include <stdexcept>

#include <QElapsedTimer>

namespace {

constexpr int kServerStartTimeoutMs = 30000;

} // namespace

TSecureTestServer::TSecureTestServer(const QString& kind) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral("-u"), QStringLiteral(TROVECART_SECURE_TEST_SERVER), kind});
    ReadReadyLine();
}

TSecureTestServer::~TSecureTestServer() {
    // The end of its input makes the helper stop the server and remove its folders.
    process_.closeWriteChannel();
    if (!process_.waitForFinished(10000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString TSecureTestServer::User() {
    return QStringLiteral("trovecart-sftp");
}

QString TSecureTestServer::Password() {
    return QStringLiteral("Tc-test-8431");
}

void TSecureTestServer::Rekey() {
    process_.write("rekey\n");
    ReadReadyLine();
}

void TSecureTestServer::ReadReadyLine() {
    QElapsedTimer clock;
    clock.start();
    while (!process_.canReadLine() && clock.elapsed() < kServerStartTimeoutMs &&
           process_.state() != QProcess::NotRunning)
        process_.waitForReadyRead(200);
    const QStringList words = QString::fromUtf8(process_.readLine()).trimmed().split(QLatin1Char(' '));
    if (words.size() >= 2 && words.at(0) == QLatin1String("skip")) {
        skipReason_ = words.mid(1).join(QLatin1Char(' '));
        return;
    }
    if (words.size() != 5 || words.at(0) != QLatin1String("ready"))
        throw std::runtime_error("the secure test server did not start");
    port_ = words.at(1).toInt();
    fingerprint_ = words.at(2);
    folder_ = words.at(3);
    keyFile_ = words.at(4);
}
