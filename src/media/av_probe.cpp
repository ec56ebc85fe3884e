// Trovecart - probe on libavformat.
#include "media/av_probe.h"

#include "media/internal/av_resources.h"
#include "media/internal/media_input.h"
#include "media/media_error.h"

extern "C" {
#include <libavutil/dict.h>
}

struct TAVProbe::TImpl {
    TInputFormatPtr Context;
    QString FileName;

    const AVFormatContext& Loaded() const {
        if (!Context)
            throw EMediaError(QStringLiteral("file not loaded."));
        return *Context;
    }
    const AVStream& Stream(int index) const {
        const AVFormatContext& context = Loaded();
        if (index < 0 || index >= static_cast<int>(context.nb_streams))
            throw EMediaError(QStringLiteral("stream index %1 out of range").arg(index));
        return *context.streams[index];
    }
    int FirstOfKind(AVMediaType type) const {
        const AVFormatContext& context = Loaded();
        for (unsigned i = 0; i < context.nb_streams; ++i) {
            if (context.streams[i]->codecpar->codec_type == type)
                return static_cast<int>(i);
        }
        return -1;
    }
};

namespace {

QString Tag(const AVDictionary* metadata, const char* name, const char* alternative = nullptr) {
    const AVDictionaryEntry* entry = av_dict_get(metadata, name, nullptr, 0);
    if (!entry && alternative)
        entry = av_dict_get(metadata, alternative, nullptr, 0);
    return entry ? QString::fromUtf8(entry->value) : QString();
}

// "3/12" and "2009-05-01" both give their leading number.
int32_t LeadingNumber(const QString& text) {
    int end = 0;
    while (end < text.size() && text.at(end).isDigit())
        ++end;
    return text.left(end).toInt();
}

} // namespace

TAVProbe::TAVProbe() : impl_(std::make_unique<TImpl>()) {}
TAVProbe::~TAVProbe() = default;

bool TAVProbe::Open(const QString& fileName, QString& message) {
    Close();
    impl_->Context = OpenMediaInput(fileName, QString(), message);
    if (!impl_->Context)
        return false;
    impl_->FileName = fileName;
    return true;
}

bool TAVProbe::EnsureOpen(const QString& fileName, QString& message) {
    return (IsOpen() && impl_->FileName == fileName) || Open(fileName, message);
}

void TAVProbe::Close() {
    impl_->Context.reset();
    impl_->FileName.clear();
}

std::shared_ptr<AVFormatContext> TAVProbe::TakeFile() {
    impl_->FileName.clear();
    return std::move(impl_->Context);
}

bool TAVProbe::IsOpen() const {
    return impl_->Context != nullptr;
}

QString TAVProbe::FileName() const {
    return impl_->FileName;
}

void TAVProbe::GetFileInfo(TFileStreamInfo& info) const {
    const AVFormatContext& context = impl_->Loaded();
    info = TFileStreamInfo();
    if (context.start_time != AV_NOPTS_VALUE)
        info.StartTime = av_rescale_q(context.start_time, AV_TIME_BASE_Q, {1, 1000000});
    if (context.duration != AV_NOPTS_VALUE)
        info.Duration = av_rescale_q(context.duration, AV_TIME_BASE_Q, {1, 1000000});
    const AVDictionary* tags = context.metadata;
    info.Year = LeadingNumber(Tag(tags, "year", "date"));
    info.Track = LeadingNumber(Tag(tags, "track"));
    info.Title = Tag(tags, "title");
    info.Author = Tag(tags, "author", "artist");
    info.Copyright = Tag(tags, "copyright");
    info.Comment = Tag(tags, "comment");
    info.Album = Tag(tags, "album");
    info.Genre = Tag(tags, "genre");
}

int TAVProbe::StreamCount() const {
    return static_cast<int>(impl_->Loaded().nb_streams);
}

int TAVProbe::AudioStreamCount() const {
    const AVFormatContext& context = impl_->Loaded();
    int count = 0;
    for (unsigned i = 0; i < context.nb_streams; ++i)
        count += context.streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO ? 1 : 0;
    return count;
}

int TAVProbe::FirstVideoStreamIndex() const {
    return impl_->FirstOfKind(AVMEDIA_TYPE_VIDEO);
}

int TAVProbe::FirstAudioStreamIndex() const {
    return impl_->FirstOfKind(AVMEDIA_TYPE_AUDIO);
}

QString TAVProbe::FormatName() const {
    const AVFormatContext& context = impl_->Loaded();
    return context.iformat ? QString::fromLatin1(context.iformat->name) : QString();
}

TStreamKind TAVProbe::StreamKind(int streamIndex) const {
    switch (impl_->Stream(streamIndex).codecpar->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
        return TStreamKind::skVideo;
    case AVMEDIA_TYPE_AUDIO:
        return TStreamKind::skAudio;
    case AVMEDIA_TYPE_SUBTITLE:
        return TStreamKind::skSubtitle;
    case AVMEDIA_TYPE_DATA:
        return TStreamKind::skData;
    case AVMEDIA_TYPE_ATTACHMENT:
        return TStreamKind::skAttachment;
    default:
        return TStreamKind::skUnknown;
    }
}

QString TAVProbe::CodecName(int streamIndex) const {
    return QString::fromLatin1(avcodec_get_name(impl_->Stream(streamIndex).codecpar->codec_id));
}

void TAVProbe::GetVideoStreamInfo(int streamIndex, TVideoStreamInfo& info) const {
    const AVCodecParameters& parameters = *impl_->Stream(streamIndex).codecpar;
    info.Width = parameters.width;
    info.Height = parameters.height;
    info.BitRate = parameters.bit_rate;
}

void TAVProbe::GetAudioStreamInfo(int streamIndex, TAudioStreamInfo& info) const {
    info = TAudioStreamInfo();
    const int index = streamIndex == -1 ? FirstAudioStreamIndex() : streamIndex;
    if (index < 0)
        return;
    const AVCodecParameters& parameters = *impl_->Stream(index).codecpar;
    info.Channels = parameters.ch_layout.nb_channels;
    info.SampleRate = parameters.sample_rate;
    info.BitRate = parameters.bit_rate;
}
