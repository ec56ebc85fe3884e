// Trovecart - files that are written whole or not at all.
#include "common/whole_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSaveFile>

#include "common/app_error.h"
#include "common/file_utils.h"
#include "common/task_thread.h"

namespace {

// The file a commit replaces, held open so that its blocks are freed when it is closed on the
// closing thread instead of during the rename: freeing a large file's blocks takes milliseconds.
class TReplacedFile {
public:
    explicit TReplacedFile(const QString& fileName)
        : descriptor_(::open(LocalPath(fileName).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    TReplacedFile(const TReplacedFile&) = delete;
    TReplacedFile& operator=(const TReplacedFile&) = delete;
    ~TReplacedFile() {
        if (descriptor_ < 0)
            return;
        static TTaskThread closing;
        closing.Add([descriptor = descriptor_](const std::stop_token&) { ::close(descriptor); });
    }

private:
    int descriptor_;
};

} // namespace

void WriteWholeFile(const QString& fileName, const std::function<bool(QIODevice&)>& write) {
    QSaveFile file(fileName);
    // Unbuffered, so that a full disk fails the write it happens in: QSaveFile::commit() does not
    // see an error of the final flush of its buffer and would rename a truncated file into place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw EAppError(file.errorString());
    bool written = false;
    try {
        written = write(file);
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    if (!written || file.error() != QFileDevice::NoError) {
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QStringLiteral("The content could not be written.");
        file.cancelWriting();
        throw EAppError(reason);
    }
    const TReplacedFile replaced(fileName);
    if (!file.commit())
        throw EAppError(file.errorString());
}

void WriteWholeFile(const QString& fileName, const QByteArray& content) {
    WriteWholeFile(fileName,
                   [&content](QIODevice& device) { return device.write(content) == content.size(); });
}
