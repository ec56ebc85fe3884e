// Trovecart bench - saving and opening a project with 300 MB of media, against zip -r and unzip.
//
// The project is generated in a temporary folder below /tmp at every run and removed afterwards:
// large media files that are compressed already (random bytes named .flv, .mp3, .jpg, .png), and
// many small files (product thumbnails, text). Each tool runs several times on the same input;
// the medians and their ratio are printed.
#include <cstdio>
#include <random>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "bench_support.h"
#include "common/file_utils.h"
#include "shop/shop_document.h"

namespace {

constexpr int kRuns = 3;
constexpr qint64 kMegabyte = 1 << 20;

QByteArray RandomBytes(std::mt19937_64& generator, qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    auto* words = reinterpret_cast<quint64*>(bytes.data());
    for (qint64 i = 0; i < size / 8; ++i)
        words[i] = generator();
    return bytes;
}

void Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// About 300 MB: 16 large media files and 3000 small files. Returns the bytes of incompressible files.
qint64 MakeWorkFolder(const QString& work) {
    std::mt19937_64 generator(42);
    qint64 total = 0;
    const char* largeNames[] = {"preview/clip%1.flv", "preview/song%1.mp3", "image/photo%1.jpg",
                                "image/poster%1.png"};
    for (int i = 0; i < 16; ++i) {
        const QByteArray bytes = RandomBytes(generator, 17 * kMegabyte + i * 4096);
        Write(work + QString::fromLatin1(largeNames[i % 4]).arg(i), bytes);
        total += bytes.size();
    }
    for (int i = 0; i < 3000; ++i) {
        const qint64 size = 2048 + static_cast<qint64>(generator() % 12000);
        QByteArray bytes;
        if (i % 3 == 0) {
            bytes = QByteArray(size, 'a' + static_cast<char>(i % 26));
            Write(work + QStringLiteral("skin/text/%1/notes%2.txt").arg(i % 10).arg(i), bytes);
            continue;
        }
        bytes = RandomBytes(generator, size);
        Write(work + QStringLiteral("thumb/%1/item%2_Thumb.png").arg(i % 10).arg(i), bytes);
        total += bytes.size();
    }
    Write(work + QStringLiteral("index.swf"), RandomBytes(generator, 64 * 1024));
    return total;
}

void Report(const char* what, const char* peer, const std::vector<double>& ours,
            const std::vector<double>& theirs) {
    const double a = Median(ours);
    const double b = Median(theirs);
    std::printf("%-12s trovecart %7.3f s   %-10s %7.3f s   ratio %.2f\n", what, a, peer, b, a / b);
}

} // namespace

int main() {
    PrintLoadAverage();
    QTemporaryDir root(QStringLiteral("/tmp/trovecart-bench-XXXXXX"));
    if (!root.isValid())
        qFatal("cannot create a temporary folder");
    const QString base = root.path() + QLatin1Char('/');
    TShop shop;
    shop.SetSiteFolder(base + QStringLiteral("site/"));
    const QString work = shop.WorkFolder();
    const qint64 bytes = MakeWorkFolder(work);
    std::printf("project: %.0f MB of compressed media plus 1000 text files, %d runs each, medians\n",
                static_cast<double>(bytes) / kMegabyte, kRuns);

    shop.SetID(QStringLiteral("Bench"));
    const QString project = base + QStringLiteral("project.scp");
    const QString zipped = base + QStringLiteral("zipped.zip");
    std::vector<double> save, zip, open, unzip;
    for (int run = 0; run < kRuns; ++run) {
        QFile::remove(project);
        QFile::remove(zipped);
        save.push_back(Seconds([&] { shop.SaveProject(project); }));
        zip.push_back(TimePeer(QStringLiteral("zip"),
                               {QStringLiteral("-r"), QStringLiteral("-q"), zipped, QStringLiteral(".")},
                               work));
    }
    for (int run = 0; run < kRuns; ++run) {
        const QString temp = base + QStringLiteral("temp%1/").arg(run);
        const QString unzipped = base + QStringLiteral("unzipped%1/").arg(run);
        QDir().mkpath(unzipped);
        {
            TShop opened;
            open.push_back(Seconds([&] { opened.OpenProject(project, temp); }));
        }
        unzip.push_back(TimePeer(QStringLiteral("unzip"),
                                 {QStringLiteral("-q"), project, QStringLiteral("-d"), unzipped}, base));
        DeleteFolderTree(unzipped);
    }
    // Stored media cannot shrink: a smaller archive means files were left out.
    if (QFile(project).size() < bytes)
        qFatal("the project archive is incomplete");
    Report("SaveProject", "zip -r", save, zip);
    Report("OpenProject", "unzip", open, unzip);
    return 0;
}
