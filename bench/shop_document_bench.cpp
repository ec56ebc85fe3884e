// Trovecart benchmark - saving and loading a shop of 10,000 products with two options each.
// Prints the median save and load times, the peak memory, and the load time of Python's
// ElementTree parser on the same file as the peer, measured in turns with our load.
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include "bench_support.h"
#include "shop/shop_document.h"

namespace {

constexpr int kCategories = 50;
constexpr int kProductsPerCategory = 200;
constexpr int kRuns = 7;

void FillShop(TShop& shop) {
    shop.SetID(QStringLiteral("bench"));
    shop.ShopConfig().SetTitle(QStringLiteral("<font color=\"#000000\">Benchmark Shop</font>"));
    for (int c = 0; c < kCategories; ++c) {
        TCategory* category = shop.Categories().Add();
        category->SetName(QStringLiteral("Category %1").arg(c));
        for (int p = 0; p < kProductsPerCategory; ++p) {
            TCartItem* item = category->Items().Add();
            item->SetItemType(static_cast<TCartItemType>(p % 3));
            item->SetName(QStringLiteral("Product %1-%2").arg(c).arg(p));
            item->SetDescription(
                QStringLiteral("A fine product with a description of moderate length, number %1.").arg(p));
            item->SetThumb(
                QStringLiteral("2026-01-01_00-00-00_%1_Thumb.png").arg(p, 3, 10, QLatin1Char('0')));
            item->SetImage(QStringLiteral("2026-01-01_00-00-00_%1.jpg").arg(p, 3, 10, QLatin1Char('0')));
            item->SetPreview(QStringLiteral("2026-01-01_00-00-00_%1.flv").arg(p, 3, 10, QLatin1Char('0')));
            item->SetPrice(9.99 + p);
            item->SetDiscount(p % 5);
            item->SetShipping(2.5);
            for (const char* name : {"Size", "Colour"}) {
                TOptionItem* option = item->Options().Add();
                option->SetName(QString::fromLatin1(name));
                option->SetEnabled(true);
                option->Items() = QStringList({"Small", "Medium", "Large"});
            }
        }
    }
}

double PeakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// One phase in a process of its own, so that its peak memory is its own: "save FILE" builds the
// shop and saves it, "load FILE" loads it. Prints the median time in ms and the peak in MiB.
int RunPhase(const QString& phase, const QString& file) {
    std::vector<double> times;
    TShop shop;
    if (phase == QLatin1String("save"))
        FillShop(shop);
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        if (phase == QLatin1String("save")) {
            shop.SaveToFile(file);
        } else {
            TShop loaded;
            loaded.LoadFromFile(file);
        }
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("%f %f\n", Median(times), PeakMiB());
    return 0;
}

struct TPhaseResult {
    double milliseconds = 0;
    double peakMiB = 0;
};

TPhaseResult SpawnPhase(const QString& phase, const QString& file) {
    const TPeerRun child = RunPeer(QCoreApplication::applicationFilePath(), {phase, file});
    const QList<QByteArray> fields = child.Out.trimmed().split(' ');
    if (fields.size() != 2)
        return {};
    return {fields[0].toDouble(), fields[1].toDouble()};
}

// One run of the peer: parses the same file into a tree and walks it, like a script a user might
// write; its own time in ms, or 0 when it failed.
double PeerMilliseconds(const QString& file) {
    const QString script = QStringLiteral(
        "import sys,time,xml.etree.ElementTree as E\n"
        "t=time.perf_counter();r=E.parse(sys.argv[1]).getroot();n=sum(1 for _ in r.iter('item'))\n"
        "print((time.perf_counter()-t)*1000)");
    const TPeerRun python = RunPeer(QStringLiteral("python3"), {QStringLiteral("-c"), script, file});
    return python.Succeeded ? python.Out.trimmed().toDouble() : 0;
}

struct TLoadAgainstPeer {
    TPhaseResult Load;
    double PeerMilliseconds = 0;
    double PairedRatio = 0;
};

// The load and the peer take turns, each going first in every other round, so that a busy spell
// of a shared machine weighs on both; each round pairs our median with the peer's.
TLoadAgainstPeer MeasureLoad(const QString& file) {
    constexpr int kRounds = 5;
    constexpr int kPeerRunsPerRound = 3;
    std::vector<double> loads, peaks, peers, ratios;
    for (int round = 0; round < kRounds; ++round) {
        TPhaseResult load;
        std::vector<double> roundPeers;
        const auto runLoad = [&] { load = SpawnPhase(QStringLiteral("load"), file); };
        const auto runPeer = [&] {
            for (int run = 0; run < kPeerRunsPerRound; ++run)
                roundPeers.push_back(PeerMilliseconds(file));
        };
        if (round % 2 == 0) {
            runLoad();
            runPeer();
        } else {
            runPeer();
            runLoad();
        }
        const double peer = Median(roundPeers);
        loads.push_back(load.milliseconds);
        peaks.push_back(load.peakMiB);
        peers.push_back(peer);
        if (peer > 0)
            ratios.push_back(load.milliseconds / peer);
    }
    return {{Median(loads), *std::max_element(peaks.begin(), peaks.end())}, Median(peers), Median(ratios)};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3)
        return RunPhase(arguments.at(1), arguments.at(2));

    PrintLoadAverage();
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("shop.xml"));
    const TPhaseResult save = SpawnPhase(QStringLiteral("save"), file);
    const TLoadAgainstPeer load = MeasureLoad(file);

    std::printf("products: %d, file: %lld bytes\n", kCategories * kProductsPerCategory,
                static_cast<long long>(QFileInfo(file).size()));
    std::printf("save: median %.1f ms, peak %.1f MiB (model included)\n", save.milliseconds, save.peakMiB);
    std::printf("load: median %.1f ms, peak %.1f MiB\n", load.Load.milliseconds, load.Load.peakMiB);
    if (load.PeerMilliseconds > 0)
        std::printf(
            "peer python3 ElementTree parse: median %.1f ms; load / peer = %.3f, paired by round %.3f\n",
            load.PeerMilliseconds, load.Load.milliseconds / load.PeerMilliseconds, load.PairedRatio);
    return 0;
}
