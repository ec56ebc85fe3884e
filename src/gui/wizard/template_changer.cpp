// Trovecart - template changer.
#include "gui/wizard/template_changer.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/message_service.h"
#include "gui/main_console.h"
#include "gui/widgets/control_names.h"
#include "gui/wizard/template_selector.h"
#include "shop/program_data.h"
#include "shop/shop_document.h"

TTemplateChanger::TTemplateChanger(TMainConsole& console, const TProgramData& programData, QWidget* parent)
    : TParentDialog(parent), console_(console), programData_(programData) {
    setWindowTitle(QStringLiteral("Change Template"));
    setFixedSize(757, 473);
    Selector = new TTemplateSelector(programData, this);
    Selector->SetHostLayout();
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    PngSpeedButton1 = new QPushButton(QStringLiteral("Cancel"), this);
    NameControl(Selector, "Selector");
    NameControl(OKBtn, "OKBtn");
    NameControl(PngSpeedButton1, "PngSpeedButton1");
    connect(OKBtn, &QPushButton::clicked, this, &TTemplateChanger::OKBtnClick);
    connect(PngSpeedButton1, &QPushButton::clicked, this, &TTemplateChanger::CloseWithCancel);

    auto* bar = new QHBoxLayout;
    bar->addStretch();
    bar->addWidget(OKBtn);
    bar->addWidget(PngSpeedButton1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Selector, 1);
    layout->addLayout(bar);
}

void TTemplateChanger::showEvent(QShowEvent* event) {
    Selector->ThemeListChange();
    if (const TShop* shop = console_.Shop())
        Selector->SelectTemplate(shop->ID());
    TParentDialog::showEvent(event);
}

void TTemplateChanger::OKBtnClick() {
    const QString name = Selector->SelectedTemplate();
    if (name.isEmpty()) {
        MessageService().ShowMessageBox(
            this, QStringLiteral("You have not selected a template to load. Please select a template. "),
            mkError, QStringLiteral("No Template Selected"), QStringLiteral("Change Template"));
        return;
    }
    if (console_.ChangeTemplate(programData_.TemplatePath(name), name))
        CloseWithOk();
}
