// Trovecart - file and folder helpers.
#include "common/file_utils.h"

#include <filesystem>
#include <system_error>

#include <QFile>
#include <QRandomGenerator>

#include "common/app_error.h"
#include "common/folder_walker.h"

namespace fs = std::filesystem;

namespace {

QString AbsoluteFromRoot(const QString& path) {
    return path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path;
}

fs::file_status StatusOf(const QString& path) {
    std::error_code error;
    return fs::status(LocalPath(WithoutTrailingSlash(path)), error);
}

} // namespace

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString WithTrailingSlash(const QString& path) {
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

QString WithoutTrailingSlash(const QString& path) {
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == QLatin1Char('/'))
        --end;
    return path.left(end);
}

QString JoinPath(const QString& folder, const QString& name) {
    qsizetype start = 0;
    while (start < name.size() && name.at(start) == QLatin1Char('/'))
        ++start;
    return WithTrailingSlash(folder) + name.mid(start);
}

QString SystemMessage(const std::error_code& error) {
    return QString::fromLocal8Bit(error.message().c_str());
}

bool FolderExists(const QString& path) {
    return !path.isEmpty() && fs::is_directory(StatusOf(path));
}

bool FileExistsStrict(const QString& path) {
    if (path.isEmpty())
        return false;
    const fs::file_status status = StatusOf(path);
    return fs::exists(status) && !fs::is_directory(status);
}

bool FolderHasEntries(const QString& folder) {
    std::error_code error;
    fs::directory_iterator it(LocalPath(folder), error);
    return !error && it != fs::directory_iterator();
}

QString ExtractNamePart(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool ForceFolders(const QString& path) {
    if (path.isEmpty())
        return false;
    std::error_code error;
    fs::create_directories(LocalPath(AbsoluteFromRoot(path)), error);
    return FolderExists(AbsoluteFromRoot(path));
}

bool ForceOutputFolder(const QString& path) {
    std::error_code ignored;
    const std::string local = LocalPath(AbsoluteFromRoot(WithoutTrailingSlash(path)));
    if (fs::is_symlink(fs::symlink_status(local, ignored)))
        fs::remove(local, ignored);
    return ForceFolders(path);
}

QString TemporaryNameBeside(const QString& target) {
    const qsizetype slash = target.lastIndexOf(QLatin1Char('/'));
    return target.left(slash + 1) + QLatin1Char('.') + target.mid(slash + 1) + QLatin1Char('.') +
           QString::number(QRandomGenerator::global()->generate()) + QStringLiteral(".part");
}

void CopyFileOver(const QString& source, const QString& target) {
    const QString temporary = TemporaryNameBeside(target);
    std::error_code error;
    fs::copy_file(LocalPath(source), LocalPath(temporary), error);
    if (!error)
        fs::rename(LocalPath(temporary), LocalPath(target), error);
    if (error) {
        std::error_code ignored;
        fs::remove(LocalPath(temporary), ignored);
    }
    if (error)
        throw EAppError(QStringLiteral("File Copy Error"), mkError,
                        QStringLiteral("Copying file failed.\r\nFile Name: ") + source +
                            QStringLiteral("\r\nError: ") + SystemMessage(error));
}

void CopyFolderTree(const QString& sourceFolder, const QString& targetFolder, const TNameFilter& copies) {
    const QString target = WithTrailingSlash(targetFolder);
    ForceFolders(target);
    const auto accepted = [&](const TFolderEntry& entry) { return !copies || copies(entry.Name); };
    const auto copyFolder = [&](const TFolderEntry& folder) {
        if (!accepted(folder))
            return false;
        ForceOutputFolder(target + folder.Relative);
        return true;
    };
    const auto copyFile = [&](const TFolderEntry& file) {
        if (accepted(file))
            CopyFileOver(file.Path, target + file.Relative);
    };
    WalkFolder(sourceFolder, {.EnterFolder = copyFolder, .File = copyFile, .RaiseReadErrors = true});
}

void DeleteFolderTree(const QString& folder) {
    if (folder.isEmpty())
        return;
    const auto remove = [](const TFolderEntry& entry) {
        std::error_code ignored;
        fs::remove(LocalPath(WithoutTrailingSlash(entry.Path)), ignored);
    };
    WalkFolder(folder, {.LeaveFolder = remove, .File = remove});
    std::error_code ignored;
    fs::remove(LocalPath(WithoutTrailingSlash(folder)), ignored);
}
