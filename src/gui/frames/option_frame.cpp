// Trovecart - option frame.
#include "gui/frames/option_frame.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/dialogs/input_box.h"
#include "gui/general_error.h"
#include "gui/widgets/control_names.h"
#include "gui/widgets/list_button_icons.h"
#include "shop/option_item.h"

namespace {

// The list has no label of its own; it is called by the title of the group that holds the frames.
const QString kListName = QStringLiteral("Customize Product Options");

} // namespace

TOptionFrame::TOptionFrame(QWidget* parent) : TBaseFrame(parent) {
    CheckBoxEnable = new QCheckBox(QStringLiteral("Enable"), this);
    lblName = new QLabel(QStringLiteral("Name"), this);
    EditName = new QLineEdit(this);
    lblName->setBuddy(EditName);
    ListBoxItems = new QListWidget(this);
    ListBoxItems->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBoxItems->setContextMenuPolicy(Qt::CustomContextMenu);
    ListBoxItems->setMinimumHeight(ListBoxItems->fontMetrics().height() * 5);
    BtnAdd = NewListButton(TListGlyph::Add, "BtnAdd", QStringLiteral("Add"));
    BtnRemove = NewListButton(TListGlyph::Delete, "BtnRemove", QStringLiteral("Delete"));
    BtnUp = NewListButton(TListGlyph::MoveUp, "BtnUp", QStringLiteral("Move up"));
    BtnDown = NewListButton(TListGlyph::MoveDown, "BtnDown", QStringLiteral("Move down"));
    BtnRename = NewListButton(TListGlyph::Rename, "BtnRename", QStringLiteral("Rename"));
    NameControl(CheckBoxEnable, "CheckBoxEnable");
    NameControl(lblName, "lblName");
    NameControl(EditName, "EditName", QStringLiteral("Name"));
    NameControl(ListBoxItems, "ListBoxItems", kListName);
    BuildMenu();

    auto* buttons = new QVBoxLayout;
    for (QToolButton* button : {BtnAdd, BtnRemove, BtnUp, BtnDown, BtnRename})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(CheckBoxEnable, 0, 0);
    layout->addWidget(lblName, 0, 1, Qt::AlignRight);
    layout->addWidget(EditName, 0, 2, 1, 2);
    layout->addWidget(ListBoxItems, 1, 0, 1, 3);
    layout->addLayout(buttons, 1, 3);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(1, 1);

    connect(CheckBoxEnable, &QCheckBox::toggled, this, &TOptionFrame::CheckBoxEnableClick);
    connect(EditName, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (Loading())
            return;
        option_->SetName(text);
        MarkModified();
    });
    connect(ListBoxItems, &QListWidget::itemSelectionChanged, this, &TOptionFrame::UpdateListButtons);
    connect(ListBoxItems, &QListWidget::itemDoubleClicked, this,
            [this] { RunReportingErrors([this] { BtnRenameClick(); }); });
    connect(ListBoxItems, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenuItems->popup(ListBoxItems->viewport()->mapToGlobal(at)); });
    connect(BtnAdd, &QToolButton::clicked, MenuAdd, &QAction::trigger);
    connect(BtnRemove, &QToolButton::clicked, MenuDelete, &QAction::trigger);
    connect(BtnRename, &QToolButton::clicked, MenuRename, &QAction::trigger);
    connect(BtnUp, &QToolButton::clicked, MenuMoveUp, &QAction::trigger);
    connect(BtnDown, &QToolButton::clicked, MenuMoveDown, &QAction::trigger);
    ShowEnabled();
}

QToolButton* TOptionFrame::NewListButton(TListGlyph glyph, const char* name, const QString& spoken) {
    auto* button = new QToolButton(this);
    button->setIcon(ListButtonIcon(glyph));
    button->setToolTip(spoken);
    button->setAutoRaise(true);
    NameControl(button, name, spoken);
    return button;
}

void TOptionFrame::BuildMenu() {
    PopupMenuItems = new QMenu(this);
    const auto entry = [this](const QString& text, const QKeySequence& key, std::function<void()> command) {
        QAction* action = PopupMenuItems->addAction(text);
        action->setShortcut(key);
        // The keys work while the list has the focus, with or without the menu.
        action->setShortcutContext(Qt::WidgetShortcut);
        ListBoxItems->addAction(action);
        connect(action, &QAction::triggered, this, [command] { RunReportingErrors(command); });
        return action;
    };
    MenuAdd = entry(QStringLiteral("Add"), QKeySequence(), [this] { BtnAddClick(); });
    MenuDelete = entry(QStringLiteral("Delete"), QKeySequence(Qt::Key_Delete), [this] { BtnRemoveClick(); });
    MenuRename = entry(QStringLiteral("Rename"), QKeySequence(Qt::Key_F2), [this] { BtnRenameClick(); });
    MenuMoveUp = entry(QStringLiteral("Move up"), QKeySequence(), [this] { MoveItemClick(true); });
    MenuMoveDown = entry(QStringLiteral("Move down"), QKeySequence(), [this] { MoveItemClick(false); });
}

void TOptionFrame::LoadFromData() {
    TLoadingScope loading(*this);
    CheckBoxEnable->setChecked(option_->Enabled());
    // An unchanged box raises no change; the enabling runs all the same.
    ShowEnabled();
    EditName->setText(option_->Name());
    ListBoxItems->clear();
    ListBoxItems->addItems(option_->Items());
    UpdateListButtons();
}

void TOptionFrame::CheckBoxEnableClick() {
    ShowEnabled();
    if (Loading())
        return;
    option_->SetEnabled(CheckBoxEnable->isChecked());
    MarkModified();
}

void TOptionFrame::ShowEnabled() {
    const bool enabled = CheckBoxEnable->isChecked();
    for (QWidget* control : {static_cast<QWidget*>(lblName), static_cast<QWidget*>(EditName),
                             static_cast<QWidget*>(ListBoxItems), static_cast<QWidget*>(BtnAdd)})
        control->setEnabled(enabled);
    MenuAdd->setEnabled(enabled);
    UpdateListButtons();
}

int TOptionFrame::SelectedIndex() const {
    const QList<QListWidgetItem*> selected = ListBoxItems->selectedItems();
    return selected.isEmpty() ? -1 : ListBoxItems->row(selected.constFirst());
}

void TOptionFrame::SelectIndex(int index) {
    ListBoxItems->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

void TOptionFrame::UpdateListButtons() {
    const bool enabled = CheckBoxEnable->isChecked();
    const int selected = SelectedIndex();
    BtnRemove->setEnabled(selected >= 0 && enabled);
    BtnUp->setEnabled(selected > 0 && enabled);
    BtnDown->setEnabled(selected < ListBoxItems->count() - 1 && BtnRemove->isEnabled() && enabled);
    BtnRename->setEnabled(BtnRemove->isEnabled());
    MenuDelete->setEnabled(BtnRemove->isEnabled());
    MenuRename->setEnabled(BtnRemove->isEnabled());
    MenuMoveUp->setEnabled(BtnUp->isEnabled());
    MenuMoveDown->setEnabled(BtnDown->isEnabled());
}

void TOptionFrame::StoreItems() {
    QStringList items;
    for (int i = 0; i < ListBoxItems->count(); ++i)
        items << ListBoxItems->item(i)->text();
    option_->Items() = items;
    MarkModified();
    UpdateListButtons();
}

std::optional<QString> TOptionFrame::AskItemText(const QString& title, const QString& prompt,
                                                 const QString& text) {
    TInputBox box(window());
    box.SetTitle(title);
    box.SetPrompt(prompt);
    box.SetText(text);
    if (Commands()->ShowModal(box) != 1)
        return std::nullopt;
    return box.Text();
}

void TOptionFrame::BtnAddClick() {
    if (!CheckBoxEnable->isChecked())
        return;
    const std::optional<QString> text =
        AskItemText(QStringLiteral("New Option Item"), QStringLiteral("Enter a name for new option item."),
                    QStringLiteral("New Item"));
    if (!text)
        return;
    ListBoxItems->addItem(*text);
    StoreItems();
}

void TOptionFrame::BtnRemoveClick() {
    const int selected = SelectedIndex();
    if (selected < 0 || !CheckBoxEnable->isChecked())
        return;
    delete ListBoxItems->takeItem(selected);
    // The value that takes its place is selected, so that several can be removed in a row.
    SelectIndex(std::min(selected, ListBoxItems->count() - 1));
    StoreItems();
}

void TOptionFrame::BtnRenameClick() {
    const int selected = SelectedIndex();
    if (selected < 0 || !CheckBoxEnable->isChecked())
        return;
    const std::optional<QString> text = AskItemText(QStringLiteral("Rename Option Item"),
                                                    QStringLiteral("Enter a new name for the option item."),
                                                    ListBoxItems->item(selected)->text());
    if (!text)
        return;
    ListBoxItems->item(selected)->setText(*text);
    StoreItems();
}

void TOptionFrame::MoveItemClick(bool up) {
    const int selected = SelectedIndex();
    const int other = up ? selected - 1 : selected + 1;
    if (selected < 0 || other < 0 || other >= ListBoxItems->count() || !CheckBoxEnable->isChecked())
        return;
    ListBoxItems->insertItem(other, ListBoxItems->takeItem(selected));
    SelectIndex(other);
    StoreItems();
}
