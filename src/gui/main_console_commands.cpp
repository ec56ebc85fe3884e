// Trovecart - main window: preview, front-end update, templates, shop settings and publishing.
#include <filesystem>

#include <QFile>
#include <QPushButton>

#include "common/app_info.h"
#include "common/dialog_service.h"
#include "common/file_utils.h"
#include "common/message_service.h"
#include "gui/frames/shop_frame.h"
#include "gui/main_console.h"
#include "gui/shop_tree.h"
#include "gui/wizard/shoping_cart_wizard.h"
#include "gui/wizard/template_changer.h"
#include "shop/email_check.h"
#include "shop/program_data.h"
#include "shop/shop_document.h"

void TMainConsole::Previewinbrowser1Click() {
    shop_->SaveToFile(shop_->WorkFolder() + QStringLiteral("shop.xml"), true);
    QFile::remove(shop_->SiteFolder() + QStringLiteral("shoppingcart.html"));
    shop_->WriteSitePages(QString());
    DialogService().OpenWithShell(shop_->SiteFolder() + QStringLiteral("index.html"));
}

void TMainConsole::miUpdateCartClick() {
    std::error_code ignored;
    std::filesystem::copy_file(
        LocalPath(ProgramData().TemplateFolder() + shop_->ID() + QStringLiteral("/index.swf")),
        LocalPath(shop_->WorkFolder() + QStringLiteral("index.swf")),
        std::filesystem::copy_options::overwrite_existing, ignored);
    if (TShopFrame* frame = ShownShopFrame())
        frame->RefreshPreview();
}

void TMainConsole::BtnChangetemplateClick() {
    TTemplateChanger changer(*this, ProgramData(), this);
    if (ShowModalDialog(changer) == 1 && ShownShopFrame())
        ShownShopFrame()->RefreshPreview();
}

void TMainConsole::BtnShopSetingsClick() {
    SelectShopNode();
    if (TShopFrame* frame = ShownShopFrame())
        frame->ShowSettingsPage();
}

void TMainConsole::MenuItemNewClick() {
    TShopingCartWizard wizard(*this, ProgramData(), this);
    wizard.ShowTemplatePage();
    wizard.BtnBack->hide();
    if (tree_->isVisible())
        tree_->setFocus();
    ShowModalDialog(wizard);
}

void TMainConsole::BtnPublishedClick(bool toFtp) {
    SelectShopNode();
    if (!IsValidEmail(shop_->ShopConfig().PaymentEmail())) {
        SelectShopNode();
        MessageService().ShowMessageBox(
            this,
            QStringLiteral(
                "Payment settings you entered appear to be invalid.\r\nPlease correct them and try again."),
            mkError, QStringLiteral("Error In Input"), ProgramCaption());
        return;
    }
    if (!ValidateAll())
        return;
    // Choosing the target and running the publish dialog come with the publishing step.
    Q_UNUSED(toFtp);
}
