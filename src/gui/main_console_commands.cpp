// Trovecart - main window: preview, front-end update, templates, shop settings and publishing.
#include <QPushButton>

#include "common/app_error.h"
#include "common/app_info.h"
#include "common/dialog_service.h"
#include "common/message_service.h"
#include "gui/frames/shop_frame.h"
#include "gui/main_console.h"
#include "gui/shop_tree.h"
#include "gui/wizard/shoping_cart_wizard.h"
#include "gui/wizard/template_changer.h"
#include "shop/email_check.h"
#include "shop/program_data.h"
#include "shop/shop_document.h"
#include "shop/site_build.h"

void TMainConsole::Previewinbrowser1Click() {
    PrepareSite(*shop_, TSiteUse::BrowserPreview);
    DialogService().OpenWithShell(shop_->Workspace().StartPage());
}

void TMainConsole::miUpdateCartClick() {
    try {
        shop_->TakeFrontEnd(ProgramData().TemplatePath(shop_->ID()));
    } catch (const EAppError&) {
        // The command is silent: the old front end simply stays.
    }
    if (TShopFrame* frame = ShownShopFrame())
        frame->RefreshPreview();
}

void TMainConsole::BtnChangetemplateClick() {
    TTemplateChanger changer(*this, ProgramData(), this);
    // The settings page shows the new template's publish size as well as its preview.
    if (ShowModalDialog(changer) == 1 && ShownShopFrame())
        ShownShopFrame()->LoadFromData();
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
