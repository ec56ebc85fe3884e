// Trovecart - project wizard.
#include "gui/wizard/shoping_cart_wizard.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/file_utils.h"
#include "common/message_service.h"
#include "gui/main_console.h"
#include "gui/widgets/control_names.h"
#include "gui/widgets/program_icon.h"
#include "gui/wizard/template_selector.h"
#include "shop/program_data.h"

TShopingCartWizard::TShopingCartWizard(TMainConsole& console, TProgramData& programData, QWidget* parent)
    : TParentDialog(parent), console_(console), programData_(programData) {
    setWindowTitle(QStringLiteral("Shoping Cart Wizard"));
    // A fixed-size window, centred on the screen rather than over its owner.
    setFixedSize(757, 473);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("TShopingCartWizard { background: white; }"));
    ExitProgram = [] { QCoreApplication::exit(0); };

    Selector = new TTemplateSelector(programData, this);
    Selector->SetHostLayout();
    pages_ = new QStackedWidget(this);
    pages_->addWidget(BuildWelcomePage());
    pages_->addWidget(Selector);

    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnExit = new QPushButton(QStringLiteral("Exit"), this);
    BtnOpenResent = new QPushButton(QStringLiteral("Open recent"), this);
    BtnDeleteRecent = new QPushButton(QStringLiteral("Delete"), this);
    BtnBack = new QPushButton(QStringLiteral("Back"), this);
    BtnFinish = new QPushButton(QStringLiteral("OK"), this);
    BtnOpenResent->setEnabled(false);
    BtnDeleteRecent->setEnabled(false);
    for (QPushButton* button : {btnCancel, btnExit, BtnOpenResent, BtnDeleteRecent, BtnBack, BtnFinish})
        button->setAutoDefault(false);

    connect(btnCancel, &QPushButton::clicked, this, [this] { done(kCancelResult); });
    connect(btnExit, &QPushButton::clicked, this, [this] {
        done(kCancelResult);
        ExitProgram();
    });
    connect(BtnOpenResent, &QPushButton::clicked, this, &TShopingCartWizard::OpenRecentClick);
    connect(BtnDeleteRecent, &QPushButton::clicked, this, &TShopingCartWizard::DeleteRecentClick);
    connect(BtnBack, &QPushButton::clicked, this, &TShopingCartWizard::ShowWelcomePage);
    connect(BtnFinish, &QPushButton::clicked, this, &TShopingCartWizard::BtnFinishClick);

    auto* bar = new QHBoxLayout;
    bar->addWidget(btnExit);
    bar->addWidget(BtnOpenResent);
    bar->addWidget(BtnDeleteRecent);
    bar->addStretch();
    bar->addWidget(BtnBack);
    bar->addWidget(BtnFinish);
    bar->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(bar);
    NameControl(ListRecent, "ListRecent", QStringLiteral("Recent files"));
    NameControl(Selector, "Selector");
    NameControl(BtnNew, "BtnNew");
    NameControl(BtnOpen, "BtnOpen");
    NameControl(btnCancel, "btnCancel");
    NameControl(btnExit, "btnExit");
    NameControl(BtnOpenResent, "BtnOpenResent");
    NameControl(BtnDeleteRecent, "BtnDeleteRecent");
    NameControl(BtnBack, "BtnBack");
    NameControl(BtnFinish, "BtnFinish");
    ShowWelcomePage();
}

QWidget* TShopingCartWizard::BuildWelcomePage() {
    auto* page = new QWidget;
    ListRecent = new QTreeWidget(page);
    ListRecent->setHeaderLabel(QStringLiteral("Recent files"));
    ListRecent->setRootIsDecorated(false);
    ListRecent->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListRecent, &QTreeWidget::itemSelectionChanged, this, &TShopingCartWizard::UpdateRecentButtons);
    connect(ListRecent, &QTreeWidget::itemDoubleClicked, this, &TShopingCartWizard::OpenRecentClick);

    recentMenu_ = new QMenu(this);
    openRecentItem_ =
        recentMenu_->addAction(QStringLiteral("Open recent"), this, &TShopingCartWizard::OpenRecentClick);
    recentMenu_->setDefaultAction(openRecentItem_);
    deleteRecentItem_ =
        recentMenu_->addAction(QStringLiteral("Delete"), this, &TShopingCartWizard::DeleteRecentClick);
    deleteRecentItem_->setShortcut(QKeySequence::Delete);
    deleteRecentItem_->setShortcutContext(Qt::WidgetShortcut);
    ListRecent->addAction(deleteRecentItem_);
    connect(ListRecent, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { recentMenu_->popup(ListRecent->viewport()->mapToGlobal(at)); });

    auto* title = new QLabel(QStringLiteral("Corvalen Trovecart"), page);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto* link =
        new QLabel(QStringLiteral("<a href=\"https://www.corvalen.com/\">www.corvalen.com</a>"), page);
    link->setOpenExternalLinks(true);
    BtnNew = new QPushButton(style()->standardIcon(QStyle::SP_FileIcon),
                             QStringLiteral("Create a new shopping cart"), page);
    BtnOpen = new QPushButton(style()->standardIcon(QStyle::SP_DialogOpenButton),
                              QStringLiteral("Open existing shopping cart "), page);
    for (QPushButton* big : {BtnNew, BtnOpen}) {
        big->setMinimumHeight(56);
        big->setIconSize(QSize(32, 32));
        big->setAutoDefault(false);
    }
    connect(BtnNew, &QPushButton::clicked, this, &TShopingCartWizard::ShowTemplatePage);
    connect(BtnOpen, &QPushButton::clicked, this, &TShopingCartWizard::BtnOpenClick);

    auto* icon = new QLabel(page);
    icon->setPixmap(ProgramIconPixmap(48));
    auto* heading = new QHBoxLayout;
    heading->addWidget(icon);
    heading->addWidget(title, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(heading);
    right->addWidget(link);
    right->addSpacing(24);
    right->addWidget(BtnNew);
    right->addWidget(BtnOpen);
    right->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(ListRecent, 1);
    layout->addLayout(right, 1);
    return page;
}

void TShopingCartWizard::ShowWelcomePage() {
    pages_->setCurrentIndex(0);
    for (QPushButton* button : {btnExit, BtnOpenResent, BtnDeleteRecent})
        button->setVisible(true);
    BtnBack->setVisible(false);
    BtnFinish->setVisible(false);
    UpdateRecentButtons();
}

void TShopingCartWizard::ShowTemplatePage() {
    pages_->setCurrentIndex(1);
    for (QPushButton* button : {btnExit, BtnOpenResent, BtnDeleteRecent})
        button->setVisible(false);
    BtnBack->setVisible(true);
    BtnFinish->setVisible(true);
}

bool TShopingCartWizard::OnTemplatePage() const {
    return pages_->currentIndex() == 1;
}

void TShopingCartWizard::showEvent(QShowEvent* event) {
    Refresh();
    TParentDialog::showEvent(event);
}

void TShopingCartWizard::Refresh() {
    ListRecent->clear();
    const TResentItems& recent = programData_.Recent();
    for (int i = 0; i < recent.Count(); ++i) {
        const QString path = recent.Items(i).Src();
        if (!FileExistsStrict(path))
            continue;
        auto* row = new QTreeWidgetItem(ListRecent, {path});
        row->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
    }
    UpdateRecentButtons();
    Selector->ThemeListChange();
}

void TShopingCartWizard::UpdateRecentButtons() {
    const bool selected = !ListRecent->selectedItems().isEmpty();
    BtnOpenResent->setEnabled(selected);
    BtnDeleteRecent->setEnabled(selected);
    openRecentItem_->setEnabled(selected);
    deleteRecentItem_->setEnabled(selected);
}

void TShopingCartWizard::OpenRecentClick() {
    const QList<QTreeWidgetItem*> selected = ListRecent->selectedItems();
    if (selected.isEmpty())
        return;
    if (console_.OpenProjectFile(selected.constFirst()->text(0)))
        CloseWithOk();
}

void TShopingCartWizard::BtnOpenClick() {
    if (console_.OpenProjectWithDialog())
        CloseWithOk();
}

void TShopingCartWizard::DeleteRecentClick() {
    const QList<QTreeWidgetItem*> selected = ListRecent->selectedItems();
    if (selected.isEmpty())
        return;
    const QString path = selected.constFirst()->text(0);
    TResentItems& recent = programData_.Recent();
    for (int i = 0; i < recent.Count(); ++i) {
        if (recent.Items(i).Src() == path) {
            recent.Delete(i);
            break;
        }
    }
    delete selected.constFirst();
    UpdateRecentButtons();
}

void TShopingCartWizard::BtnFinishClick() {
    const QString name = Selector->SelectedTemplate();
    if (name.isEmpty()) {
        MessageService().ShowMessageBox(
            this, QStringLiteral("You have not selected a template to load. Please select a template. "),
            mkError, QStringLiteral("No Template Selected"), QStringLiteral("Shoping Cart Wizard"));
        return;
    }
    if (console_.NewProjectFromTemplate(programData_.TemplatePath(name)))
        CloseWithOk();
}
