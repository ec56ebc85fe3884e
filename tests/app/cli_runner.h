// Trovecart tests - runs trovecart-cli and collects what it printed.
#pragma once

#include <QProcess>
#include <QStringList>

struct TCliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline TCliResult RunCli(const QStringList& arguments, int timeoutMs = 60000) {
    QProcess process;
    process.start(QStringLiteral(TROVECART_CLI), arguments);
    process.closeWriteChannel();
    TCliResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}
