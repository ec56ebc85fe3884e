// Trovecart bench - what every benchmark shares: the machine's load, timing, medians and the
// runs of the peer programs it is measured against.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

// Printed before a benchmark starts, so that a figure measured on a busy machine shows as such.
inline void PrintLoadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    const QByteArray fields = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const QList<QByteArray> loads = fields.split(' ');
    if (loads.size() < 3) {
        std::printf("load average: unknown\n");
    } else {
        std::printf("load average: %s %s %s (1, 5, 15 min)\n", loads[0].constData(), loads[1].constData(),
                    loads[2].constData());
    }
    std::fflush(stdout);
}

// 0 for no values.
inline double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Wall time of `action`, in seconds.
inline double Seconds(const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct TPeerRun {
    // False when the program could not start, crashed, failed or ran out of time.
    bool Succeeded = false;
    double Seconds = 0;
    QByteArray Out;
    QByteArray Err;
};

// Runs a peer program to its end (at most `timeoutMs`) in `folder` (empty: the current one).
inline TPeerRun RunPeer(const QString& program, const QStringList& arguments,
                        const QString& folder = QString(), int timeoutMs = 600000) {
    QProcess process;
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    TPeerRun run;
    run.Seconds = Seconds([&] {
        process.start(program, arguments);
        process.closeWriteChannel();
        if (!process.waitForFinished(timeoutMs))
            process.kill();
        process.waitForFinished();
    });
    run.Succeeded = process.error() == QProcess::UnknownError &&
                    process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    run.Out = process.readAllStandardOutput();
    run.Err = process.readAllStandardError();
    return run;
}

// Like RunPeer, but a failure ends the benchmark with the program's messages.
inline double TimePeer(const QString& program, const QStringList& arguments,
                       const QString& folder = QString()) {
    const TPeerRun run = RunPeer(program, arguments, folder);
    if (!run.Succeeded) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program), run.Err.constData());
        std::exit(1);
    }
    return run.Seconds;
}
