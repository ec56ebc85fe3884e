// Trovecart - file and folder helpers.
#include "common/file_utils.h"

#include <filesystem>
#include <system_error>

#include <QFile>

#include "common/app_error.h"
#include "common/app_info.h"
#include "common/message_service.h"

namespace fs = std::filesystem;

namespace {

QString AbsoluteFromRoot(const QString& path) {
    return path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path;
}

QString WithoutOneTrailingSlash(const QString& path) {
    if (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        return path.left(path.size() - 1);
    return path;
}

fs::file_status StatusOf(const QString& path) {
    std::error_code error;
    return fs::status(LocalPath(WithoutOneTrailingSlash(path)), error);
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

void CopyFolderTree(const QString& sourceFolder, const QString& targetFolder) {
    const QString source = WithTrailingSlash(sourceFolder);
    const QString target = WithTrailingSlash(targetFolder);
    if (!FolderExists(target))
        ForceFolders(target);

    std::error_code error;
    fs::directory_iterator it(LocalPath(source), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const fs::directory_entry& entry = *it;
        const QString name = QFile::decodeName(entry.path().filename().c_str());
        std::error_code kindError;
        // A linked folder is not descended into, so a link cycle cannot run away.
        if (entry.is_directory(kindError) && !entry.is_symlink(kindError)) {
            CopyFolderTree(source + name, target + name);
            continue;
        }
        std::error_code copyError;
        fs::copy_file(entry.path(), LocalPath(target + name), fs::copy_options::overwrite_existing,
                      copyError);
        if (copyError) {
            const QString reason = QString::fromLocal8Bit(copyError.message().c_str());
            MessageService().ShowMessageBox(QStringLiteral("Copying file failed.\r\nFile Name: ") + source +
                                                name + QStringLiteral("\r\n") + QStringLiteral("Error: ") +
                                                reason,
                                            mkError, QStringLiteral("File Copy Error"), ProgramCaption());
            throw EAppError(reason);
        }
    }
}

void DeleteFolderTree(const QString& folder) {
    if (folder.isEmpty())
        return;
    const QString root = WithTrailingSlash(folder);
    std::error_code error;
    fs::directory_iterator it(LocalPath(root), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const fs::directory_entry& entry = *it;
        std::error_code kindError;
        if (entry.is_directory(kindError) && !entry.is_symlink(kindError)) {
            DeleteFolderTree(QFile::decodeName(entry.path().c_str()));
        } else {
            std::error_code removeError;
            fs::remove(entry.path(), removeError);
        }
    }
    std::error_code removeError;
    fs::remove(LocalPath(WithoutOneTrailingSlash(root)), removeError);
}
