// Trovecart tests - tiny media files and waiting on the event loop.
#include "media_fixtures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

void RunFfmpeg(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("ffmpeg"),
                  QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                              QStringLiteral("error"), QStringLiteral("-y")} +
                      arguments);
    ASSERT_TRUE(process.waitForFinished(60000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
}

TMediaFiles::TMediaFiles() {
    EnsureApplication();
    const QString lavfi = QStringLiteral("lavfi");
    RunFfmpeg({"-f",
               lavfi,
               "-i",
               "testsrc=size=160x120:rate=25:duration=2",
               "-f",
               lavfi,
               "-i",
               "sine=frequency=440:sample_rate=44100:duration=2",
               "-ac",
               "2",
               "-c:v",
               "libx264",
               "-preset",
               "ultrafast",
               "-g",
               "10",
               "-c:a",
               "aac",
               "-shortest",
               "-metadata",
               "title=Test Card",
               "-metadata",
               "artist=Someone",
               Video()});
    RunFfmpeg({"-f", lavfi, "-i", "testsrc=size=160x120:rate=25:duration=2", "-c:v", "mpeg4", SilentVideo()});
    RunFfmpeg({"-f", lavfi, "-i", "sine=frequency=440:sample_rate=44100:duration=2", Mono()});
    RunFfmpeg({"-f", lavfi, "-i", "sine=frequency=440:sample_rate=48000:duration=1", "-af",
               "pan=5.1|c0=c0|c1=c0|c2=c0|c3=c0|c4=c0|c5=c0", SixChannels()});
    // A fixed noise pattern, the same in every run.
    QByteArray noise(64 * 1024, '\0');
    uint32_t state = 12345;
    for (char& byte : noise) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 24);
    }
    WriteFile(Garbage(), noise);
    const QByteArray whole = ReadFile(Video());
    WriteFile(Truncated(), whole.left(whole.size() / 2));
}

const TMediaFiles& TMediaFiles::Get() {
    static const TMediaFiles files;
    return files;
}

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "media_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    EnsureApplication();
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}
