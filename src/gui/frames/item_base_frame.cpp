// Trovecart - product base frame.
#include "gui/frames/item_base_frame.h"

#include <array>

#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/app_info.h"
#include "common/message_service.h"
#include "gui/dialogs/ratio_box.h"
#include "gui/frames/option_frame.h"
#include "gui/general_error.h"
#include "gui/shop_tree.h"
#include "gui/widgets/control_names.h"
#include "gui/widgets/menu_text.h"
#include "gui/widgets/money_edit.h"
#include "shop/catalogue_editor.h"
#include "shop/shop_document.h"
#include "shop/web_copies.h"

namespace {

// The type choice, in the order of its entries, with the word the frame shows for each type.
struct TTypeWord {
    TCartItemType type;
    const char* label;
    const char* choice;
};
constexpr std::array<TTypeWord, 3> kTypeWords = {{
    {citImage, "General", "General"},
    {citAudio, "Music", "Audio"},
    {citVideo, "Video", "Video"},
}};

int ChoiceOfType(TCartItemType type) {
    for (size_t i = 0; i < kTypeWords.size(); ++i) {
        if (kTypeWords[i].type == type)
            return static_cast<int>(i);
    }
    return -1;
}

QGroupBox* NewGroup(const QString& title, QLayout* content) {
    auto* group = new QGroupBox(title);
    group->setLayout(content);
    return group;
}

} // namespace

TItemBaseFrame::TItemBaseFrame(QWidget* parent) : TBaseFrame(parent), pages_(new QTabWidget(this)) {
    pages_->addTab(BuildSettingsPage(), QStringLiteral("Product Settings"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages_, 1);
    layout->addLayout(BuildBottomRow());
    ConnectHandlers();
}

QWidget* TItemBaseFrame::BuildSettingsPage() {
    auto* page = new QWidget;
    EditProductName = new QLineEdit(page);
    NameControl(EditProductName, "EditProductName", QStringLiteral("Product Name"));
    auto* nameLayout = new QVBoxLayout;
    nameLayout->addWidget(EditProductName);

    lblItemType = new QLabel(page);
    BtnChangeType = new QPushButton(QStringLiteral("Change Product Type"), page);
    NameControl(lblItemType, "lblItemType");
    NameControl(BtnChangeType, "BtnChangeType");
    auto* typeLayout = new QHBoxLayout;
    typeLayout->addWidget(new QLabel(QStringLiteral("Product Type :"), page));
    typeLayout->addWidget(lblItemType);
    typeLayout->addStretch();
    typeLayout->addWidget(BtnChangeType);

    Memodescription = new QPlainTextEdit(page);
    Memodescription->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memodescription->setMinimumHeight(Memodescription->fontMetrics().height() * 4);
    NameControl(Memodescription, "Memodescription", QStringLiteral("Product description"));
    auto* descriptionLayout = new QVBoxLayout;
    descriptionLayout->addWidget(Memodescription);

    auto* priceLayout = new QHBoxLayout;
    const auto moneyField = [page, priceLayout](const QString& label, const char* name) {
        auto* edit = new TMoneyEdit(page);
        NameControl(edit, name, label);
        // Room for amounts up to millions with cents.
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000.00")) + 12);
        auto* caption = new QLabel(label, page);
        caption->setBuddy(edit);
        priceLayout->addWidget(caption);
        priceLayout->addWidget(edit, 1);
        priceLayout->addSpacing(6);
        return edit;
    };
    NumEditOriginalPrice = moneyField(QStringLiteral("Original price"), "NumEditOriginalPrice");
    NumEditDiscount = moneyField(QStringLiteral("Discounted"), "NumEditDiscount");
    NumEditShipping = moneyField(QStringLiteral("Shipping"), "NumEditShipping");
    priceLayout->addStretch(2);

    OptionFrameA = new TOptionFrame(page);
    OptionFrameB = new TOptionFrame(page);
    NameControl(OptionFrameA, "OptionFrameA");
    NameControl(OptionFrameB, "OptionFrameB");
    auto* optionsLayout = new QHBoxLayout;
    optionsLayout->addWidget(OptionFrameA);
    optionsLayout->addSpacing(12);
    optionsLayout->addWidget(OptionFrameB);

    auto* nameAndType = new QHBoxLayout;
    nameAndType->addWidget(NewGroup(QStringLiteral("Product Name"), nameLayout), 1);
    nameAndType->addWidget(NewGroup(QStringLiteral("Product Type"), typeLayout));
    auto* texts = new QVBoxLayout;
    texts->addLayout(nameAndType);
    texts->addWidget(NewGroup(QStringLiteral("Price"), priceLayout));
    texts->addWidget(NewGroup(QStringLiteral("Product description"), descriptionLayout), 1);
    mediaColumn_ = new QVBoxLayout;
    upper_ = new QHBoxLayout;
    upper_->addLayout(texts, 1);
    upper_->addLayout(mediaColumn_);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(upper_, 3);
    layout->addWidget(NewGroup(QStringLiteral("Customize Product Options"), optionsLayout), 2);
    return page;
}

void TItemBaseFrame::AddToMediaColumn(QWidget* control, int stretch, Qt::Alignment alignment) {
    mediaColumn_->addWidget(control, stretch, alignment);
    // The texts before the media, three to two.
    upper_->setStretch(0, 3);
    upper_->setStretch(1, 2);
}

QLayout* TItemBaseFrame::BuildBottomRow() {
    BtnPrevious = new QPushButton(QStringLiteral("Previous "), this);
    BtnMoveTo = new QPushButton(QStringLiteral("Move To"), this);
    BtnNext = new QPushButton(QStringLiteral("Next"), this);
    PopupMenumoveto = new QMenu(BtnMoveTo);
    BtnMoveTo->setMenu(PopupMenumoveto);
    NameControl(BtnPrevious, "BtnPrevious");
    NameControl(BtnMoveTo, "BtnMoveTo");
    NameControl(BtnNext, "BtnNext");
    for (QPushButton* button : {BtnPrevious, BtnMoveTo, BtnNext})
        button->setEnabled(false);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(9, 0, 9, 6);
    row->addWidget(BtnPrevious);
    row->addStretch();
    row->addWidget(BtnMoveTo);
    row->addStretch();
    row->addWidget(BtnNext);
    return row;
}

void TItemBaseFrame::ConnectHandlers() {
    connect(EditProductName, &QLineEdit::textChanged, this,
            [this](const QString& text) { StoreEntryName(*item_, text); });
    connect(Memodescription, &QPlainTextEdit::textChanged, this, [this] {
        if (Loading())
            return;
        item_->SetDescription(Memodescription->toPlainText());
        MarkModified();
    });
    ConnectMoney(NumEditOriginalPrice, &TCartItem::SetPrice);
    ConnectMoney(NumEditDiscount, &TCartItem::SetDiscount);
    ConnectMoney(NumEditShipping, &TCartItem::SetShipping);
    connect(BtnChangeType, &QPushButton::clicked, this,
            [this] { RunReportingErrors([this] { ChangeProductTypeClick(); }); });
    connect(BtnPrevious, &QPushButton::clicked, this,
            [this] { RunReportingErrors([this] { BtnPreviousClick(); }); });
    connect(BtnNext, &QPushButton::clicked, this, [this] { RunReportingErrors([this] { BtnNextClick(); }); });
}

void TItemBaseFrame::ConnectMoney(TMoneyEdit* edit, void (TCartItem::*store)(double)) {
    connect(edit, &QLineEdit::textChanged, this, [this, edit, store] { MoneyChange(*edit, store); });
}

void TItemBaseFrame::MoneyChange(const TMoneyEdit& edit, void (TCartItem::*store)(double)) {
    if (Loading())
        return;
    // Text that is no amount stays in the field until the input is checked; the model keeps the
    // last amount.
    if (const std::optional<double> amount = edit.Amount())
        (item_->*store)(*amount);
    MarkModified();
}

void TItemBaseFrame::LoadFromData() {
    {
        TLoadingScope loading(*this);
        EditProductName->setText(item_->Name());
        Memodescription->setPlainText(item_->Description());
        NumEditOriginalPrice->ShowAmount(item_->Price());
        NumEditDiscount->ShowAmount(item_->Discount());
        NumEditShipping->ShowAmount(item_->Shipping());
        const int choice = ChoiceOfType(item_->ItemType());
        lblItemType->setText(choice >= 0 ? QString::fromLatin1(kTypeWords[static_cast<size_t>(choice)].label)
                                         : QString());
        while (item_->Options().Count() < 2)
            item_->Options().Add();
        BindOption(OptionFrameA, 0);
        BindOption(OptionFrameB, 1);
    }
    ShowPlace();
}

void TItemBaseFrame::BindOption(TOptionFrame* frame, int index) {
    frame->SetCommands(Commands());
    frame->SetShop(Shop());
    frame->SetData(item_->Options().Items(index));
    frame->LoadFromData();
}

TEntryPosition TItemBaseFrame::Position() const {
    return TShopTree::PositionOf(Node());
}

void TItemBaseFrame::ShowPlace() {
    const TCatalogueEditor& catalogue = Commands()->Catalogue();
    const TEntryPosition here = Position();
    BtnMoveTo->setEnabled(Shop()->Categories().Count() > 1);
    PopupMenumoveto->clear();
    for (const int index : catalogue.MoveTargets(here)) {
        PopupMenumoveto->addAction(MenuText(Shop()->Categories().Items(index)->Name()), this, [this, index] {
            RunReportingErrors([this, index] { Commands()->MoveToClick(index); });
        });
    }
    BtnPrevious->setEnabled(catalogue.PreviousInTreeOrder(here).has_value());
    BtnNext->setEnabled(catalogue.NextInTreeOrder(here).has_value());
}

void TItemBaseFrame::BtnPreviousClick() {
    if (const std::optional<TEntryPosition> previous =
            Commands()->Catalogue().PreviousInTreeOrder(Position()))
        Commands()->SelectEntry(*previous);
}

void TItemBaseFrame::BtnNextClick() {
    if (const std::optional<TEntryPosition> next = Commands()->Catalogue().NextInTreeOrder(Position()))
        Commands()->SelectEntry(*next);
}

bool TItemBaseFrame::ValidateInput() {
    QString errors;
    if (!NumEditOriginalPrice->Amount())
        errors += QStringLiteral("Original price must be positive.\r\n");
    if (!NumEditDiscount->Amount())
        errors += QStringLiteral("Discount must be a number positive.\r\n");
    if (!NumEditShipping->Amount())
        errors += QStringLiteral("Shipping must be a number positive.\r\n");
    if (errors.isEmpty() && !(item_->Price() >= item_->Discount()))
        errors += QStringLiteral("Discount cannot greater than original price.\r\n");
    if (errors.isEmpty())
        return true;
    Commands()->SelectEntry(Position());
    MessageService().ShowMessageBox(
        window(), QStringLiteral("Errors found in input. Please correct them and try again.\r\n") + errors,
        mkError, QStringLiteral("Error In Input"), ProgramCaption());
    return false;
}

void TItemBaseFrame::ChangeProductTypeClick() {
    const int current = ChoiceOfType(item_->ItemType());
    TRatioBox box(window());
    box.SetTitle(QStringLiteral("Change Cart Type"));
    box.SetPrompt(QStringLiteral("Please select  the new product type.\r\rChanging the product will delete "
                                 "preview info for this product."));
    QStringList choices;
    for (const TTypeWord& word : kTypeWords)
        choices << QString::fromLatin1(word.choice);
    box.SetItems(choices, 3, current);
    if (Commands()->ShowModal(box) != 1)
        return;
    const int chosen = box.ItemIndex();
    if (chosen < 0 || chosen == current)
        return;
    const TCartItemType type = kTypeWords[static_cast<size_t>(chosen)].type;
    item_->SetItemType(type);
    TShopTree::ShowProductType(Node(), type);
    // The names stay in the product; only the files go.
    const QString work = Shop()->WorkFolder();
    DeletePreviewFiles(work + QStringLiteral("preview/"), item_->Preview());
    if (!item_->Image().isEmpty())
        QFile::remove(work + QStringLiteral("image/") + item_->Image());
    item_->SetEditorValid(false);
    MarkModified();
    Commands()->PostRerunSelection();
}
