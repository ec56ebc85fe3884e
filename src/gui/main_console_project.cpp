// Trovecart - main window: opening, creating, saving and closing projects.
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QScopeGuard>
#include <QTimer>

#include "common/app_info.h"
#include "common/dialog_service.h"
#include "common/file_utils.h"
#include "common/message_service.h"
#include "gui/frame_host.h"
#include "gui/general_error.h"
#include "gui/main_console.h"
#include "gui/shop_tree.h"
#include "gui/widgets/menu_text.h"
#include "shop/catalogue_editor.h"
#include "shop/program_data.h"
#include "shop/shop_data_module.h"
#include "shop/shop_document.h"
#include "shop/workspace_record.h"

namespace {

const QString kProjectFilter = QStringLiteral("Shoping Cart File (*.Scp *.scp *.SCP)");
const QString kProjectExtension = QStringLiteral("scp");

QString RecoveryQuestion(const TWorkspaceRecord& record) {
    const QString cart = record.ProjectFile.isEmpty()
                             ? QStringLiteral("A new shopping cart")
                             : QStringLiteral("The shopping cart \"%1\"").arg(record.ProjectFile);
    return QStringLiteral(
               "%1 has changes of %2 that were not saved when the program ended.\r\n"
               "Do you want to recover them? No discards them; Cancel asks again at the next start.")
        .arg(cart, record.Written.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
}

} // namespace

bool TMainConsole::AskToSave() {
    if (!shop_ || !shop_->Modified())
        return true;
    const int answer = MessageService().AskQuestion(
        this, QStringLiteral("Shopping cart has changed. Do you want to save the changed to disk?"), true,
        mkInformation2, QStringLiteral("Save File?"), ProgramCaption());
    if (answer == mrYes)
        return SaveProjectFile(false);
    return answer == mrNo;
}

void TMainConsole::AttachNewShop() {
    shop_ = std::make_unique<TShop>();
    catalogue_ = std::make_unique<TCatalogueEditor>(*shop_);
    catalogue_->OnEntryRemoving = [this](TXMLCollectionItem& entry) { frames_->DestroyFrameOf(entry); };
    shop_->OnChange = [this] { unsavedWorkTimer_->start(); };
    SetProjectCommandsEnabled(true);
    PostTreePanelVisible(true);
}

void TMainConsole::ReleaseShop() {
    if (!shop_)
        return;
    unsavedWorkTimer_->stop();
    // The frames and nodes stand for entries of the shop: they go first.
    frames_->DestroyAll(*shop_);
    tree_->BuildTree(nullptr);
    catalogue_.reset();
    shop_.reset();
    SetProjectCommandsEnabled(false);
    UpdateNodeButtons();
    PostTreePanelVisible(false);
}

bool TMainConsole::OpenProjectFile(const QString& path) {
    if (!AskToSave())
        return false;
    return OpenChosenProject(path, false);
}

bool TMainConsole::OpenProjectWithDialog() {
    if (!AskToSave())
        return false;
    const std::optional<QString> path =
        DialogService().OpenFileName(this, kProjectFilter, kProjectExtension, ProjectDialogFolder());
    if (!path)
        return false;
    return OpenChosenProject(*path, true);
}

bool TMainConsole::ShowNewShop(const std::function<void()>& fill) {
    ReleaseShop();
    AttachNewShop();
    const bool filled = RunReportingErrors([&] {
        fill();
        tree_->BuildTree(shop_.get());
    });
    // Nothing of a project that failed to open stays.
    if (!filled)
        ReleaseShop();
    return filled;
}

bool TMainConsole::OpenChosenProject(const QString& path, bool recordRecent) {
    return ShowNewShop([&] {
        shop_->SetFileName(path);
        shop_->OpenProject(path, ProgramData().TempFolder());
        if (recordRecent)
            RecordRecent();
    });
}

bool TMainConsole::NewProjectFromTemplate(const QString& templatePath) {
    if (!AskToSave())
        return false;
    return ShowNewShop([&] { shop_->NewFromTemplate(templatePath, ProgramData().TempFolder()); });
}

bool TMainConsole::ChangeTemplate(const QString& templatePath, const QString& templateId) {
    // A new template is a change like any other: closing without saving must not drop it unasked.
    return shop_ && RunReportingErrors([&] {
               shop_->ApplyTemplate(templatePath, templateId);
               shop_->SetModified(true);
           });
}

bool TMainConsole::SaveProjectFile(bool saveAs) {
    // An edit still being typed reaches the model first.
    QApplication::processEvents();
    if (!shop_)
        return true;
    if (!ValidateAll())
        return false;
    QString fileName = shop_->FileName();
    if (saveAs || fileName.isEmpty()) {
        const std::optional<QString> chosen = DialogService().SaveFileName(
            this, kProjectFilter, kProjectExtension, fileName.isEmpty() ? ProjectDialogFolder() : fileName);
        if (!chosen)
            return false;
        fileName = *chosen;
    }
    const bool saved = RunReportingErrors([&] {
        // Disabling the window takes the focus away; it goes back where it was.
        const QPointer<QWidget> focused = QApplication::focusWidget();
        setEnabled(false);
        // Enabled again before a failure is shown, so that its message box can be answered.
        const auto enableAgain = qScopeGuard([this, &focused] {
            setEnabled(true);
            if (focused)
                focused->setFocus();
        });
        // Saving writes shop.xml itself; a failed save leaves the workspace current all the same.
        unsavedWorkTimer_->stop();
        shop_->SaveProject(fileName);
    });
    if (!saved)
        return false;
    shop_->SetFileName(fileName);
    RecordRecent();
    return true;
}

bool TMainConsole::OfferRecovery() {
    bool recovered = false;
    for (const TAbandonedWorkspace& abandoned : dataModule_.TakeUnsavedWorkspaces()) {
        const int answer =
            MessageService().AskQuestion(this, RecoveryQuestion(abandoned.Record), true, mkInformation2,
                                         QStringLiteral("Recover File?"), ProgramCaption());
        // Only a plain No discards; Cancel, or a box closed otherwise, leaves the work for the next start.
        if (answer == mrYes)
            recovered = RecoverWorkspace(abandoned) || recovered;
        else if (answer == mrNo)
            DiscardWorkspace(abandoned.SiteFolder);
    }
    return recovered;
}

bool TMainConsole::RecoverWorkspace(const TAbandonedWorkspace& abandoned) {
    // A second recovered project replaces the first only as any opened project would.
    if (!AskToSave())
        return false;
    return ShowNewShop([&] { shop_->RecoverWorkspace(abandoned, ProgramData().TempFolder()); });
}

QString TMainConsole::ProjectDialogFolder() const {
    const auto folderOf = [](const QString& file) {
        return WithTrailingSlash(QFileInfo(file).absolutePath());
    };
    if (shop_ && !shop_->FileName().isEmpty())
        return folderOf(shop_->FileName());
    // The newest project names the folder last used, also in an earlier run.
    const TResentItems& recent = ProgramData().Recent();
    for (int i = 0; i < recent.Count(); ++i) {
        const QString folder = folderOf(recent.Items(i).Src());
        if (FolderExists(folder))
            return folder;
    }
    return QString();
}

bool TMainConsole::CloseProject() {
    if (shop_) {
        SelectShopNode();
        if (!AskToSave())
            return false;
        if (!shop_->FileName().isEmpty())
            RecordRecent();
    }
    ReleaseShop();
    // The program may close all the same; the user learns that the settings were not kept.
    RunReportingErrors([this] { dataModule_.SaveShopConfig(); });
    return true;
}

bool TMainConsole::ValidateAll() {
    return !catalogue_ || catalogue_->CanLeaveEditors();
}

void TMainConsole::SelectShopNode() {
    if (QTreeWidgetItem* root = tree_->Root())
        tree_->setCurrentItem(root);
    if (tree_->isVisible())
        tree_->setFocus();
}

void TMainConsole::RecordRecent() {
    if (!shop_)
        return;
    UpdateRecentList(ProgramData().Recent(), shop_->FileName());
    UpdateRecentMenu();
}

void TMainConsole::UpdateRecentMenu() {
    recentMenu_->clear();
    const TResentItems& recent = ProgramData().Recent();
    for (int i = 0; i < recent.Count(); ++i) {
        // A trailing '/' is ignored by the test.
        const QString source = recent.Items(i).Src();
        if (!FileExistsStrict(source))
            continue;
        QAction* entry = recentMenu_->addAction(MenuText(source));
        entry->setToolTip(source);
        connect(entry, &QAction::triggered, this,
                [this, source] { RunReportingErrors([this, source] { OpenProjectFile(source); }); });
    }
    recentMenu_->setEnabled(!recentMenu_->isEmpty());
}
