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
    const QString targetFolder = WithTrailingSlash(target);
    ForceFolders(targetFolder);
    WalkSentEntries(
        source, [&](const TFolderEntry& folder) { ForceOutputFolder(targetFolder + folder.Relative); },
        [&](const TFolderEntry& file) { CopyOneFile(file.Path, targetFolder + file.Relative); });
}

void TFileThread::CopyOneFile(const QString& source, const QString& target) {
    TransferFile(target, [&] {
        CopyFileWithProgress(source, target, [this](qint64 done, qint64 total) {
            UpdateFileProgress(done, total);
            return !Terminated();
        });
    });
}
