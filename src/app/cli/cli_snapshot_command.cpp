// Trovecart - snapshot: seeks exactly, as the media import's screenshot does, and saves the picture.
#include "cli/cli_snapshot_command.h"

#include <cstdio>

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include "cli/cli_media_module.h"
#include "common/time_texts.h"
#include "common/whole_picture.h"
#include "media/ff_player.h"

namespace {

// A seek decodes from the key frame before the target; long key frame intervals take a while.
constexpr int kSeekTimeoutMs = 30000;

} // namespace

QImage PictureAt(TFFPlayer& player, const QString& fileName, int64_t positionUs) {
    // A snapshot makes no sound: SDL's silent driver spares the sound card (and the noise a
    // machine without one prints), unless the caller chose a driver.
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    player.SetSeekByFrame(true);
    player.SetSeekToAny(true);
    player.SetAudioVolume(0);
    if (!player.Open(fileName, nullptr))
        throw EAppError(player.LastError());
    player.Pause();
    player.Seek(positionUs);

    QEventLoop loop;
    bool stepped = false;
    bool shown = false;
    QObject::connect(&player, &TFFPlayer::OnState, &loop, [&](TPlayState state) {
        if (state == psStep) {
            stepped = true;
        } else if (state == psPause && stepped) {
            shown = true;
            loop.quit();
        }
    });
    QTimer::singleShot(kSeekTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    if (!shown)
        throw EAppError(QStringLiteral("%1: the seek did not finish in time.").arg(fileName));
    const QImage picture = player.CurrentFrame();
    if (picture.isNull())
        throw EAppError(QStringLiteral("%1: no picture at that moment.").arg(fileName));
    return picture;
}

namespace {

void SavePng(const QImage& picture, const QString& fileName) {
    try {
        SaveWholePicture(picture, fileName, "PNG");
    } catch (const EAppError& error) {
        throw EAppError(QStringLiteral("Cannot write %1: %2").arg(fileName, error.Message()));
    }
}

} // namespace

TCliCommand SnapshotCommand() {
    return {
        QString::fromLatin1(kSnapshotTitle.Name),
        QString::fromLatin1(kSnapshotTitle.Summary),
        [](QCommandLineParser& parser) {
            parser.addOption({QStringLiteral("at"),
                              QStringLiteral("The moment, in microseconds from the start."),
                              QStringLiteral("MICROSECONDS"), QStringLiteral("0")});
            parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A video file."));
            parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The PNG file to write."));
        },
        [](const QCommandLineParser& parser) {
            const QStringList files = ExpectPositional(parser, 2);
            bool isNumber = false;
            const qlonglong at = parser.value(QStringLiteral("at")).toLongLong(&isNumber);
            if (!isNumber || at < 0)
                throw ECliUsage(QStringLiteral("--at takes a number of microseconds."));

            TFFPlayer player;
            const QImage picture = PictureAt(player, files.at(0), at);
            const int64_t shownAt = player.CurrentPosition();
            player.Stop(true);
            SavePng(picture, files.at(1));
            std::printf("%s %dx%d at %s\n", QFileInfo(files.at(1)).fileName().toLocal8Bit().constData(),
                        picture.width(), picture.height(), FormatTimeCode(shownAt).toLocal8Bit().constData());
            return 0;
        },
    };
}
