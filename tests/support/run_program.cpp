// Trovecart tests - running external programs.
#include "support/run_program.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

TProgramResult RunProgram(const QString& program, const QStringList& arguments, const TRunOptions& options) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!options.dataHome.isEmpty())
        environment.insert(QStringLiteral("XDG_DATA_HOME"), options.dataHome);
    for (const auto& [name, value] : options.environment)
        environment.insert(name, value);
    process.setProcessEnvironment(environment);
    if (!options.workingDirectory.isEmpty())
        process.setWorkingDirectory(options.workingDirectory);
    process.start(program, arguments);
    process.closeWriteChannel();
    TProgramResult result;
    if (!process.waitForFinished(options.timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.err = process.readAllStandardError();
        return result;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

bool RunFfmpeg(const QStringList& arguments) {
    const TProgramResult result = RunProgram(
        QStringLiteral("ffmpeg"), QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                                              QStringLiteral("error"), QStringLiteral("-y")} +
                                      arguments);
    if (result.exitCode != 0)
        ADD_FAILURE() << "ffmpeg failed (" << result.exitCode << "): " << result.err.toStdString();
    return result.exitCode == 0;
}
