// Trovecart - libcurl, loaded when the first FTP, FTPS or SFTP request needs it.
//
// libcurl brings its TLS, SSH and LDAP stacks: loading them takes longer than a whole publish to a
// small folder, and the program and the folder publish never use them. So this layer does not link
// libcurl; the functions it calls are defined here and pass on to the library, opened on first use.
// A library that cannot be opened makes every set-up call fail and every error text say why.
#define CURL_DISABLE_TYPECHECK
#include <cstdarg>
#include <dlfcn.h>
#include <mutex>
#include <string>

#include <curl/curl.h>

namespace {

struct TCurlFunctions {
    decltype(&::curl_global_init) GlobalInit = nullptr;
    decltype(&::curl_easy_init) EasyInit = nullptr;
    decltype(&::curl_easy_reset) EasyReset = nullptr;
    decltype(&::curl_easy_cleanup) EasyCleanup = nullptr;
    decltype(&::curl_easy_setopt) EasySetopt = nullptr;
    decltype(&::curl_easy_getinfo) EasyGetinfo = nullptr;
    decltype(&::curl_easy_strerror) EasyStrerror = nullptr;
    decltype(&::curl_multi_init) MultiInit = nullptr;
    decltype(&::curl_multi_cleanup) MultiCleanup = nullptr;
    decltype(&::curl_multi_add_handle) MultiAddHandle = nullptr;
    decltype(&::curl_multi_remove_handle) MultiRemoveHandle = nullptr;
    decltype(&::curl_multi_perform) MultiPerform = nullptr;
    decltype(&::curl_multi_poll) MultiPoll = nullptr;
    decltype(&::curl_multi_fdset) MultiFdset = nullptr;
    decltype(&::curl_multi_info_read) MultiInfoRead = nullptr;
    decltype(&::curl_multi_strerror) MultiStrerror = nullptr;
    decltype(&::curl_slist_append) SlistAppend = nullptr;
    decltype(&::curl_slist_free_all) SlistFreeAll = nullptr;
};

constexpr const char* kLibraryName = "libcurl.so.4";

// Why the library could not be opened; empty once it is.
std::string loadFailure;

template <typename TFunction> bool Resolve(void* library, const char* name, TFunction& function) {
    function = reinterpret_cast<TFunction>(::dlsym(library, name));
    if (!function)
        loadFailure = std::string(kLibraryName) + " has no " + name;
    return function != nullptr;
}

TCurlFunctions Load() {
    TCurlFunctions f;
    void* library = ::dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* reason = ::dlerror();
        loadFailure =
            std::string(kLibraryName) + " could not be loaded: " + (reason ? reason : "unknown error");
        return {};
    }
    // The library stays loaded for the rest of the run, as a linked one would.
    const bool complete = Resolve(library, "curl_global_init", f.GlobalInit) &&
                          Resolve(library, "curl_easy_init", f.EasyInit) &&
                          Resolve(library, "curl_easy_reset", f.EasyReset) &&
                          Resolve(library, "curl_easy_cleanup", f.EasyCleanup) &&
                          Resolve(library, "curl_easy_setopt", f.EasySetopt) &&
                          Resolve(library, "curl_easy_getinfo", f.EasyGetinfo) &&
                          Resolve(library, "curl_easy_strerror", f.EasyStrerror) &&
                          Resolve(library, "curl_multi_init", f.MultiInit) &&
                          Resolve(library, "curl_multi_cleanup", f.MultiCleanup) &&
                          Resolve(library, "curl_multi_add_handle", f.MultiAddHandle) &&
                          Resolve(library, "curl_multi_remove_handle", f.MultiRemoveHandle) &&
                          Resolve(library, "curl_multi_perform", f.MultiPerform) &&
                          Resolve(library, "curl_multi_poll", f.MultiPoll) &&
                          Resolve(library, "curl_multi_fdset", f.MultiFdset) &&
                          Resolve(library, "curl_multi_info_read", f.MultiInfoRead) &&
                          Resolve(library, "curl_multi_strerror", f.MultiStrerror) &&
                          Resolve(library, "curl_slist_append", f.SlistAppend) &&
                          Resolve(library, "curl_slist_free_all", f.SlistFreeAll);
    return complete ? f : TCurlFunctions{};
}

// Null when the library could not be opened; loadFailure then says why.
const TCurlFunctions* Curl() {
    static std::once_flag loaded;
    static TCurlFunctions functions;
    std::call_once(loaded, [] { functions = Load(); });
    return functions.GlobalInit ? &functions : nullptr;
}

} // namespace

extern "C" {

CURLcode curl_global_init(long flags) {
    return Curl() ? Curl()->GlobalInit(flags) : CURLE_FAILED_INIT;
}

CURL* curl_easy_init() {
    return Curl() ? Curl()->EasyInit() : nullptr;
}

// Handles exist only when the library does: the calls that take one need no check.
void curl_easy_reset(CURL* handle) {
    Curl()->EasyReset(handle);
}

void curl_easy_cleanup(CURL* handle) {
    if (handle)
        Curl()->EasyCleanup(handle);
}

// The option's number tells the type of its one argument, as it tells libcurl.
CURLcode curl_easy_setopt(CURL* handle, CURLoption option, ...) {
    va_list arguments;
    va_start(arguments, option);
    const auto setopt = Curl()->EasySetopt;
    CURLcode result;
    if (option < CURLOPTTYPE_OBJECTPOINT)
        result = setopt(handle, option, va_arg(arguments, long));
    else if (option < CURLOPTTYPE_FUNCTIONPOINT)
        result = setopt(handle, option, va_arg(arguments, void*));
    else if (option < CURLOPTTYPE_OFF_T)
        result = setopt(handle, option, va_arg(arguments, void (*)()));
    else if (option < CURLOPTTYPE_BLOB)
        result = setopt(handle, option, va_arg(arguments, curl_off_t));
    else
        result = setopt(handle, option, va_arg(arguments, void*));
    va_end(arguments);
    return result;
}

// Every piece of information is returned through a pointer.
CURLcode curl_easy_getinfo(CURL* handle, CURLINFO info, ...) {
    va_list arguments;
    va_start(arguments, info);
    const CURLcode result = Curl()->EasyGetinfo(handle, info, va_arg(arguments, void*));
    va_end(arguments);
    return result;
}

const char* curl_easy_strerror(CURLcode code) {
    return Curl() ? Curl()->EasyStrerror(code) : loadFailure.c_str();
}

CURLM* curl_multi_init() {
    return Curl() ? Curl()->MultiInit() : nullptr;
}

CURLMcode curl_multi_cleanup(CURLM* multi) {
    return multi ? Curl()->MultiCleanup(multi) : CURLM_BAD_HANDLE;
}

CURLMcode curl_multi_add_handle(CURLM* multi, CURL* handle) {
    return Curl()->MultiAddHandle(multi, handle);
}

CURLMcode curl_multi_remove_handle(CURLM* multi, CURL* handle) {
    return Curl()->MultiRemoveHandle(multi, handle);
}

CURLMcode curl_multi_perform(CURLM* multi, int* runningHandles) {
    return Curl()->MultiPerform(multi, runningHandles);
}

CURLMcode curl_multi_poll(CURLM* multi, curl_waitfd extraFds[], unsigned int extraCount, int timeoutMs,
                          int* ready) {
    return Curl()->MultiPoll(multi, extraFds, extraCount, timeoutMs, ready);
}

CURLMcode curl_multi_fdset(CURLM* multi, fd_set* read, fd_set* write, fd_set* except, int* maxFd) {
    return Curl()->MultiFdset(multi, read, write, except, maxFd);
}

CURLMsg* curl_multi_info_read(CURLM* multi, int* messagesLeft) {
    return Curl()->MultiInfoRead(multi, messagesLeft);
}

const char* curl_multi_strerror(CURLMcode code) {
    return Curl() ? Curl()->MultiStrerror(code) : loadFailure.c_str();
}

curl_slist* curl_slist_append(curl_slist* list, const char* text) {
    return Curl() ? Curl()->SlistAppend(list, text) : nullptr;
}

void curl_slist_free_all(curl_slist* list) {
    if (list)
        Curl()->SlistFreeAll(list);
}

} // extern "C"
