// Trovecart - pictures of the publishing dialogs: the publish dialog on each page after a run with
// one failed file, the FTP account dialog and the remote browser with a nested folder open, against
// a loopback FTP server. Run under an X server: tc_publish_screenshots OUTDIR
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStackedWidget>
#include <QTemporaryDir>

#include "common/dialog_service.h"
#include "common/message_service.h"
#include "gui/main_console.h"
#include "gui/publish/ftp_browser.h"
#include "gui/publish/ftp_setings.h"
#include "gui/publish/ftp_tree_view.h"
#include "gui/publish/publish_wizard.h"
#include "publish_test_support.h"
#include "shop/program_data.h"
#include "shop/shop_data_module.h"
#include "shop/shop_document.h"

namespace {

// Messages are answered at once; the overwrite question with Yes.
class TUnattended : public TMessageService {
public:
    using TMessageService::ShowMessageBox;
    int ShowMessageBox(TMessageOwner, const QString&, int, const QString&, const QString&) override {
        return mrOk;
    }
    int AskQuestion(TMessageOwner, const QString&, bool, int, const QString&, const QString&) override {
        return mrYes;
    }
};

void Settle(int milliseconds = 400) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

void Shoot(QWidget& window, const QString& file) {
    Settle();
    window.grab().save(file);
    std::printf("%s\n", qPrintable(file));
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tc_publish_screenshots OUTDIR\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    QDir().mkpath(out);
    QTemporaryDir work;
    TUnattended messages;
    SetMessageService(&messages);

    TFtpTestServer server;
    QDir(server.Root()).mkpath(QStringLiteral("www/shop/index.html"));
    QDir(server.Root()).mkpath(QStringLiteral("www/archive/2025"));
    QDir(server.Root()).mkpath(QStringLiteral("backup"));

    const QString programFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    TDataModuleShopCart data(true,
                             std::make_unique<TProgramData>(programFolder, work.path() + QLatin1Char('/'),
                                                            work.path() + QLatin1Char('/')));
    data.DataModuleCreate();
    TProgramData& settings = data.ProgramData();
    settings.SetFTPHost(QStringLiteral("127.0.0.1"));
    settings.SetFTPPort(server.Port());
    settings.SetFTPlogin(TFtpTestServer::User());
    settings.SetFTPPassword(TFtpTestServer::Password());
    settings.SetFTPPassive(true);
    settings.SetFTPDir(QStringLiteral("/www/shop/"));
    TMainConsole console(data);
    if (!console.NewProjectFromTemplate(settings.TemplateFolder() + QStringLiteral("ClassicBlue/")))
        return 1;
    console.show();
    Settle();

    TFTPSetings account(settings, &console);
    account.show();
    Shoot(account, out + QStringLiteral("ftp-account.png"));
    account.hide();
    for (const QString& protocol : {QStringLiteral("ftps"), QStringLiteral("sftp")}) {
        TProgramData secure(settings.ProgramFolder(), QString(), QString());
        secure.SetFTPHost(settings.FTPHost());
        secure.SetFTPlogin(settings.FTPlogin());
        secure.SetFTPProtocol(protocol);
        secure.SetFTPPort(protocol == QLatin1String("sftp") ? 22 : 21);
        secure.SetFTPKeyFile(protocol == QLatin1String("sftp") ? QStringLiteral("/home/anna/.ssh/id_ed25519")
                                                               : QString());
        TFTPSetings dialog(secure, &console);
        dialog.show();
        Shoot(dialog, out + QStringLiteral("ftp-account-%1.png").arg(protocol));
        dialog.hide();
    }

    TFTPBrowser browser(&console);
    browser.TreeView()->BeginSetup();
    browser.TreeView()->SetAccount(SavedFtpAccount(settings));
    browser.SetStartPath(QStringLiteral("/www/"));
    browser.show();
    Settle(900);
    browser.TreeView()->SelectPath(QStringLiteral("/www/archive/"));
    browser.TreeView()->SelectPath(QStringLiteral("/www/"));
    Shoot(browser, out + QStringLiteral("ftp-browser.png"));
    browser.hide();

    TPublishWizard wizard(*console.Shop(), settings, &console);
    wizard.PublishToFTP = true;
    wizard.PublishFolder = settings.FTPDir();
    wizard.Account = SavedFtpAccount(settings);
    wizard.show();
    Shoot(wizard, out + QStringLiteral("publish-main.png"));
    wizard.BtnPublishClick();
    QElapsedTimer clock;
    clock.start();
    while (!wizard.Finished() && clock.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    Shoot(wizard, out + QStringLiteral("publish-progress.png"));
    wizard.btnShowEmbedCodeClick();
    Shoot(wizard, out + QStringLiteral("publish-embed-code.png"));
    console.Shop()->SetModified(false);
    return wizard.Finished() ? 0 : 1;
}
