// Trovecart tests - a tiny file system of its own.
#include "support/small_file_system.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QFile>

TSmallFileSystem::TSmallFileSystem(int kibibytes) {
    if (::geteuid() != 0)
        return;
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k";
    mounted_ = ::mount("tmpfs", QFile::encodeName(Path()).constData(), "tmpfs", 0, options.constData()) == 0;
}

TSmallFileSystem::~TSmallFileSystem() {
    if (mounted_)
        ::umount2(QFile::encodeName(Path()).constData(), MNT_DETACH);
}

void TSmallFileSystem::Fill() const {
    const int descriptor =
        ::open(QFile::encodeName(Path() + QStringLiteral(".filler")).constData(), O_WRONLY | O_CREAT, 0600);
    if (descriptor < 0)
        return;
    const QByteArray block(4096, 'f');
    for (qsizetype size = block.size(); size > 0; size /= 2) {
        while (::write(descriptor, block.constData(), static_cast<size_t>(size)) == size) {
        }
    }
    ::close(descriptor);
}
