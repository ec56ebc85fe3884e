// Trovecart - project archives over libzip.
#include "shop/project_archive.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <QSet>
#include <QStringList>

#include <zip.h>

#include "common/file_utils.h"
#include "common/folder_walker.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kChunkSize = 1 << 20;
constexpr zip_uint32_t kFileAttributes = (S_IFREG | 0644u) << 16;
constexpr zip_uint32_t kFolderAttributes = ((S_IFDIR | 0755u) << 16) | 0x10u;

struct TZipDiscard {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using TZipArchive = std::unique_ptr<zip_t, TZipDiscard>;

struct TZipFileClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using TZipFile = std::unique_ptr<zip_file_t, TZipFileClose>;

struct TDescriptor {
    explicit TDescriptor(int value) : fd(value) {}
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    ~TDescriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    int fd;
};

[[noreturn]] void ThrowZipError(zip_error_t* error) {
    const int code = zip_error_code_zip(error);
    throw EArchiveError(code, QString::fromLocal8Bit(zip_error_strerror(error)), code == ZIP_ER_CANCELLED);
}

[[noreturn]] void ThrowZipCode(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    throw EArchiveError(code, text, code == ZIP_ER_CANCELLED);
}

[[noreturn]] void ThrowSystemError(const QString& path, int error) {
    throw EArchiveError(ZIP_ER_WRITE,
                        QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(strerror(error))));
}

// Reports percent changes and answers stop requests; never lets an exception reach libzip.
class TProgressGate {
public:
    explicit TProgressGate(const TArchiveObserver& observer) : observer_(observer) {}

    void Report(double fraction) {
        const int percent = std::clamp(static_cast<int>(fraction * 100.0), 0, 100);
        if (percent == lastPercent_ || !observer_.Progress)
            return;
        lastPercent_ = percent;
        try {
            observer_.Progress(percent);
        } catch (...) {
            failed_ = true;
        }
    }
    bool ShouldStop() {
        if (failed_)
            return true;
        try {
            return observer_.ShouldStop && observer_.ShouldStop();
        } catch (...) {
            failed_ = true;
            return true;
        }
    }

private:
    const TArchiveObserver& observer_;
    int lastPercent_ = -1;
    bool failed_ = false;
};

// The entry's path below the target folder, or empty when it could leave it.
QString SafeRelativePath(const QString& entryName) {
    QString name = entryName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1Char('/')) || (name.size() >= 2 && name.at(1) == QLatin1Char(':')))
        return QString();
    const QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.contains(QStringLiteral("..")))
        return QString();
    return parts.join(QLatin1Char('/')) + (name.endsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString());
}

bool IsLinkEntry(zip_t* archive, zip_uint64_t index) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0)
        return false;
    return system == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

struct TEntryPlan {
    zip_uint64_t index = 0;
    QString relative;
    zip_uint64_t size = 0;
};

std::vector<TEntryPlan> PlanExtraction(zip_t* archive, zip_uint64_t& totalBytes) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    std::vector<TEntryPlan> plan;
    plan.reserve(static_cast<size_t>(std::max<zip_int64_t>(count, 0)));
    totalBytes = 0;
    for (zip_uint64_t index = 0; index < static_cast<zip_uint64_t>(count); ++index) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, index, 0, &stat) != 0)
            ThrowZipError(zip_get_error(archive));
        const QString name = QString::fromUtf8(stat.name);
        const QString relative = SafeRelativePath(name);
        if (relative.isEmpty() || IsLinkEntry(archive, index))
            throw EArchiveError(ZIP_ER_INVAL,
                                QStringLiteral("Entry \"%1\" lies outside the project folder.").arg(name));
        plan.push_back({index, relative, stat.size});
        totalBytes += stat.size;
    }
    return plan;
}

void ExtractEntry(zip_t* archive, const TEntryPlan& entry, const QString& target, std::vector<char>& buffer,
                  TProgressGate& gate, zip_uint64_t& doneBytes, zip_uint64_t totalBytes) {
    const QString path = target + entry.relative;
    std::error_code error;
    if (entry.relative.endsWith(QLatin1Char('/'))) {
        fs::create_directories(LocalPath(path), error);
        if (error)
            ThrowSystemError(path, error.value());
        return;
    }
    fs::create_directories(fs::path(LocalPath(path)).parent_path(), error);
    if (error)
        ThrowSystemError(path, error.value());

    TZipFile source(zip_fopen_index(archive, entry.index, 0));
    if (!source)
        ThrowZipError(zip_get_error(archive));
    TDescriptor output(
        ::open(LocalPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (output.fd < 0)
        ThrowSystemError(path, errno);
    zip_uint64_t entryBytes = 0;
    for (;;) {
        if (gate.ShouldStop())
            ThrowZipCode(ZIP_ER_CANCELLED);
        const zip_int64_t read = zip_fread(source.get(), buffer.data(), buffer.size());
        if (read < 0)
            ThrowZipError(zip_file_get_error(source.get()));
        if (read == 0)
            break;
        // The free space was checked against the declared sizes; an entry that lies about its
        // size must not fill the disk.
        entryBytes += static_cast<zip_uint64_t>(read);
        if (entryBytes > entry.size)
            throw EArchiveError(
                ZIP_ER_INCONS,
                QStringLiteral("Entry \"%1\" holds more than it declares.").arg(entry.relative));
        for (zip_int64_t written = 0; written < read;) {
            const ssize_t chunk =
                ::write(output.fd, buffer.data() + written, static_cast<size_t>(read - written));
            if (chunk < 0 && errno == EINTR)
                continue;
            if (chunk <= 0)
                ThrowSystemError(path, chunk < 0 ? errno : ENOSPC);
            written += chunk;
        }
        doneBytes += static_cast<zip_uint64_t>(read);
        gate.Report(totalBytes ? static_cast<double>(doneBytes) / static_cast<double>(totalBytes) : 1.0);
    }
    if (::close(output.fd) != 0) {
        output.fd = -1;
        ThrowSystemError(path, errno);
    }
    output.fd = -1;
}

void RefuseWhatDoesNotFit(zip_uint64_t totalBytes, const QString& targetFolder) {
    std::error_code error;
    const fs::space_info space = fs::space(LocalPath(targetFolder), error);
    if (!error && totalBytes > space.available)
        throw EArchiveError(ZIP_ER_WRITE,
                            QStringLiteral("The project needs %1 bytes; \"%2\" has %3 bytes free.")
                                .arg(totalBytes)
                                .arg(targetFolder)
                                .arg(space.available));
}

struct TPackEntry {
    std::string path;
    std::string name;
    bool folder = false;
};

// Every folder and regular file below the folder, names sorted so that archives are reproducible.
std::vector<TPackEntry> CollectEntries(const QString& folder) {
    std::vector<TPackEntry> entries;
    const auto addFolder = [&](const TFolderEntry& entry) {
        entries.push_back({LocalPath(entry.Path), entry.Relative.toStdString(), true});
        return true;
    };
    const auto addFile = [&](const TFolderEntry& entry) {
        std::error_code error;
        if (fs::is_regular_file(LocalPath(entry.Path), error))
            entries.push_back({LocalPath(entry.Path), entry.Relative.toStdString(), false});
    };
    try {
        WalkFolder(folder,
                   {.EnterFolder = addFolder, .File = addFile, .Sorted = true, .RaiseReadErrors = true});
    } catch (const EAppError& error) {
        throw EArchiveError(ZIP_ER_READ, error.Message());
    }
    return entries;
}

void AddEntry(zip_t* archive, const TPackEntry& entry) {
    if (entry.folder) {
        const zip_int64_t index = zip_dir_add(archive, entry.name.c_str(), ZIP_FL_ENC_UTF_8);
        if (index < 0)
            ThrowZipError(zip_get_error(archive));
        zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                         kFolderAttributes);
        return;
    }
    zip_source_t* source = zip_source_file(archive, entry.path.c_str(), 0, -1);
    if (!source)
        ThrowZipError(zip_get_error(archive));
    const zip_int64_t index =
        zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        ThrowZipError(zip_get_error(archive));
    }
    const auto position = static_cast<zip_uint64_t>(index);
    zip_file_set_external_attributes(archive, position, 0, ZIP_OPSYS_UNIX, kFileAttributes);
    if (IsCompressedMediaName(QString::fromStdString(entry.name)))
        zip_set_file_compression(archive, position, ZIP_CM_STORE, 0);
}

void PackProgress(zip_t*, double fraction, void* gate) {
    static_cast<TProgressGate*>(gate)->Report(fraction);
}

int PackCancel(zip_t*, void* gate) {
    return static_cast<TProgressGate*>(gate)->ShouldStop() ? 1 : 0;
}

} // namespace

bool IsCompressedMediaName(const QString& name) {
    static const QSet<QString> extensions = {
        QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("gif"),
        QStringLiteral("flv"), QStringLiteral("mp3"), QStringLiteral("mp4"),  QStringLiteral("swf"),
        QStringLiteral("zip"), QStringLiteral("scp"),
    };
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && extensions.contains(name.mid(dot + 1).toLower());
}

void ExtractArchive(const QString& archiveFile, const QString& targetFolder,
                    const TArchiveObserver& observer) {
    int openError = 0;
    TZipArchive archive(zip_open(LocalPath(archiveFile).c_str(), ZIP_RDONLY, &openError));
    if (!archive)
        ThrowZipCode(openError);

    zip_uint64_t totalBytes = 0;
    const std::vector<TEntryPlan> plan = PlanExtraction(archive.get(), totalBytes);
    const QString target = WithTrailingSlash(targetFolder);
    RefuseWhatDoesNotFit(totalBytes, target);
    TProgressGate gate(observer);
    std::vector<char> buffer(kChunkSize);
    zip_uint64_t doneBytes = 0;
    for (const TEntryPlan& entry : plan)
        ExtractEntry(archive.get(), entry, target, buffer, gate, doneBytes, totalBytes);
    gate.Report(1.0);
}

void PackFolder(const QString& sourceFolder, const QString& archiveFile, const TArchiveObserver& observer) {
    const std::vector<TPackEntry> entries = CollectEntries(sourceFolder);
    // libzip deletes the target when closing an archive without entries.
    if (entries.empty())
        throw EArchiveError(ZIP_ER_INVAL, QStringLiteral("\"%1\" holds nothing to pack.").arg(sourceFolder));

    int openError = 0;
    TZipArchive archive(zip_open(LocalPath(archiveFile).c_str(), ZIP_CREATE | ZIP_TRUNCATE, &openError));
    if (!archive)
        ThrowZipCode(openError);
    for (const TPackEntry& entry : entries)
        AddEntry(archive.get(), entry);

    TProgressGate gate(observer);
    zip_register_progress_callback_with_state(archive.get(), 0.01, PackProgress, nullptr, &gate);
    zip_register_cancel_callback_with_state(archive.get(), PackCancel, nullptr, &gate);
    // libzip writes a temporary file beside the target and renames it only on success.
    if (zip_close(archive.get()) != 0)
        ThrowZipError(zip_get_error(archive.get()));
    (void)archive.release();
}
