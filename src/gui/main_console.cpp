// Trovecart - main window: layout, commands and their enabling, frame host.
#include "gui/main_console.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "common/app_info.h"
#include "common/dialog_service.h"
#include "gui/frame_host.h"
#include "gui/frames/base_frame.h"
#include "gui/frames/frame_makers.h"
#include "gui/general_error.h"
#include "gui/shop_tree.h"
#include "gui/widgets/control_names.h"
#include "gui/widgets/program_icon.h"
#include "gui/widgets/toolbar_icon.h"
#include "shop/catalogue_editor.h"
#include "shop/shop_data_module.h"
#include "shop/shop_document.h"

namespace {

// Long enough that typing does not write at every key, short enough that a crash loses little.
constexpr int kUnsavedWorkDelayMs = 3000;

const QString kVendorAddress = QStringLiteral("https://www.corvalen.com/");
const QString kStartText = QStringLiteral(
    "[File > New] to create a new shopping Cart\r\nor\r\n[File > Open] to open a saved shopping Cart");

// Toolbar captions carry line breaks in the program's texts.
QString ToolbarCaption(const QString& caption) {
    return QString(caption)
        .replace(QStringLiteral(" \r\n"), QStringLiteral("\n"))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// A second face of a command (toolbar button, popup entry) with a caption of its own: it runs the
// command and is enabled with it.
void FollowAction(QAction* face, QAction* command) {
    face->setEnabled(command->isEnabled());
    QObject::connect(face, &QAction::triggered, command, &QAction::trigger);
    QObject::connect(command, &QAction::enabledChanged, face, &QAction::setEnabled);
}

} // namespace

TMainConsole::TMainConsole(TDataModuleShopCart& dataModule, QWidget* parent)
    : QMainWindow(parent), dataModule_(dataModule) {
    setWindowTitle(ProgramCaption());
    // The toolbar is part of the window, not something the user hides from a context menu.
    setContextMenuPolicy(Qt::NoContextMenu);
    ShowModalDialog = [](QDialog& dialog) { return dialog.exec(); };

    tree_ = new TShopTree;
    treePanel_ = BuildTreePanel();
    auto* frameArea = new QWidget;
    auto* frameLayout = new QVBoxLayout(frameArea);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    startText_ =
        new QLabel(QString(kStartText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), frameArea);
    startText_->setAlignment(Qt::AlignCenter);
    frameLayout->addWidget(startText_);
    frames_ = new TFrameHost(*this, frameArea);
    frameLayout->addWidget(frames_);
    RegisterFrameMakers(*frames_);

    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->addWidget(treePanel_);
    splitter_->addWidget(frameArea);
    splitter_->setStretchFactor(1, 1);
    splitter_->setChildrenCollapsible(false);
    setCentralWidget(splitter_);
    treePanel_->hide();

    unsavedWorkTimer_ = new QTimer(this);
    unsavedWorkTimer_->setObjectName(QStringLiteral("UnsavedWorkTimer"));
    unsavedWorkTimer_->setSingleShot(true);
    unsavedWorkTimer_->setInterval(kUnsavedWorkDelayMs);
    // Silent: a failed write keeps the previous files and must not interrupt the user's editing.
    connect(unsavedWorkTimer_, &QTimer::timeout, this, [this] {
        if (shop_ && shop_->Modified())
            shop_->StoreUnsavedWork();
    });

    BuildActions();
    BuildMenus();
    BuildToolBar();
    SetProjectCommandsEnabled(false);
    UpdateNodeButtons();

    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this] { RunReportingErrors([this] { TreeShopChange(); }); });
    connect(tree_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* node) {
        RunReportingErrors([this, node] { TreeShopEdited(node, node->text(0)); });
    });
    connect(tree_, &TShopTree::NodeDropped, this, [this](QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
        RunReportingErrors([this, dragged, target] { TreeShopDragDrop(dragged, target); });
    });
    connect(tree_, &QWidget::customContextMenuRequested, this, &TMainConsole::PopupMenuTreePopup);

    // A screen smaller than the usual minimum gets a window that fits it; the frames scroll.
    QSize minimum(1000, 700);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        minimum = minimum.boundedTo(screen->availableGeometry().size());
    setMinimumSize(minimum);
    resize(minimum);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TMainConsole::~TMainConsole() {
    // No selection change reaches a window being taken down, and the frames, which point into the
    // shop, go before it.
    tree_->disconnect(this);
    if (shop_)
        frames_->DestroyAll(*shop_);
    delete frames_;
}

TBaseFrame* TMainConsole::CurrentFrame() const {
    return frames_->Current();
}

TProgramData& TMainConsole::ProgramData() const {
    return dataModule_.ProgramData();
}

QAction* TMainConsole::Action(const QString& name) const {
    return findChild<QAction*>(name);
}

bool TMainConsole::TreePanelVisible() const {
    return !treePanel_->isHidden();
}

void TMainConsole::BuildActions() {
    const auto make = [this](const QString& name, const QString& text, std::function<void()> handler,
                             bool projectOnly) {
        auto* action = new QAction(text, this);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [handler] { RunReportingErrors(handler); });
        if (projectOnly)
            projectActions_.append(action);
        return action;
    };
    make(
        "New", "New", [this] { MenuItemNewClick(); }, false)
        ->setShortcut(QKeySequence::New);
    make(
        "Open", "Open", [this] { OpenProjectWithDialog(); }, false)
        ->setShortcut(QKeySequence::Open);
    make(
        "Save", "Save", [this] { SaveProjectFile(false); }, true)
        ->setShortcut(QKeySequence::Save);
    make(
        "SaveAs", "Save as...", [this] { SaveProjectFile(true); }, true);
    make(
        "Close", "Close", [this] { CloseProject(); }, true)
        ->setVisible(false);
    make(
        "Publish", "Publish", [this] { BtnPublishedClick(false); }, true);
    make(
        "PublishToFTP", "Publish To FTP", [this] { BtnPublishedClick(true); }, true);
    make(
        "UpdateCart", "Update Cart In Project", [this] { miUpdateCartClick(); }, true);
    make(
        "Exit", "Exit", [this] { close(); }, false)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+W")));
    make(
        "AddCategory", "Category", [this] { Category1Click(); }, true);
    addProductActions_ = {
        make(
            "AddGeneral", "Add general product", [this] { AddProduct(citImage); }, false),
        make(
            "AddMusic", "Add music product", [this] { AddProduct(citAudio); }, false),
        make(
            "AddVideo", "Add video product", [this] { AddProduct(citVideo); }, false),
    };
    make(
        "Delete", "Delete", [this] { BtnRemoveClick(); }, false)
        ->setShortcut(QKeySequence::Delete);
    make(
        "MoveUp", "Move up", [this] { MoveItemClick(true); }, false);
    make(
        "MoveDown", "Move down", [this] { MoveItemClick(false); }, false);
    make(
        "Rename", "Rename",
        [this] {
            if (tree_->currentItem())
                tree_->editItem(tree_->currentItem());
        },
        true)
        ->setShortcut(QKeySequence(Qt::Key_F2));
    make(
        "Preview", "Preview in browser", [this] { Previewinbrowser1Click(); }, true);
    make(
        "ExpandAll", "Expand all", [this] { tree_->ExpandAll(true); }, true);
    make(
        "CollapseAll", "Collapse all", [this] { tree_->ExpandAll(false); }, true);
    make(
        "ShopSetting", "Shop setting", [this] { BtnShopSetingsClick(); }, true);
    make(
        "ChangeTemplate", "Change Template", [this] { BtnChangetemplateClick(); }, true);
    make(
        "FTPSettings", "FTP Settings", [this] { FTPSettings1Click(); }, false);
    make(
        "VendorPage", QString(kVendorAddress).remove(QStringLiteral("https://")).remove(QLatin1Char('/')),
        [] { DialogService().OpenWithShell(kVendorAddress); }, false);
    make(
        "About", "About..",
        [this] {
            QMessageBox about(QMessageBox::NoIcon, QStringLiteral("About.."), ProgramCaption(),
                              QMessageBox::Ok, this);
            about.setIconPixmap(ProgramIconPixmap(64));
            about.setInformativeText(QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion())));
            about.exec();
        },
        false);
    const auto popupEntry = [this](const QString& text, QAction* twin) {
        FollowAction(addMenu_->addAction(text), twin);
    };
    popupEntry(QStringLiteral("Add a new category"), Action("AddCategory"));
    popupEntry(QStringLiteral("Add a new general product"), Action("AddGeneral"));
    popupEntry(QStringLiteral("Add a new music product"), Action("AddMusic"));
    popupEntry(QStringLiteral("Add a new video product"), Action("AddVideo"));
    // Shortcuts work within the tree only, so typing elsewhere never deletes a node.
    for (const char* name : {"Delete", "Rename"}) {
        Action(name)->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        tree_->addAction(Action(name));
    }
}

void TMainConsole::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(Action("New"));
    file->addAction(Action("Open"));
    recentMenu_ = file->addMenu(QStringLiteral("Open recent project..."));
    file->addAction(Action("Save"));
    file->addAction(Action("SaveAs"));
    file->addAction(Action("Close"));
    file->addSeparator();
    file->addAction(Action("Publish"));
    file->addAction(Action("PublishToFTP"));
    file->addAction(Action("UpdateCart"));
    file->addSeparator();
    file->addAction(Action("Exit"));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    QMenu* add = edit->addMenu(QStringLiteral("Add... "));
    add->addAction(Action("AddCategory"));
    add->addActions(addProductActions_);
    edit->addAction(Action("Delete"));
    edit->addAction(Action("MoveUp"));
    edit->addAction(Action("MoveDown"));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addAction(Action("Preview"));
    view->addAction(Action("ExpandAll"));
    view->addAction(Action("CollapseAll"));

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->addAction(Action("FTPSettings"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(Action("VendorPage"));
    help->addSeparator();
    help->addAction(Action("About"));
}

void TMainConsole::BuildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Commands"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    constexpr int kIconSide = 24;
    bar->setIconSize(QSize(kIconSide, kIconSide));
    const auto button = [this, bar](const char* name, const QString& caption, QStyle::StandardPixmap icon) {
        QAction* twin = Action(QString::fromLatin1(name));
        QString text = ToolbarCaption(caption);
        // Every caption takes two lines, so that pictures and first lines stand level.
        if (!text.contains(QLatin1Char('\n')))
            text += QLatin1Char('\n');
        auto* action = bar->addAction(ToolbarIcon(style()->standardIcon(icon), kIconSide), text);
        FollowAction(action, twin);
        // Room for the two-line captions.
        bar->widgetForAction(action)->setMinimumSize(64, 62);
    };
    button("New", "New", QStyle::SP_FileIcon);
    button("Open", "Open", QStyle::SP_DialogOpenButton);
    button("Save", "Save", QStyle::SP_DialogSaveButton);
    bar->addSeparator();
    button("AddCategory", "Add \r\nCategory", QStyle::SP_FileDialogNewFolder);
    button("AddGeneral", "General \r\nProduct", QStyle::SP_FileIcon);
    button("AddMusic", "Music\r\nProduct", QStyle::SP_MediaVolume);
    button("AddVideo", "Video\r\nProduct", QStyle::SP_MediaPlay);
    button("Delete", "Delete", QStyle::SP_TrashIcon);
    bar->addSeparator();
    button("Preview", "Preview", QStyle::SP_ComputerIcon);
    button("ShopSetting", "Shop \r\nSetting", QStyle::SP_FileDialogDetailedView);
    button("ChangeTemplate", "Change \r\nTemplate", QStyle::SP_BrowserReload);
    bar->addSeparator();
    button("Publish", "Publish", QStyle::SP_DirLinkIcon);
    button("PublishToFTP", "Publish \r\nTo FTP", QStyle::SP_DriveNetIcon);
}

QWidget* TMainConsole::BuildTreePanel() {
    auto* panel = new QWidget;
    panel->setMinimumWidth(218);
    const auto toolButton = [panel](QStyle::StandardPixmap icon, const QString& hint, const QString& spoken) {
        auto* button = new QToolButton(panel);
        button->setIcon(panel->style()->standardIcon(icon));
        button->setToolTip(hint);
        button->setAutoRaise(true);
        button->setAccessibleName(spoken);
        return button;
    };
    btnAdd_ = toolButton(QStyle::SP_FileDialogNewFolder, QStringLiteral("Add Items / Cagegories"),
                         QStringLiteral("Add"));
    btnDelete_ = toolButton(QStyle::SP_TrashIcon, QStringLiteral("Delete Items / Categories"),
                            QStringLiteral("Delete"));
    btnUp_ = toolButton(QStyle::SP_ArrowUp, QStringLiteral("Move up selected product / category"),
                        QStringLiteral("Move up"));
    btnDown_ = toolButton(QStyle::SP_ArrowDown, QStringLiteral("Move down selected product / category"),
                          QStringLiteral("Move down"));
    NameControl(tree_, "TreeShop", QStringLiteral("Shop"));

    addMenu_ = new QMenu(panel);
    connect(btnAdd_, &QToolButton::clicked, this,
            [this] { addMenu_->popup(btnAdd_->mapToGlobal(btnAdd_->rect().center())); });
    connect(btnDelete_, &QToolButton::clicked, this,
            [this] { RunReportingErrors([this] { BtnRemoveClick(); }); });
    connect(btnUp_, &QToolButton::clicked, this,
            [this] { RunReportingErrors([this] { MoveItemClick(true); }); });
    connect(btnDown_, &QToolButton::clicked, this,
            [this] { RunReportingErrors([this] { MoveItemClick(false); }); });

    auto* buttons = new QHBoxLayout;
    for (QToolButton* button : {btnAdd_, btnDelete_, btnUp_, btnDown_})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 0, 4);
    layout->addLayout(buttons);
    layout->addWidget(tree_);

    treeMenu_ = new QMenu(this);
    moveToMenu_ = new QMenu(QStringLiteral("Move to"), this);
    return panel;
}

void TMainConsole::SetProjectCommandsEnabled(bool enabled) {
    for (QAction* action : projectActions_)
        action->setEnabled(enabled);
}

void TMainConsole::UpdateNodeButtons() {
    const std::optional<TEntryPosition> selected = tree_->SelectedPosition();
    const TEntryCommands commands = shop_ && selected ? catalogue_->CommandsFor(*selected) : TEntryCommands();
    btnDelete_->setEnabled(commands.remove);
    btnUp_->setEnabled(commands.moveUp);
    btnDown_->setEnabled(commands.moveDown);
    Action("Delete")->setEnabled(commands.remove);
    Action("MoveUp")->setEnabled(commands.moveUp);
    Action("MoveDown")->setEnabled(commands.moveDown);
    for (QAction* action : addProductActions_)
        action->setEnabled(commands.addProduct);
    moveToMenu_->setEnabled(commands.moveTo);
}

void TMainConsole::PostRerunSelection() {
    QMetaObject::invokeMethod(
        this, [this] { RunReportingErrors([this] { TreeShopChange(); }); }, Qt::QueuedConnection);
}

void TMainConsole::PostTreePanelVisible(bool visible) {
    QMetaObject::invokeMethod(
        this,
        [this, visible] {
            treePanel_->setVisible(visible);
            startText_->setVisible(!visible);
        },
        Qt::QueuedConnection);
}

void TMainConsole::closeEvent(QCloseEvent* event) {
    bool mayClose = false;
    RunReportingErrors([this, &mayClose] { mayClose = CloseProject(); });
    if (mayClose)
        event->accept();
    else
        event->ignore();
}
