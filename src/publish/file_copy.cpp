// Trovecart - file copy with progress.
#include "publish/file_copy.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <random>
#include <stop_token>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

#include <QByteArray>

#include "common/app_error.h"
#include "common/file_utils.h"
#include "publish/publish_manifest.h"

namespace {

// Bytes per step: the progress is reported and the stop request read this often.
constexpr size_t kBlockSize = 1024 * 1024;

[[noreturn]] void ThrowSystemError(int error) {
    throw EAppError(QString::fromLocal8Bit(std::strerror(error)));
}

class TDescriptor {
public:
    explicit TDescriptor(int descriptor = -1) : descriptor_(descriptor) {}
    ~TDescriptor() { Close(); }
    TDescriptor(TDescriptor&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
    TDescriptor& operator=(TDescriptor&& other) noexcept {
        if (this != &other) {
            Close();
            descriptor_ = std::exchange(other.descriptor_, -1);
        }
        return *this;
    }

    int Get() const { return descriptor_; }
    bool Valid() const { return descriptor_ >= 0; }
    // Returns 0 or the error of close (a late write error shows up here).
    int Close() {
        if (descriptor_ < 0)
            return 0;
        const int result = ::close(descriptor_);
        descriptor_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int descriptor_;
};

// The copy is written where no one sees it and put in place under the target's name when it is
// complete. A new file is written without a name (O_TMPFILE) and linked in: nothing is left behind
// even when the program dies, and it costs one directory change instead of a create and a rename.
// A file that replaces another, and any file on a file system without nameless files, is written
// under a hidden name beside the target and renamed over it.
class TTemporaryFile {
public:
    static TTemporaryFile Beside(const std::string& target, bool replacing) {
        TTemporaryFile temporary(target);
        if (!replacing && NamelessFilesWork())
            temporary.OpenNameless();
        if (!temporary.File.Valid())
            temporary.OpenHidden();
        return temporary;
    }

    TDescriptor File;

    // Puts the complete file in place; returns 0 or the error.
    int Commit() {
        // A nameless file is linked under the target's name, or under a hidden one when the target
        // appeared meanwhile.
        if (hiddenPath_.empty()) {
            if (const int error = LinkNameless())
                return error;
            if (hiddenPath_.empty())
                return CloseLinked();
        }
        if (const int error = File.Close())
            return error;
        return ::rename(hiddenPath_.c_str(), target_.c_str()) == 0 ? 0 : errno;
    }
    // Drops what was written; the target stays as it was.
    void Discard() {
        File.Close();
        if (!hiddenPath_.empty())
            ::unlink(hiddenPath_.c_str());
    }

private:
    explicit TTemporaryFile(std::string target) : target_(std::move(target)) {}

    // A nameless file gets its name through its open descriptor, which must stay open until then.
    int LinkNameless() {
        const std::string self = "/proc/self/fd/" + std::to_string(File.Get());
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return 0;
        // Someone made the target meanwhile: it is replaced, as an existing target would be.
        return errno == EEXIST ? LinkHidden(self) : errno;
    }

    // A late write error shows up at close, when the file has its name already.
    int CloseLinked() {
        const int error = File.Close();
        if (error)
            ::unlink(target_.c_str());
        return error;
    }

    static bool NamelessFilesWork() {
        static const bool work = ::access("/proc/self/fd", X_OK) == 0;
        return work;
    }
    std::string Folder() const {
        const size_t slash = target_.rfind('/');
        return slash == std::string::npos ? std::string(".") : target_.substr(0, slash + 1);
    }
    std::string HiddenName() const {
        const size_t slash = target_.rfind('/'); // npos + 1 is 0: no folder, the whole name
        static thread_local std::mt19937_64 random{std::random_device{}()};
        return target_.substr(0, slash + 1) + "." + target_.substr(slash + 1) + "." +
               std::to_string(random() % 1000000000) + ".part";
    }
    void OpenNameless() {
        // 0666 so that the umask decides the mode, as for any new file.
        File = TDescriptor(::open(Folder().c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    }
    void OpenHidden() {
        ClaimHiddenName([this](const std::string& hidden) {
            File = TDescriptor(::open(hidden.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            return File.Valid();
        });
    }
    // Gives the nameless file a hidden name, so that Commit renames it over the target.
    int LinkHidden(const std::string& self) {
        const bool linked = ClaimHiddenName([&self](const std::string& hidden) {
            return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, hidden.c_str(), AT_SYMLINK_FOLLOW) == 0;
        });
        return linked ? 0 : errno;
    }
    // Tries fresh hidden names until `claim` takes one (it becomes hiddenPath_) or fails for
    // another reason than the name being taken; errno then says why.
    template <typename TClaim> bool ClaimHiddenName(const TClaim& claim) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string hidden = HiddenName();
            if (claim(hidden)) {
                hiddenPath_ = hidden;
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    std::string target_;
    std::string hiddenPath_; // empty for a nameless file
};

// Hashes a file on a thread of its own while the kernel copies it, so that the hash costs a second
// core rather than time. Reads with pread: the copy's file position stays its own.
class TBackgroundHash {
public:
    explicit TBackgroundHash(int descriptor)
        : thread_([this, descriptor](const std::stop_token& stop) { Run(descriptor, stop); }) {}

    struct TResult {
        QByteArray Sha256;
        qint64 Size = 0;
    };
    // Waits for the end of the file; nothing when it could not be read.
    std::optional<TResult> Result() {
        thread_.join();
        if (!complete_)
            return std::nullopt;
        return TResult{hash_.HexDigest(), size_};
    }

private:
    void Run(int descriptor, const std::stop_token& stop) {
        while (!stop.stop_requested()) {
            const ssize_t read = ::pread(descriptor, buffer_.get(), kBlockSize, size_);
            if (read < 0 && errno == EINTR)
                continue;
            if (read <= 0) {
                complete_ = read == 0;
                return;
            }
            hash_.Add(buffer_.get(), static_cast<size_t>(read));
            size_ += read;
        }
    }

    TSha256 hash_;
    std::unique_ptr<char[]> buffer_{new char[kBlockSize]};
    // Written by the hashing thread, read after it has been joined.
    qint64 size_ = 0;
    bool complete_ = false;
    // Last: starts once the members above exist, and is stopped and joined before they go.
    std::jthread thread_;
};

// Copies up to `count` bytes; returns the bytes copied (0 at the end) or -1 with errno set. Bytes
// that pass through memory are added to `hash` when one is given.
ssize_t CopyBlock(int input, int output, size_t count, bool& kernelCopy, TSha256* hash) {
    if (kernelCopy) {
        const ssize_t copied = ::copy_file_range(input, nullptr, output, nullptr, count, 0);
        if (copied >= 0 || (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP))
            return copied;
        kernelCopy = false;
    }
    static thread_local QByteArray buffer(static_cast<qsizetype>(kBlockSize), Qt::Uninitialized);
    const ssize_t read = ::read(input, buffer.data(), std::min(count, kBlockSize));
    if (read <= 0)
        return read;
    if (hash)
        hash->Add(buffer.constData(), static_cast<size_t>(read));
    for (ssize_t written = 0; written < read;) {
        const ssize_t step =
            ::write(output, buffer.constData() + written, static_cast<size_t>(read - written));
        if (step < 0)
            return -1;
        written += step;
    }
    return read;
}

} // namespace

void CopyFileWithProgress(const QString& source, const QString& target, const TCopyProgress& progress,
                          TManifestEntry* sent, bool hash) {
    const std::string targetPath = LocalPath(target);
    TDescriptor input(::open(LocalPath(source).c_str(), O_RDONLY | O_CLOEXEC));
    if (!input.Valid())
        ThrowSystemError(errno);
    struct stat sourceStatus {};
    if (::fstat(input.Get(), &sourceStatus) != 0)
        ThrowSystemError(errno);
    if (S_ISDIR(sourceStatus.st_mode))
        ThrowSystemError(EISDIR);
    const qint64 total = sourceStatus.st_size;
    // A small file is hashed from the block read to copy it; a large one alongside the kernel's copy.
    std::optional<TSha256> inlineHash;
    std::optional<TBackgroundHash> backgroundHash;
    if (sent)
        *sent = {};
    if (sent && hash) {
        if (total <= static_cast<qint64>(kBlockSize))
            inlineHash.emplace();
        else
            backgroundHash.emplace(input.Get());
    }

    struct stat targetStatus {};
    const bool replacing = ::lstat(targetPath.c_str(), &targetStatus) == 0;
    TTemporaryFile temporary = TTemporaryFile::Beside(targetPath, replacing);
    if (!temporary.File.Valid())
        ThrowSystemError(errno);
    // A replaced file keeps its permissions (those of the file a link points to).
    if (replacing && ::stat(targetPath.c_str(), &targetStatus) == 0 && S_ISREG(targetStatus.st_mode))
        ::fchmod(temporary.File.Get(), targetStatus.st_mode & 07777);

    const auto fail = [&](int error) {
        temporary.Discard();
        ThrowSystemError(error);
    };

    qint64 done = 0;
    bool kernelCopy = !inlineHash;
    for (;;) {
        const ssize_t copied = CopyBlock(input.Get(), temporary.File.Get(), kBlockSize, kernelCopy,
                                         inlineHash ? &*inlineHash : nullptr);
        if (copied < 0)
            fail(errno);
        if (copied == 0)
            break;
        done += copied;
        if (!progress(done, total))
            fail(ECANCELED);
    }
    // No notice before the first block: every notice crosses to the UI thread and waits there,
    // and for the many small files of a site it would double the crossings for nothing.
    if (done == 0 && !progress(0, total))
        return fail(ECANCELED);
    if (const int error = temporary.Commit())
        fail(error);
    // A file that grew or shrank meanwhile has no entry that matches what was copied.
    if (!sent || done != total)
        return;
    TManifestEntry entry{done, {}, LocalFileStamp(sourceStatus)};
    if (inlineHash) {
        entry.Sha256 = inlineHash->HexDigest();
    } else if (backgroundHash) {
        const auto result = backgroundHash->Result();
        if (!result || result->Size != done)
            return;
        entry.Sha256 = result->Sha256;
    }
    *sent = entry;
}
