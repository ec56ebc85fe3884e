// Trovecart - the start-up and new-project wizard: a new shop from a template, or an existing
// or recent project.
#pragma once

#include <functional>

#include "gui/dialogs/parent_dialog.h"

class QMenu;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class TMainConsole;
class TProgramData;
class TTemplateSelector;

class TShopingCartWizard : public TParentDialog {
    Q_OBJECT
public:
    static constexpr int kCancelResult = 5;

    TShopingCartWizard(TMainConsole& console, TProgramData& programData, QWidget* parent = nullptr);

    void ShowWelcomePage();
    void ShowTemplatePage();
    bool OnTemplatePage() const;
    // Refills the recent list and the template list; runs each time the wizard is shown.
    void Refresh();

    // Commands of the pages and the button bar.
    void OpenRecentClick();
    void BtnOpenClick();
    void DeleteRecentClick();
    void BtnFinishClick();

    // Ends the program; tests replace it.
    std::function<void()> ExitProgram;

    QTreeWidget* ListRecent;
    TTemplateSelector* Selector;
    QPushButton* BtnNew;
    QPushButton* BtnOpen;
    QPushButton* btnCancel;
    QPushButton* btnExit;
    QPushButton* BtnOpenResent;
    QPushButton* BtnDeleteRecent;
    QPushButton* BtnBack;
    QPushButton* BtnFinish;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildWelcomePage();
    void UpdateRecentButtons();

    TMainConsole& console_;
    TProgramData& programData_;
    QStackedWidget* pages_;
    QMenu* recentMenu_;
    QAction* openRecentItem_;
    QAction* deleteRecentItem_;
};
