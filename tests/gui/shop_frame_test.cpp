// Trovecart tests - the shop settings frame edits the configuration with its rules.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "editor_fixture.h"
#include "gui/frames/shop_frame.h"

namespace {

class ShopFrameTest : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        NewProject();
        frame = dynamic_cast<TShopFrame*>(console->CurrentFrame());
        ASSERT_NE(frame, nullptr);
    }
    TShopConfig& Config() { return console->Shop()->ShopConfig(); }
    TShopFrame* frame = nullptr;
};

TEST_F(ShopFrameTest, LockedRatioFollowsTheTemplateSize) {
    EXPECT_TRUE(frame->CheckBoxLockRatio->isChecked());
    frame->SpinWidth->setValue(275);
    EXPECT_EQ(Config().UserWidth(), 275);
    EXPECT_EQ(frame->SpinHeight->value(), 200);
    EXPECT_EQ(Config().UserHeight(), 200);
    frame->SpinHeight->setValue(100);
    EXPECT_EQ(Config().UserWidth(), 137) << "100 * 550 / 400, truncated";

    frame->CheckBoxLockRatio->setChecked(false);
    EXPECT_TRUE(frame->ImageChain->isHidden());
    frame->SpinWidth->setValue(500);
    EXPECT_EQ(Config().UserHeight(), 100);

    frame->BtnRest->click();
    EXPECT_EQ(Config().UserWidth(), 550);
    EXPECT_EQ(Config().UserHeight(), 400);

    // A template without a size has no ratio to keep.
    Config().SetWidth(0);
    frame->CheckBoxLockRatio->setChecked(true);
    frame->SpinWidth->setValue(300);
    EXPECT_EQ(Config().UserHeight(), 400);
}

TEST_F(ShopFrameTest, FieldsStoreWithTheirRules) {
    frame->MemoFooter->setPlainText(QString(150, QLatin1Char('x')));
    EXPECT_EQ(Config().Footer().size(), 100);
    EXPECT_EQ(frame->MemoFooter->toPlainText().size(), 100);

    frame->cbCurrency->setCurrentIndex(2);
    EXPECT_EQ(Config().CurrencySymbol(), "£");
    EXPECT_EQ(Config().CurrencyAbbreviation(), "GBP");
    EXPECT_EQ(Config().PaymentCurrency(), "GBP");

    frame->EditEmail->setText("not an address");
    EXPECT_EQ(Config().Email(), "not an address") << "stored all the same";
    EXPECT_EQ(frame->EditEmail->palette().color(QPalette::Base), QColor(255, 147, 201));
    frame->EditEmail->setText("owner@example.com");
    EXPECT_NE(frame->EditEmail->palette().color(QPalette::Base), QColor(255, 147, 201));

    frame->EditShopName->setText("<font size=\"3\">Green</font>");
    EXPECT_EQ(console->TreeShop()->Root()->text(0), "Green");
    frame->EditHomepage->setText("http://shop.example/");
    EXPECT_EQ(Config().HomePage(), "http://shop.example/");
}

TEST_F(ShopFrameTest, CurrencyIsFoundByCode) {
    Config().SetPaymentCurrency("eur");
    frame->LoadFromData();
    EXPECT_EQ(frame->cbCurrency->currentText(), "Euro, EUR€");

    Config().SetPaymentCurrency("XYZ");
    Config().SetCurrencySymbol("X");
    frame->LoadFromData();
    EXPECT_EQ(frame->cbCurrency->currentIndex(), -1);
    EXPECT_EQ(Config().CurrencySymbol(), "X");
    EXPECT_EQ(Config().PaymentCurrency(), "XYZ");
}

TEST_F(ShopFrameTest, WindowModeDecidesThePages) {
    const QString site = console->Shop()->SiteFolder();
    frame->rbPopup->setChecked(true);
    EXPECT_EQ(Config().WinMode(), 2);
    frame->RefreshPreview();
    EXPECT_TRUE(QFile::exists(site + "index.html"));
    EXPECT_TRUE(QFile::exists(site + "shoppingcart.html"));

    frame->rbSameWindow->setChecked(true);
    frame->RefreshPreview();
    EXPECT_TRUE(QFile::exists(site + "index.html"));
    EXPECT_FALSE(QFile::exists(site + "shoppingcart.html"));
    EXPECT_TRUE(QFile::exists(console->Shop()->WorkFolder() + "shop.xml"));
}

} // namespace
