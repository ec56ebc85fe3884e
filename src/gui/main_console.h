// Trovecart - the main window: owner of the open shop, its commands and the frame host.
#pragma once

#include <functional>
#include <memory>

#include <QMainWindow>

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QSplitter;
class QToolButton;
class QTreeWidgetItem;
class QVBoxLayout;
class TBaseFrame;
class TDataModuleShopCart;
class TProgramData;
class TShop;
class TShopFrame;
class TShopTree;
class TXMLCollectionItem;

class TMainConsole : public QMainWindow {
    Q_OBJECT
public:
    // The settings object belongs to the shop data module, which outlives the window.
    explicit TMainConsole(TDataModuleShopCart& dataModule, QWidget* parent = nullptr);
    ~TMainConsole() override;

    TShop* Shop() const { return shop_.get(); }
    TShopTree* TreeShop() const { return tree_; }
    TBaseFrame* CurrentFrame() const { return currentFrame_; }
    TProgramData& ProgramData() const;

    // Document lifecycle; each returns whether it reached its goal.
    bool OpenProjectFile(const QString& path);
    bool OpenProjectWithDialog();
    bool NewProjectFromTemplate(const QString& templatePath);
    bool ChangeTemplate(const QString& templatePath, const QString& templateId);
    bool SaveProjectFile(bool saveAs);
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
    // kind: 0 general, 1 music, 2 video.
    void AddProduct(int kind);
    void BtnRemoveClick();
    void MoveItemClick(bool up);
    void MoveItemToCategory(int categoryIndex, bool atStart);
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
    void ShowFrame(TBaseFrame* frame);
    // Forgets the current frame when it is the editor of that entry (about to be deleted).
    void ForgetCurrentFrameOf(const TXMLCollectionItem* object);
    void PostRerunSelection();
    void PostTreePanelVisible(bool visible);
    TShopFrame* ShopFrame();

    TDataModuleShopCart& dataModule_;
    std::unique_ptr<TShop> shop_;
    TBaseFrame* currentFrame_ = nullptr;

    QSplitter* splitter_;
    QWidget* treePanel_;
    TShopTree* tree_;
    QWidget* frameArea_;
    QVBoxLayout* frameLayout_;
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
};
