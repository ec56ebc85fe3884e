// Trovecart - the main window: owner of the open shop, its commands and the frame host.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QMainWindow>

#include "gui/frames/frame_commands.h"
#include "shop/cart_item.h"
#include "shop/entry_position.h"

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QSplitter;
class QToolButton;
class QTimer;
class QTreeWidgetItem;
class TBaseFrame;
class TCatalogueEditor;
class TDataModuleShopCart;
class TFrameHost;
class TProgramData;
class TShop;
class TShopFrame;
class TShopTree;
struct TAbandonedWorkspace;

class TMainConsole : public QMainWindow, public TFrameCommands {
    Q_OBJECT
public:
    // The settings object belongs to the shop data module, which outlives the window.
    explicit TMainConsole(TDataModuleShopCart& dataModule, QWidget* parent = nullptr);
    ~TMainConsole() override;

    TShop* Shop() const { return shop_.get(); }
    TShopTree* TreeShop() const { return tree_; }
    TFrameHost* Frames() const { return frames_; }
    TBaseFrame* CurrentFrame() const;
    TProgramData& ProgramData() const;

    // Document lifecycle; each returns whether it reached its goal.
    bool OpenProjectFile(const QString& path);
    bool OpenProjectWithDialog();
    bool NewProjectFromTemplate(const QString& templatePath);
    bool ChangeTemplate(const QString& templatePath, const QString& templateId);
    bool SaveProjectFile(bool saveAs);
    // Asks about each workspace an earlier run left with unsaved changes whether to recover or
    // discard it; returns whether one was recovered and is now the open project.
    bool OfferRecovery();
    // Whether the program may close.
    bool CloseProject();
    bool ValidateAll();
    void SelectShopNode();
    void RecordRecent();
    void UpdateRecentMenu();
    void AttachNewShop();
    void ReleaseShop();

    // Tree commands.
    void UpdateNodeButtons();
    void TreeShopChange();
    void Category1Click();
    void AddProduct(TCartItemType type);
    void BtnRemoveClick() override;
    void MoveItemClick(bool up);
    void MoveItemToCategory(int categoryIndex, bool atStart);
    void MoveToClick(int categoryIndex) override;
    void PostRerunSelection() override;
    void SelectEntry(TEntryPosition position) override;
    const TCatalogueEditor& Catalogue() const override;
    int ShowModal(QDialog& dialog) override { return ShowModalDialog(dialog); }
    void TreeShopEdited(QTreeWidgetItem* node, const QString& text);
    void TreeShopDragDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target);
    void PopupMenuTreePopup(const QPoint& position);

    // Other commands.
    void Previewinbrowser1Click();
    void miUpdateCartClick();
    void BtnChangetemplateClick();
    void BtnShopSetingsClick();
    void MenuItemNewClick();
    void BtnPublishedClick(bool toFtp);
    void FTPSettings1Click();

    // Shows a modal dialog and returns its result; tests replace it to drive dialogs headless.
    std::function<int(QDialog&)> ShowModalDialog;

    // Commands by name, for the menus, the toolbar and tests.
    QAction* Action(const QString& name) const;
    QMenu* RecentMenu() const { return recentMenu_; }
    bool TreePanelVisible() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    QWidget* BuildTreePanel();
    void SetProjectCommandsEnabled(bool enabled);
    bool AskToSave();
    bool OpenChosenProject(const QString& path, bool recordRecent);
    bool RecoverWorkspace(const TAbandonedWorkspace& abandoned);
    // Replaces the open shop by a new one that `fill` gives its content, and shows it; a shop
    // that could not be filled goes again. Returns whether it is shown.
    bool ShowNewShop(const std::function<void()>& fill);
    // Where the open and save dialogs start: beside the open project, else beside the newest
    // recent one whose folder still exists; empty when there is none.
    QString ProjectDialogFolder() const;
    // The position of the selected category or product; none for the root or no selection.
    std::optional<TEntryPosition> SelectedEntry() const;
    // Shows a change of the catalogue in the tree and selects the node at the position; the
    // frame choice runs again even when the selected node stays the same.
    void ShowCatalogueChange(TEntryPosition selected);
    void PostTreePanelVisible(bool visible);
    // The publish target of each kind, asked from the user; false when the command is to stop.
    bool ChooseFtpFolder(QString& folder);
    bool ChooseLocalFolder(QString& folder);
    // The settings frame when it is the one shown.
    TShopFrame* ShownShopFrame() const;

    TDataModuleShopCart& dataModule_;
    std::unique_ptr<TShop> shop_;
    std::unique_ptr<TCatalogueEditor> catalogue_;

    QSplitter* splitter_;
    QWidget* treePanel_;
    TShopTree* tree_;
    TFrameHost* frames_;
    QLabel* startText_;
    QMenu* recentMenu_;
    QMenu* moveToMenu_;
    QMenu* treeMenu_;
    QMenu* addMenu_;
    QToolButton* btnAdd_;
    QToolButton* btnDelete_;
    QToolButton* btnUp_;
    QToolButton* btnDown_;
    QList<QAction*> projectActions_;
    QList<QAction*> addProductActions_;
    // Restarted by each change; when it fires, the workspace takes the unsaved changes.
    QTimer* unsavedWorkTimer_;
};
