// Trovecart tests - runs trovecart-cli (or another program) and collects what it printed.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

struct TCliResult {
    // -1 when the program crashed or did not finish in time.
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

struct TRunOptions {
    QString workingDirectory;
    // XDG_DATA_HOME for the run, so that its temporary folder is the test's own.
    QString dataHome;
    int timeoutMs = 60000;
};

inline TCliResult RunProgram(const QString& program, const QStringList& arguments,
                             const TRunOptions& options = {}) {
    QProcess process;
    if (!options.dataHome.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), options.dataHome);
        process.setProcessEnvironment(environment);
    }
    if (!options.workingDirectory.isEmpty())
        process.setWorkingDirectory(options.workingDirectory);
    process.start(program, arguments);
    process.closeWriteChannel();
    TCliResult result;
    if (!process.waitForFinished(options.timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

inline TCliResult RunCli(const QStringList& arguments, const TRunOptions& options = {}) {
    return RunProgram(QStringLiteral(TROVECART_CLI), arguments, options);
}
