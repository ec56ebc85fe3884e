// Trovecart tests - tiny media files.
#include "support/media_fixtures.h"

#include <QFile>

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

QString TMediaFiles::LongVideo() const {
    const QString file = folder_.File(QStringLiteral("long.mp4"));
    static const bool made =
        RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=640x360:rate=25:duration=30", "-f", "lavfi", "-i",
                   "sine=frequency=440:sample_rate=44100:duration=30", "-ac", "2", "-c:v", "libx264",
                   "-preset", "ultrafast", "-c:a", "aac", "-shortest", file});
    (void)made;
    return file;
}

TWebCopyFacts ReadWebCopyFacts(const QString& file) {
    TWebCopyFacts facts;
    const TProgramResult run = RunProgram(
        "ffprobe", {"-v", "error", "-show_entries", "stream=codec_name,pix_fmt", "-of", "csv=p=0", file});
    if (run.exitCode == 0)
        facts.Streams = QString::fromUtf8(run.out.trimmed()).split(QLatin1Char('\n'));
    QFile mp4(file);
    if (!mp4.open(QIODevice::ReadOnly))
        return facts;
    qint64 position = 0;
    for (QByteArray header = mp4.read(8); header.size() == 8; header = mp4.read(8)) {
        const QByteArray type = header.mid(4, 4);
        if (type == "moov" || type == "mdat") {
            facts.IndexFirst = type == "moov";
            break;
        }
        const quint64 size = (quint64(uchar(header[0])) << 24) | (quint64(uchar(header[1])) << 16) |
                             (quint64(uchar(header[2])) << 8) | quint64(uchar(header[3]));
        if (size < 8)
            break;
        position += static_cast<qint64>(size);
        mp4.seek(position);
    }
    return facts;
}

int VideoFrameCount(const QString& file) {
    const TProgramResult run =
        RunProgram("ffprobe", {"-v", "error", "-select_streams", "v:0", "-count_packets", "-show_entries",
                               "stream=nb_read_packets", "-of", "csv=p=0", file});
    return run.exitCode == 0 ? run.out.trimmed().toInt() : -1;
}
