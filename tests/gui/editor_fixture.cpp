// Trovecart tests - editor fixture.
#include "editor_fixture.h"

#include <QApplication>
#include <QKeyEvent>

namespace {

const QByteArray kTemplateShop = R"(<?xml version="1.0" encoding="UTF-8"?>
<shop id="Classic">
     <config>
          <title><![CDATA[<font size="14">Corner Records</font>]]></title>
          <dimension width="550" height="400" />
          <userdimension width="550" height="400" />
          <paymentgateway type="paypal"><email>pay@example.com</email>
               <currency>EUR</currency></paymentgateway>
     </config>
     <product>
          <category id="1" name="First">
               <item id="1" type="general"><name><![CDATA[A]]></name></item>
               <item id="2" type="music"><name><![CDATA[B]]></name></item>
          </category>
          <category id="2" name="Second">
               <item id="3" type="video"><name><![CDATA[C]]></name></item>
               <item id="4" type="general"><name><![CDATA[D]]></name></item>
          </category>
          <category id="3" name="Empty" />
     </product>
</shop>
)";

} // namespace

void EditorFixture::SetUp() {
    EnsureApplication();
    for (const QString& name : {QStringLiteral("Classic"), QStringLiteral("Other")}) {
        WriteFile(TemplatePath(name) + "shop.xml",
                  QByteArray(kTemplateShop).replace("Classic", name.toUtf8()));
        WriteFile(TemplatePath(name) + "index.swf", "FWS front end of " + name.toUtf8());
    }
    WriteFile(programFolder.File("Files/Template/theme.xml"),
              "<themes><themelist><t id='1'>All</t></themelist><theme id='1'><c id='Classic'/><c "
              "id='Other'/></theme></themes>");
    shopData = std::make_unique<TDataModuleShopCart>(
        true, std::make_unique<TProgramData>(programFolder.Path(), dataFolder.Path(), settingsFolder.Path()));
    shopData->DataModuleCreate();
    console = std::make_unique<TMainConsole>(*shopData);
}

void EditorFixture::TearDown() {
    console.reset();
    shopData.reset();
}

QString EditorFixture::TemplatePath(const QString& name) const {
    return programFolder.File("Files/Template/" + name + "/");
}

void EditorFixture::NewProject() {
    ASSERT_TRUE(console->NewProjectFromTemplate(TemplatePath()));
    Settle();
}

QTreeWidgetItem* EditorFixture::CategoryNode(int index) const {
    return console->TreeShop()->Root()->child(index);
}

QTreeWidgetItem* EditorFixture::ProductNode(int category, int product) const {
    return CategoryNode(category)->child(product);
}

TCartItem* EditorFixture::Product(int category, int product) const {
    return console->Shop()->Categories().Items(category)->Items().Items(product);
}

void EditorFixture::TypeKeys(QWidget* control, const QString& keys) {
    for (const QChar key : keys) {
        const bool backspace = key == QLatin1Char('\b');
        QKeyEvent press(QEvent::KeyPress, backspace ? Qt::Key_Backspace : 0, Qt::NoModifier,
                        backspace ? QString() : QString(key));
        QApplication::sendEvent(control, &press);
    }
}

QStringList EditorFixture::ProductNames(int category) const {
    QStringList names;
    const TCartItems& items = console->Shop()->Categories().Items(category)->Items();
    for (int i = 0; i < items.Count(); ++i)
        names << items.Items(i)->Name();
    // The tree mirrors the model.
    QStringList nodes;
    for (int i = 0; i < CategoryNode(category)->childCount(); ++i)
        nodes << CategoryNode(category)->child(i)->text(0);
    EXPECT_EQ(names, nodes);
    return names;
}

QStringList EditorFixture::CategoryNames() const {
    QStringList names;
    for (int i = 0; i < console->Shop()->Categories().Count(); ++i)
        names << console->Shop()->Categories().Items(i)->Name();
    return names;
}

QStringList EditorFixture::RecentPaths() const {
    QStringList paths;
    const TResentItems& recent = console->ProgramData().Recent();
    for (int i = 0; i < recent.Count(); ++i)
        paths << recent.Items(i).Src();
    return paths;
}
