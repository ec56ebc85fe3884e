// Trovecart - run-time check of the FFmpeg library versions.
#include "media/av_libraries.h"

#include <atomic>

#include <QCoreApplication>

#include "media/media_error.h"

extern "C" {
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>

#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
}

namespace {

std::atomic<bool> librariesLoaded{false};

struct TLibraryCheck {
    const char* Name;
    unsigned Runtime;
    unsigned Compiled;
};

} // namespace

bool LibraryVersionMatches(unsigned runtimeVersion, unsigned compiledVersion) {
    return AV_VERSION_MAJOR(runtimeVersion) == AV_VERSION_MAJOR(compiledVersion) &&
           runtimeVersion >= compiledVersion;
}

bool LibrariesLoaded() {
    return librariesLoaded.load();
}

bool LoadLibraries(const QString& folder, QString& message) {
    Q_UNUSED(folder);
    const TLibraryCheck checks[] = {
        {"LibAVCodec", avcodec_version(), LIBAVCODEC_VERSION_INT},
        {"LibAVFormat", avformat_version(), LIBAVFORMAT_VERSION_INT},
        {"LibAVUtil", avutil_version(), LIBAVUTIL_VERSION_INT},
        {"LibSwScale", swscale_version(), LIBSWSCALE_VERSION_INT},
        {"LibSwResample", swresample_version(), LIBSWRESAMPLE_VERSION_INT},
    };
    for (const TLibraryCheck& check : checks) {
        if (!LibraryVersionMatches(check.Runtime, check.Compiled)) {
            message = QStringLiteral("%1 not loaded.").arg(QLatin1String(check.Name));
            return false;
        }
    }
    // Failures reach the user as the engine's own messages; the libraries stay silent.
    av_log_set_level(AV_LOG_QUIET);
    librariesLoaded.store(true);
    return true;
}

QString DefaultLibrariesFolder() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Files/System/LibAV/");
}

void EnsureLibrariesLoaded() {
    QString message;
    if (!LibrariesLoaded() && !LoadLibraries(DefaultLibrariesFolder(), message))
        throw EMediaError(message);
}
