// Trovecart - the editing frame of the shop's root node: shop-wide settings and a live preview.
#pragma once

#include "gui/frames/base_frame.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QToolButton;
class TShopConfig;

class TShopFrame : public TBaseFrame {
    Q_OBJECT
public:
    explicit TShopFrame(QWidget* parent = nullptr);
    ~TShopFrame() override;

    void SetData(TShopConfig* config) { config_ = config; }
    void LoadFromData() override;
    // Writes shop.xml and the pages into the workspace and shows the site's index.html anew.
    void RefreshPreview();
    // Brings the "Shop setting" page to the front.
    void ShowSettingsPage();

    // Controls, named as the program has always named them.
    QLineEdit* EditShopName;
    QToolButton* BtnRefresh;
    QWidget* PanelPreview;
    QLineEdit* EditHomepage;
    QLineEdit* EditEmail;
    QComboBox* cbCurrency;
    QSpinBox* SpinWidth;
    QSpinBox* SpinHeight;
    QCheckBox* CheckBoxLockRatio;
    QLabel* ImageChain;
    QPushButton* BtnRest;
    QRadioButton* rbSameWindow;
    QRadioButton* rbPopup;
    QLineEdit* EditNoimage;
    QLineEdit* EditNovideo;
    QLineEdit* EditNoaudio;
    QPlainTextEdit* MemoFooter;
    QComboBox* dbPaymentservice;
    QLineEdit* EditEmailPayment;
    // The browser now showing the preview, owned by PanelPreview; null when none could be made.
    QWidget* PreviewBrowser() const { return browser_; }

private:
    QWidget* BuildPreviewPage();
    QWidget* BuildSettingsPage();
    void NameControls();
    void ConnectHandlers();
    void ReplaceBrowser();

    void EditShopNameChange(const QString& text);
    // Called from the change handlers, never inside them: GCC 12's vptr sanitizer miscompiles a
    // call through a member pointer made in a lambda that captured this.
    void TextChange(const QString& text, void (TShopConfig::*store)(const QString&));
    void ShowEmailValidity(QLineEdit* edit);
    void EmailChange(QLineEdit* edit, void (TShopConfig::*store)(const QString&));
    void cbCurrencyChange(int index);
    void SpinWidthChange(int value);
    void SpinHeightChange(int value);
    void BtnRestClick();
    void FooterChange();
    void PaymentServiceChange(int index);
    void PagesChange(int index);

    TShopConfig* config_ = nullptr;
    QTabWidget* pages_;
    QWidget* browser_ = nullptr;
    // True while a size field follows the other because of the locked ratio.
    bool lockUpdate_ = false;
};
