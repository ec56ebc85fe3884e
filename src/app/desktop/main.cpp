// Trovecart - the desktop program: start-up into the main window and the project wizard.
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>

#include "common/app_folders.h"
#include "common/app_info.h"
#include "common/application_instance.h"
#include "common/common_data_module.h"
#include "desktop/splash.h"
#include "gui/main_console.h"
#include "gui/qt_dialog_service.h"
#include "gui/qt_message_service.h"
#include "gui/widgets/preview_view.h"
#include "gui/widgets/program_icon.h"
#include "gui/widgets/web_preview.h"
#include "gui/wizard/shoping_cart_wizard.h"
#include "media/av_libraries.h"
#include "shop/shop_data_module.h"

namespace {

// A project handed over by the file manager, opened instead of showing the wizard.
QString ProjectArgument(const QStringList& arguments) {
    for (int i = 1; i < arguments.size(); ++i) {
        const QFileInfo file(arguments.at(i));
        if (file.suffix().compare(QLatin1String("scp"), Qt::CaseInsensitive) == 0 && file.isFile())
            return file.absoluteFilePath();
    }
    return QString();
}

} // namespace

int main(int argc, char* argv[]) {
    PrepareWebEngine();
    QApplication application(argc, argv);
    SetProgramDataSubfolderName(DefaultDataSubfolderName());
    const QStringList arguments = QCoreApplication::arguments();
    const bool deleteTemp = TDataModuleShopCart::DeleteTempFolderOption(arguments);
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("trovecart"), QIcon(ProgramIconPixmap(64))));
    // The program's name in the task bar comes from its desktop entry. An application display
    // name would be appended to every window caption by the window system integration.
    QGuiApplication::setDesktopFileName(QStringLiteral("trovecart"));

    TQtMessageService messages;
    SetMessageService(&messages);
    TQtDialogService dialogs;
    SetDialogService(&dialogs);
    SetPreviewViewFactory(CreateWebPreview);

    TDataModuleCommonMini common;
    if (!common.DataModuleCreate())
        return 0;
    TDataModuleShopCart shopData(deleteTemp);
    shopData.DataModuleCreate();

    TMainConsole console(shopData);
    messages.SetMainWindow(&console);
    dialogs.SetMainWindow(&console);
    common.ApplicationInstance().OnRaiseRequest = [&console] {
        console.showNormal();
        console.raise();
        console.activateWindow();
    };

    const QString project = ProjectArgument(arguments);
    TSplash* splash = nullptr;
    splash = new TSplash([&] {
        // The media engine must answer before any project is touched.
        QString message;
        if (!LoadLibraries(DefaultLibrariesFolder(), message)) {
            splash->close();
            messages.ShowMessageBox(message, mkError, ProgramCaption(), ProgramCaption());
            QCoreApplication::exit(1);
            return;
        }
        console.show();
        console.UpdateRecentMenu();
        splash->close();
        splash->deleteLater();
        // Work an earlier run left unsaved comes first; a project handed over still opens after it.
        const bool recovered = console.OfferRecovery();
        if (!project.isEmpty() && console.OpenProjectFile(project))
            return;
        if (recovered)
            return;
        TShopingCartWizard wizard(console, shopData.ProgramData(), &console);
        wizard.ShowModal();
    });
    splash->show();
    return application.exec();
}
