// Trovecart - folder publish worker.
#include "publish/file_thread.h"

#include "common/app_error.h"
#include "common/file_utils.h"
#include "publish/file_copy.h"

void TFileThread::run() {
    try {
        if (!CommonStart() || Terminated())
            return;
        CopyFolder(SourceFolder(), TargetFolder());
    } catch (const EAppError& error) {
        ReportRunFailure(error.Message());
    }
}

bool TFileThread::IsTargetNotEmpty() {
    return FolderHasEntries(TargetFolder());
}

void TFileThread::CopyFolder(const QString& source, const QString& target) {
    const QString sourceFolder = WithTrailingSlash(source);
    const QString targetFolder = WithTrailingSlash(target);
    if (!FolderExists(targetFolder))
        ForceFolders(targetFolder);
    ForEachEntry(sourceFolder, [&](const QString& name, bool isFolder) {
        if (IsSkippedName(name))
            return;
        if (isFolder)
            CopyFolder(sourceFolder + name + QLatin1Char('/'), targetFolder + name + QLatin1Char('/'));
        else
            CopyOneFile(sourceFolder + name, targetFolder + name);
    });
}

void TFileThread::CopyOneFile(const QString& source, const QString& target) {
    StartFile(target);
    const QString error = CopyFileWithProgress(source, target, [this](qint64 done, qint64 total) {
        UpdateFileProgress(done, total);
        return !Terminated();
    });
    FinishFile(target, error.isEmpty(), error);
}
