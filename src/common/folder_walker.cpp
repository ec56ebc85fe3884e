// Trovecart - folder walker.
#include "common/folder_walker.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include <QFile>

#include "common/app_error.h"
#include "common/file_utils.h"

namespace fs = std::filesystem;

namespace {

class TWalker {
public:
    explicit TWalker(const TFolderWalk& walk) : walk_(walk) {}

    void Walk(const QString& path, const QString& relative) {
        std::error_code error;
        fs::directory_iterator it(LocalPath(path), error);
        if (walk_.Sorted) {
            std::vector<fs::directory_entry> children;
            for (; !error && it != fs::directory_iterator(); it.increment(error))
                children.push_back(*it);
            CheckRead(path, error);
            std::sort(children.begin(), children.end(),
                      [](const fs::directory_entry& a, const fs::directory_entry& b) {
                          return a.path() < b.path();
                      });
            for (const fs::directory_entry& child : children) {
                if (Stopped())
                    return;
                Visit(child, path, relative);
            }
            return;
        }
        for (; !error && it != fs::directory_iterator(); it.increment(error)) {
            if (Stopped())
                return;
            Visit(*it, path, relative);
        }
        CheckRead(path, error);
    }

private:
    bool Stopped() const { return walk_.ShouldStop && walk_.ShouldStop(); }

    void CheckRead(const QString& path, const std::error_code& error) const {
        if (error && walk_.RaiseReadErrors)
            throw EAppError(QStringLiteral("Cannot read \"%1\": %2").arg(path, SystemMessage(error)));
    }

    void Visit(const fs::directory_entry& child, const QString& path, const QString& relative) {
        TFolderEntry entry;
        entry.Name = QFile::decodeName(child.path().filename().c_str());
        std::error_code kindError;
        entry.IsFolder = child.is_directory(kindError) && !child.is_symlink(kindError);
        entry.Path = path + entry.Name;
        entry.Relative = relative + entry.Name;
        if (!entry.IsFolder) {
            if (walk_.File)
                walk_.File(entry);
            return;
        }
        entry.Path += QLatin1Char('/');
        entry.Relative += QLatin1Char('/');
        if (walk_.EnterFolder && !walk_.EnterFolder(entry))
            return;
        Walk(entry.Path, entry.Relative);
        if (walk_.LeaveFolder)
            walk_.LeaveFolder(entry);
    }

    const TFolderWalk& walk_;
};

} // namespace

void WalkFolder(const QString& folder, const TFolderWalk& walk) {
    TWalker(walk).Walk(WithTrailingSlash(folder), QString());
}
