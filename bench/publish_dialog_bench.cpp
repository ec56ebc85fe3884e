// Trovecart bench - what the publish dialog and the remote browser add to the work beneath them:
// a 1,000-file folder publish with the dialog's handlers against the bare worker, and a remote
// folder of 10,000 entries listed and shown in the browser against the bare listing transfer.
// Runs on the offscreen platform with a loopback FTP server. Usage: publish_dialog_bench [RUNS]
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QStackedWidget>
#include <QTemporaryDir>

#include "bench_support.h"
#include "common/message_service.h"
#include "gui/publish/ftp_browser.h"
#include "gui/publish/ftp_list_view.h"
#include "gui/publish/ftp_tree_view.h"
#include "gui/publish/publish_wizard.h"
#include "publish/file_thread.h"
#include "publish/ftp_client.h"
#include "publish_test_support.h"
#include "shop/program_data.h"
#include "shop/shop_document.h"

namespace {

constexpr int kSiteFiles = 1000;
constexpr int kRemoteEntries = 10000;

class TSilent : public TMessageService {
public:
    using TMessageService::ShowMessageBox;
    int ShowMessageBox(TMessageOwner, const QString&, int, const QString&, const QString&) override {
        return mrOk;
    }
    int AskQuestion(TMessageOwner, const QString&, bool, int, const QString&, const QString&) override {
        return mrYes;
    }
};

void MakeFiles(const QString& folder, int count, int bytes) {
    QDir().mkpath(folder);
    const QByteArray content(bytes, 'x');
    for (int i = 0; i < count; ++i) {
        QFile file(folder + QStringLiteral("file%1.dat").arg(i, 5, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            std::exit(1);
    }
}

// One folder publish; with a dialog, its handlers receive every report.
double PublishSeconds(const QString& source, const QString& target, TPublishWizard* wizard) {
    QDir(target).removeRecursively();
    auto* thread = new TFileThread;
    thread->SetSourceFolder(source);
    thread->SetTargetFolder(target);
    QEventLoop loop;
    if (wizard) {
        QObject::connect(thread, &TBaseThread::OnPublishStatus, wizard,
                         [wizard](TBaseThread*, const QString& action, int percent, bool busy, bool failed,
                                  const QString& error) {
                             wizard->OnPublishStatus(action, percent, busy, failed, error);
                         });
        QObject::connect(
            thread, &TBaseThread::OnFileProgress, wizard,
            [wizard](TBaseThread*, int percent, double speed) { wizard->OnFileProgress(percent, speed); });
    } else {
        QObject::connect(thread, &TBaseThread::OnPublishStatus, &loop, [] {});
        QObject::connect(thread, &TBaseThread::OnFileProgress, &loop, [] {});
    }
    QObject::connect(thread, &TBaseThread::OnTerminate, &loop, &QEventLoop::quit);
    return Seconds([&] {
        thread->start();
        loop.exec();
        QApplication::processEvents();
    });
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    TSilent silent;
    SetMessageService(&silent);
    PrintLoadAverage();

    QTemporaryDir work;
    const QString source = work.path() + QStringLiteral("/site/");
    MakeFiles(source, kSiteFiles, 2048);
    TShop shop;
    TProgramData settings(work.path(), work.path(), work.path());
    std::vector<double> bare;
    std::vector<double> dialog;
    for (int run = 0; run < runs; ++run) {
        bare.push_back(PublishSeconds(source, work.path() + QStringLiteral("/bare/"), nullptr));
        TPublishWizard wizard(shop, settings);
        wizard.show();
        wizard.Pages->setCurrentWidget(wizard.Publishing);
        dialog.push_back(PublishSeconds(source, work.path() + QStringLiteral("/dialog/"), &wizard));
    }
    std::printf("folder publish of %d files: bare worker %.3f s, with the dialog %.3f s, ratio %.3f\n",
                kSiteFiles, Median(bare), Median(dialog), Median(dialog) / Median(bare));

    TFtpTestServer server;
    MakeFiles(server.Root() + QStringLiteral("big/"), kRemoteEntries, 1);
    const TFtpAccount account{QStringLiteral("127.0.0.1"), server.Port(), TFtpTestServer::User(),
                              TFtpTestServer::Password(), true};
    std::vector<double> transfer;
    std::vector<double> shown;
    TFTPBrowser browser;
    browser.TreeView()->BeginSetup();
    browser.TreeView()->SetAccount(account);
    browser.TreeView()->SetRootPath(QStringLiteral("/big/"));
    browser.show();
    browser.StartTimerTimer();
    for (int run = 0; run < runs; ++run) {
        TFtpClient client;
        ApplyAccount(client, account);
        client.Connect();
        transfer.push_back(Seconds([&] {
            client.ChangeDir(QStringLiteral("/big/"));
            if (client.List().size() != kRemoteEntries)
                std::exit(1);
        }));
        shown.push_back(Seconds([&] {
            browser.TreeView()->RefreshNode(browser.TreeView()->topLevelItem(0));
            browser.ListView()->repaint();
            QApplication::processEvents();
        }));
    }
    if (browser.ListView()->RowCount() != kRemoteEntries)
        return 1;
    std::printf("remote folder of %d entries: listing transfer %.3f s, listed and shown %.3f s, beyond the "
                "transfer %.0f ms\n",
                kRemoteEntries, Median(transfer), Median(shown), (Median(shown) - Median(transfer)) * 1000);
    return 0;
}
