// Trovecart - libavfilter, loaded when the first video stream needs a filter graph.
//
// libavfilter brings more than thirty libraries of its own (speech synthesis, linear algebra,
// Vulkan, ...), and loading them took about a tenth of a whole MP3 conversion. Audio goes through
// swresample alone, so this layer does not link libavfilter: the functions it calls are defined
// here, hidden from other libraries, and pass on to the library opened on first use.
#include "media/internal/filter_library.h"

#include <dlfcn.h>
#include <mutex>

#include <QFileInfo>

#include "media/av_libraries.h"
#include "media/media_error.h"

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/frame.h>
// Hidden: a copy of libavfilter that some other library loads must never call into these.
#pragma GCC visibility push(hidden)
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#pragma GCC visibility pop
}

namespace {

struct TFilterFunctions {
    decltype(&::avfilter_version) Version = nullptr;
    decltype(&::avfilter_get_by_name) GetByName = nullptr;
    decltype(&::avfilter_graph_alloc) GraphAlloc = nullptr;
    decltype(&::avfilter_graph_free) GraphFree = nullptr;
    decltype(&::avfilter_graph_create_filter) GraphCreateFilter = nullptr;
    decltype(&::avfilter_graph_parse_ptr) GraphParsePtr = nullptr;
    decltype(&::avfilter_graph_config) GraphConfig = nullptr;
    decltype(&::avfilter_inout_alloc) InOutAlloc = nullptr;
    decltype(&::avfilter_inout_free) InOutFree = nullptr;
    decltype(&::av_buffersrc_add_frame_flags) SourceAddFrameFlags = nullptr;
    decltype(&::av_buffersink_get_frame) SinkGetFrame = nullptr;
    decltype(&::av_buffersink_get_time_base) SinkTimeBase = nullptr;
    decltype(&::av_buffersink_get_format) SinkFormat = nullptr;
    decltype(&::av_buffersink_get_w) SinkWidth = nullptr;
    decltype(&::av_buffersink_get_h) SinkHeight = nullptr;
    decltype(&::av_buffersink_get_sample_aspect_ratio) SinkAspect = nullptr;
};

constexpr const char* kLibraryName = "libavfilter.so.8";

template <typename TFunction> bool Resolve(void* library, const char* name, TFunction& function) {
    function = reinterpret_cast<TFunction>(::dlsym(library, name));
    return function != nullptr;
}

// The copy in the program's own library folder comes first, as for the linked libraries.
void* OpenLibrary() {
    const QString bundled = DefaultLibrariesFolder() + QLatin1String(kLibraryName);
    if (QFileInfo::exists(bundled)) {
        if (void* library = ::dlopen(bundled.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL))
            return library;
    }
    return ::dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
}

// Empty when the library is missing, incomplete or of another version.
TFilterFunctions Load() {
    TFilterFunctions f;
    void* library = OpenLibrary();
    if (!library)
        return {};
    // The library stays loaded for the rest of the run, as a linked one would.
    const bool complete = Resolve(library, "avfilter_version", f.Version) &&
                          Resolve(library, "avfilter_get_by_name", f.GetByName) &&
                          Resolve(library, "avfilter_graph_alloc", f.GraphAlloc) &&
                          Resolve(library, "avfilter_graph_free", f.GraphFree) &&
                          Resolve(library, "avfilter_graph_create_filter", f.GraphCreateFilter) &&
                          Resolve(library, "avfilter_graph_parse_ptr", f.GraphParsePtr) &&
                          Resolve(library, "avfilter_graph_config", f.GraphConfig) &&
                          Resolve(library, "avfilter_inout_alloc", f.InOutAlloc) &&
                          Resolve(library, "avfilter_inout_free", f.InOutFree) &&
                          Resolve(library, "av_buffersrc_add_frame_flags", f.SourceAddFrameFlags) &&
                          Resolve(library, "av_buffersink_get_frame", f.SinkGetFrame) &&
                          Resolve(library, "av_buffersink_get_time_base", f.SinkTimeBase) &&
                          Resolve(library, "av_buffersink_get_format", f.SinkFormat) &&
                          Resolve(library, "av_buffersink_get_w", f.SinkWidth) &&
                          Resolve(library, "av_buffersink_get_h", f.SinkHeight) &&
                          Resolve(library, "av_buffersink_get_sample_aspect_ratio", f.SinkAspect);
    if (!complete || !LibraryVersionMatches(f.Version(), LIBAVFILTER_VERSION_INT))
        return {};
    return f;
}

// Null when the library cannot be used.
const TFilterFunctions* Filters() {
    static std::once_flag loaded;
    static TFilterFunctions functions;
    std::call_once(loaded, [] { functions = Load(); });
    return functions.Version ? &functions : nullptr;
}

} // namespace

void EnsureFilterLibrary() {
    if (!Filters())
        throw EMediaError(QStringLiteral("LibAVFilter not loaded."));
}

// Every caller has passed EnsureFilterLibrary: the functions need no check of their own.
extern "C" {

const AVFilter* avfilter_get_by_name(const char* name) {
    return Filters()->GetByName(name);
}

AVFilterGraph* avfilter_graph_alloc() {
    return Filters()->GraphAlloc();
}

// Graphs exist only when the library does.
void avfilter_graph_free(AVFilterGraph** graph) {
    if (graph && *graph)
        Filters()->GraphFree(graph);
}

int avfilter_graph_create_filter(AVFilterContext** context, const AVFilter* filter, const char* name,
                                 const char* args, void* opaque, AVFilterGraph* graph) {
    return Filters()->GraphCreateFilter(context, filter, name, args, opaque, graph);
}

int avfilter_graph_parse_ptr(AVFilterGraph* graph, const char* description, AVFilterInOut** inputs,
                             AVFilterInOut** outputs, void* logContext) {
    return Filters()->GraphParsePtr(graph, description, inputs, outputs, logContext);
}

int avfilter_graph_config(AVFilterGraph* graph, void* logContext) {
    return Filters()->GraphConfig(graph, logContext);
}

AVFilterInOut* avfilter_inout_alloc() {
    return Filters()->InOutAlloc();
}

void avfilter_inout_free(AVFilterInOut** inOut) {
    Filters()->InOutFree(inOut);
}

int av_buffersrc_add_frame_flags(AVFilterContext* source, AVFrame* frame, int flags) {
    return Filters()->SourceAddFrameFlags(source, frame, flags);
}

int av_buffersink_get_frame(AVFilterContext* sink, AVFrame* frame) {
    return Filters()->SinkGetFrame(sink, frame);
}

AVRational av_buffersink_get_time_base(const AVFilterContext* sink) {
    return Filters()->SinkTimeBase(sink);
}

int av_buffersink_get_format(const AVFilterContext* sink) {
    return Filters()->SinkFormat(sink);
}

int av_buffersink_get_w(const AVFilterContext* sink) {
    return Filters()->SinkWidth(sink);
}

int av_buffersink_get_h(const AVFilterContext* sink) {
    return Filters()->SinkHeight(sink);
}

AVRational av_buffersink_get_sample_aspect_ratio(const AVFilterContext* sink) {
    return Filters()->SinkAspect(sink);
}

} // extern "C"
