// Trovecart tests - a program folder with one template, the shop data module and a main window,
// all driven headless through scripted services.
#pragma once

#include <memory>

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include "gui/main_console.h"
#include "gui/shop_tree.h"
#include "gui_application.h"
#include "shop/program_data.h"
#include "shop/shop_data_module.h"
#include "shop/shop_document.h"
#include "support/scripted_dialog_service.h"
#include "support/scripted_message_service.h"
#include "support/test_helpers.h"

class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A template folder below the program folder's Files/Template/.
    QString TemplatePath(const QString& name = QStringLiteral("Classic")) const;
    void NewProject();
    // Lets posted notifications run.
    static void Settle() { QCoreApplication::processEvents(); }
    QTreeWidgetItem* CategoryNode(int index) const;
    QTreeWidgetItem* ProductNode(int category, int product) const;
    TCartItem* Product(int category, int product) const;
    // Selects the node and returns its frame as a TFrame, or null when it is of another class.
    template <class TFrame> TFrame* ShowFrame(QTreeWidgetItem* node) {
        console->TreeShop()->setCurrentItem(node);
        return dynamic_cast<TFrame*>(console->CurrentFrame());
    }
    // Presses the keys of the text one by one in the control; '\b' stands for Backspace.
    static void TypeKeys(QWidget* control, const QString& keys);
    QStringList ProductNames(int category) const;
    QStringList CategoryNames() const;
    QStringList RecentPaths() const;

    TScriptedMessageService messages;
    TScriptedDialogService dialogs;
    TTempFolder programFolder;
    TTempFolder dataFolder;
    TTempFolder settingsFolder;
    TTempFolder projects;
    std::unique_ptr<TDataModuleShopCart> shopData;
    std::unique_ptr<TMainConsole> console;
};
