// Trovecart - switches the open shop to another template's front end and sizes.
#pragma once

#include "gui/dialogs/parent_dialog.h"

class QPushButton;
class TMainConsole;
class TProgramData;
class TTemplateSelector;

class TTemplateChanger : public TParentDialog {
    Q_OBJECT
public:
    TTemplateChanger(TMainConsole& console, const TProgramData& programData, QWidget* parent = nullptr);

    void OKBtnClick();

    TTemplateSelector* Selector;
    QPushButton* OKBtn;
    QPushButton* PngSpeedButton1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TMainConsole& console_;
    const TProgramData& programData_;
};
