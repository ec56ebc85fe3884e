// Trovecart tests - tiny media files.
#include "media_fixtures.h"

TMediaFiles::TMediaFiles() {
    EnsureCoreApplication();
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
