// Trovecart benchmark - playing a 20 s 1280x720 clip: CPU time used and pictures dropped, against
// the ffmpeg program decoding the same clip at its real-time pace (`ffmpeg -re -i CLIP -f null -`).
//
// ffplay is no fair peer: with -nodisp it decodes no picture at all, and with a display it needs
// a screen. `ffmpeg -re` decodes both streams in real time and throws the result away; the player
// also converts each picture to RGB and keeps its clocks, so a ratio a little above 1 is expected.
//
// Usage: player_bench [RUNS]   (default 3; each run plays the clip once and decodes it once)
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include "bench_support.h"
#include "media/ff_player.h"

namespace {

constexpr int kClipSeconds = 20;

double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

bool RunFfmpeg(const QStringList& arguments) {
    return RunPeer(QStringLiteral("ffmpeg"),
                   QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                               QStringLiteral("error"), QStringLiteral("-y")} +
                       arguments)
        .Succeeded;
}

class TCountingDisplay : public TFrameSink {
public:
    void ShowFrame(const QImage&) override { ++Shown; }
    void ClearFrame() override {}
    int Shown = 0;
};

struct TPlayerRun {
    double CpuPercent = 0;
    int Shown = 0;
    int Dropped = 0;
    double WallSeconds = 0;
};

TPlayerRun PlayOnce(const QString& clip) {
    TFFPlayer player;
    TCountingDisplay display;
    QEventLoop loop;
    QObject::connect(&player, &TFFPlayer::OnState, &loop, [&](TPlayState state) {
        if (state == psEnd)
            loop.quit();
    });
    QTimer::singleShot((kClipSeconds + 30) * 1000, &loop, &QEventLoop::quit);
    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    QElapsedTimer wall;
    wall.start();
    if (!player.Open(clip, &display)) {
        std::fprintf(stderr, "%s\n", player.LastError().toLocal8Bit().constData());
        return {};
    }
    loop.exec();
    TPlayerRun run;
    run.WallSeconds = wall.nsecsElapsed() / 1e9;
    run.Dropped = player.DroppedFrames();
    player.Stop(true);
    run.CpuPercent = 100.0 * (CpuSeconds(RUSAGE_SELF) - cpuBefore) / run.WallSeconds;
    run.Shown = display.Shown;
    return run;
}

double PeerOnce(const QString& clip) {
    const double cpuBefore = CpuSeconds(RUSAGE_CHILDREN);
    QElapsedTimer wall;
    wall.start();
    if (!RunFfmpeg({QStringLiteral("-re"), QStringLiteral("-i"), clip, QStringLiteral("-f"),
                    QStringLiteral("null"), QStringLiteral("-")}))
        return 0;
    return 100.0 * (CpuSeconds(RUSAGE_CHILDREN) - cpuBefore) / (wall.nsecsElapsed() / 1e9);
}

} // namespace

int main(int argc, char* argv[]) {
    // Sound is decoded and resampled as on a desktop, into SDL's silent device unless told otherwise.
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    PrintLoadAverage();

    QTemporaryDir folder;
    const QString clip = folder.filePath(QStringLiteral("clip720.mp4"));
    std::printf("making a %d s 1280x720 25 fps clip with stereo sound...\n", kClipSeconds);
    if (!RunFfmpeg({QStringLiteral("-f"),
                    QStringLiteral("lavfi"),
                    QStringLiteral("-i"),
                    QStringLiteral("testsrc2=s=1280x720:r=25:d=%1").arg(kClipSeconds),
                    QStringLiteral("-f"),
                    QStringLiteral("lavfi"),
                    QStringLiteral("-i"),
                    QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(kClipSeconds),
                    QStringLiteral("-ac"),
                    QStringLiteral("2"),
                    QStringLiteral("-c:v"),
                    QStringLiteral("libx264"),
                    QStringLiteral("-preset"),
                    QStringLiteral("veryfast"),
                    QStringLiteral("-b:v"),
                    QStringLiteral("2M"),
                    QStringLiteral("-c:a"),
                    QStringLiteral("aac"),
                    QStringLiteral("-shortest"),
                    clip})) {
        std::fprintf(stderr, "ffmpeg could not make the clip\n");
        return 1;
    }

    std::vector<double> playerCpu, peerCpu;
    int worstDropped = 0;
    for (int i = 0; i < runs; ++i) {
        const TPlayerRun run = PlayOnce(clip);
        const double peer = PeerOnce(clip);
        std::printf("run %d: player %.1f%% of a core, %d shown, %d dropped, %.2f s; ffmpeg -re %.1f%%\n",
                    i + 1, run.CpuPercent, run.Shown, run.Dropped, run.WallSeconds, peer);
        playerCpu.push_back(run.CpuPercent);
        peerCpu.push_back(peer);
        worstDropped = std::max(worstDropped, run.Dropped);
    }
    const double player = Median(playerCpu);
    const double peer = Median(peerCpu);
    std::printf(
        "median CPU: player %.1f%% of one core, ffmpeg -re -f null %.1f%%; ratio %.2f; most dropped %d\n",
        player, peer, peer > 0 ? player / peer : 0.0, worstDropped);
    return 0;
}
