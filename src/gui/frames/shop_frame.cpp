// Trovecart - shop settings frame.
#include "gui/frames/shop_frame.h"

#include <optional>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

#include "gui/dialogs/web_copy_dialogs.h"
#include "gui/frames/currency_table.h"
#include "gui/general_error.h"
#include "gui/widgets/control_names.h"
#include "gui/widgets/preview_view.h"
#include "shop/email_check.h"
#include "shop/shop_document.h"
#include "shop/site_build.h"

namespace {

constexpr int kMaxFooterLength = 100;
constexpr int kMaxSize = 60000;
const QColor kInvalidEmailColour(255, 147, 201);

// Two linked rings: shown while the publish size keeps the template's ratio.
QPixmap ChainPixmap() {
    QPixmap pixmap(16, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 90, 90), 2));
    painter.drawRoundedRect(QRectF(4, 3, 8, 14), 4, 4);
    painter.drawRoundedRect(QRectF(4, 15, 8, 14), 4, 4);
    return pixmap;
}

QSpinBox* NewSizeSpin(QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(1, kMaxSize);
    return spin;
}

} // namespace

TShopFrame::TShopFrame(QWidget* parent) : TBaseFrame(parent), pages_(new QTabWidget(this)) {
    pages_->addTab(BuildPreviewPage(), QStringLiteral("Shop preview "));
    pages_->addTab(BuildSettingsPage(), QStringLiteral("Shop setting"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages_);
    NameControls();
    ConnectHandlers();
}

void TShopFrame::NameControls() {
    NameControl(EditShopName, "EditShopName", QStringLiteral("Shop name"));
    NameControl(BtnRefresh, "BtnRefresh", QStringLiteral("Refresh preview"));
    NameControl(PanelPreview, "PanelPreview", QStringLiteral("Shop preview"));
    NameControl(EditHomepage, "EditHomepage", QStringLiteral("Homepage"));
    NameControl(EditEmail, "EditEmail", QStringLiteral("Email"));
    NameControl(cbCurrency, "cbCurrency", QStringLiteral("Currency"));
    NameControl(SpinWidth, "SpinWidth", QStringLiteral("Width"));
    NameControl(SpinHeight, "SpinHeight", QStringLiteral("Height"));
    NameControl(CheckBoxLockRatio, "CheckBoxLockRatio");
    NameControl(ImageChain, "ImageChain", QStringLiteral("Ratio locked"));
    NameControl(BtnRest, "BtnRest");
    NameControl(rbSameWindow, "rbSameWindow");
    NameControl(rbPopup, "rbPopup");
    NameControl(EditNoimage, "EditNoimage", QStringLiteral("No image"));
    NameControl(EditNovideo, "EditNovideo", QStringLiteral("No video"));
    NameControl(EditNoaudio, "EditNoaudio", QStringLiteral("No audio"));
    // The footer has no label; it is called by its group's title.
    NameControl(MemoFooter, "MemoFooter", QStringLiteral("Basic Info"));
    NameControl(dbPaymentservice, "dbPaymentservice", QStringLiteral("Payment service"));
    NameControl(EditEmailPayment, "EditEmailPayment", QStringLiteral("E-Mail"));
}

TShopFrame::~TShopFrame() = default;

QWidget* TShopFrame::BuildPreviewPage() {
    auto* page = new QWidget;
    EditShopName = new QLineEdit(page);
    BtnRefresh = new QToolButton(page);
    BtnRefresh->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    BtnRefresh->setToolTip(QStringLiteral("Shop preview "));
    PanelPreview = new QWidget(page);
    PanelPreview->setLayout(new QVBoxLayout);
    PanelPreview->layout()->setContentsMargins(0, 0, 0, 0);
    PanelPreview->setAutoFillBackground(true);
    PanelPreview->setBackgroundRole(QPalette::Base);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("Shop name"), page));
    nameRow->addWidget(EditShopName, 1);
    nameRow->addWidget(BtnRefresh);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(nameRow);
    layout->addWidget(PanelPreview, 1);
    return page;
}

QWidget* TShopFrame::BuildSettingsPage() {
    auto* page = new QWidget;

    auto* basic = new QGroupBox(QStringLiteral("Basic Info"), page);
    EditHomepage = new QLineEdit(basic);
    EditEmail = new QLineEdit(basic);
    cbCurrency = new QComboBox(basic);
    for (const TCurrency& currency : Currencies())
        cbCurrency->addItem(QString::fromUtf16(currency.Entry));
    MemoFooter = new QPlainTextEdit(basic);
    MemoFooter->setMaximumHeight(60);
    auto* basicLayout = new QFormLayout(basic);
    basicLayout->addRow(QStringLiteral("Homepage"), EditHomepage);
    basicLayout->addRow(QStringLiteral("Email"), EditEmail);
    basicLayout->addRow(QStringLiteral("Currency"), cbCurrency);
    basicLayout->addRow(MemoFooter);

    auto* size = new QGroupBox(QStringLiteral("Publish size"), page);
    SpinWidth = NewSizeSpin(size);
    SpinHeight = NewSizeSpin(size);
    CheckBoxLockRatio = new QCheckBox(QStringLiteral("Lock Ratio"), size);
    CheckBoxLockRatio->setChecked(true);
    ImageChain = new QLabel(size);
    ImageChain->setPixmap(ChainPixmap());
    BtnRest = new QPushButton(QStringLiteral("Original size"), size);
    rbSameWindow = new QRadioButton(QStringLiteral("Same Window"), size);
    rbPopup = new QRadioButton(QStringLiteral("Popup Window"), size);
    auto* sizes = new QGridLayout;
    sizes->addWidget(new QLabel(QStringLiteral("Width"), size), 0, 0);
    sizes->addWidget(SpinWidth, 0, 1);
    sizes->addWidget(new QLabel(QStringLiteral("Height"), size), 1, 0);
    sizes->addWidget(SpinHeight, 1, 1);
    sizes->addWidget(ImageChain, 0, 2, 2, 1);
    sizes->addWidget(CheckBoxLockRatio, 0, 3);
    sizes->addWidget(BtnRest, 1, 3);
    auto* windows = new QHBoxLayout;
    windows->addWidget(rbSameWindow);
    windows->addWidget(rbPopup);
    auto* sizeLayout = new QFormLayout(size);
    sizeLayout->addRow(sizes);
    sizeLayout->addRow(QStringLiteral("Target Window"), windows);

    auto* texts = new QGroupBox(QStringLiteral("Custom text "), page);
    EditNoimage = new QLineEdit(texts);
    EditNovideo = new QLineEdit(texts);
    EditNoaudio = new QLineEdit(texts);
    auto* textLayout = new QFormLayout(texts);
    textLayout->addRow(QStringLiteral("No image"), EditNoimage);
    textLayout->addRow(QStringLiteral("No video"), EditNovideo);
    textLayout->addRow(QStringLiteral("No audio"), EditNoaudio);

    auto* payment = new QGroupBox(QStringLiteral("Payment Setting"), page);
    dbPaymentservice = new QComboBox(payment);
    dbPaymentservice->addItem(QStringLiteral("Paypal"));
    EditEmailPayment = new QLineEdit(payment);
    auto* paymentLayout = new QFormLayout(payment);
    paymentLayout->addRow(QStringLiteral("Payment service"), dbPaymentservice);
    paymentLayout->addRow(QStringLiteral("E-Mail"), EditEmailPayment);

    auto* grid = new QGridLayout(page);
    grid->addWidget(basic, 0, 0);
    grid->addWidget(size, 0, 1);
    grid->addWidget(texts, 1, 0);
    grid->addWidget(payment, 1, 1);
    grid->setRowStretch(2, 1);
    return page;
}

void TShopFrame::ConnectHandlers() {
    connect(EditShopName, &QLineEdit::textChanged, this, &TShopFrame::EditShopNameChange);
    connect(EditShopName, &QLineEdit::returnPressed, this,
            [this] { RunReportingErrors([this] { RefreshPreview(); }); });
    connect(BtnRefresh, &QToolButton::clicked, this,
            [this] { RunReportingErrors([this] { RefreshPreview(); }); });
    const auto storeText = [this](QLineEdit* edit, void (TShopConfig::*store)(const QString&)) {
        connect(edit, &QLineEdit::textChanged, this,
                [this, store](const QString& text) { TextChange(text, store); });
    };
    storeText(EditHomepage, &TShopConfig::SetHomePage);
    storeText(EditNoimage, &TShopConfig::SetNoImage);
    storeText(EditNovideo, &TShopConfig::SetNoVideo);
    storeText(EditNoaudio, &TShopConfig::SetNoAudio);
    connect(EditEmail, &QLineEdit::textChanged, this,
            [this] { EmailChange(EditEmail, &TShopConfig::SetEmail); });
    connect(EditEmailPayment, &QLineEdit::textChanged, this,
            [this] { EmailChange(EditEmailPayment, &TShopConfig::SetPaymentEmail); });
    connect(cbCurrency, &QComboBox::currentIndexChanged, this, &TShopFrame::cbCurrencyChange);
    connect(SpinWidth, &QSpinBox::valueChanged, this, &TShopFrame::SpinWidthChange);
    connect(SpinHeight, &QSpinBox::valueChanged, this, &TShopFrame::SpinHeightChange);
    connect(BtnRest, &QPushButton::clicked, this, &TShopFrame::BtnRestClick);
    connect(CheckBoxLockRatio, &QCheckBox::toggled, ImageChain, &QLabel::setVisible);
    connect(rbSameWindow, &QRadioButton::toggled, this, [this](bool on) {
        if (on && !Loading()) {
            config_->SetWinMode(1);
            MarkModified();
        }
    });
    connect(rbPopup, &QRadioButton::toggled, this, [this](bool on) {
        if (on && !Loading()) {
            config_->SetWinMode(2);
            MarkModified();
        }
    });
    connect(MemoFooter, &QPlainTextEdit::textChanged, this, &TShopFrame::FooterChange);
    connect(dbPaymentservice, &QComboBox::currentIndexChanged, this, &TShopFrame::PaymentServiceChange);
    connect(pages_, &QTabWidget::currentChanged, this, &TShopFrame::PagesChange);
}

void TShopFrame::LoadFromData() {
    TLoadingScope loading(*this);
    EditShopName->setText(config_->Title());
    EditHomepage->setText(config_->HomePage());
    EditEmail->setText(config_->Email());
    cbCurrency->setCurrentIndex(
        config_->PaymentCurrency().isEmpty() ? 0 : CurrencyIndexOfCode(config_->PaymentCurrency()));
    SpinWidth->setValue(config_->UserWidth());
    SpinHeight->setValue(config_->UserHeight());
    EditNoimage->setText(config_->NoImage());
    EditNovideo->setText(config_->NoVideo());
    EditNoaudio->setText(config_->NoAudio());
    EditEmailPayment->setText(config_->PaymentEmail());
    // An unchanged text raises no change: the colour is set here as well.
    ShowEmailValidity(EditEmail);
    ShowEmailValidity(EditEmailPayment);
    MemoFooter->setPlainText(config_->Footer());
    if (config_->WinMode() == 1)
        rbSameWindow->setChecked(true);
    else
        rbPopup->setChecked(true);
    dbPaymentservice->setCurrentIndex(
        dbPaymentservice->findText(config_->PaymentType(), Qt::MatchFixedString));
    // Showing the settings changes nothing: a project opened and closed again is not asked about.
    RefreshPreview();
}

void TShopFrame::ShowSettingsPage() {
    pages_->setCurrentIndex(1);
}

void TShopFrame::EditShopNameChange(const QString& text) {
    if (Loading())
        return;
    config_->SetTitle(text);
    if (Node())
        Node()->setText(0, Shop()->GetPlainTitle());
    MarkModified();
}

void TShopFrame::TextChange(const QString& text, void (TShopConfig::*store)(const QString&)) {
    if (Loading())
        return;
    (config_->*store)(text);
    MarkModified();
}

void TShopFrame::ShowEmailValidity(QLineEdit* edit) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, IsValidEmail(edit->text()) ? QWidget::palette().color(QPalette::Base)
                                                                : kInvalidEmailColour);
    edit->setPalette(palette);
}

void TShopFrame::EmailChange(QLineEdit* edit, void (TShopConfig::*store)(const QString&)) {
    ShowEmailValidity(edit);
    if (Loading())
        return;
    (config_->*store)(edit->text());
    MarkModified();
}

void TShopFrame::cbCurrencyChange(int index) {
    if (Loading() || index < 0 || index >= static_cast<int>(Currencies().size()))
        return;
    const TCurrency& currency = Currencies()[static_cast<size_t>(index)];
    config_->SetCurrencySymbol(QString::fromUtf16(currency.Symbol));
    config_->SetCurrencyAbbreviation(QString::fromUtf16(currency.Code));
    config_->SetPaymentCurrency(QString::fromUtf16(currency.Code));
    MarkModified();
}

namespace {

// The other side of the locked ratio; a template without a size gives nothing to follow.
std::optional<int> FollowingSize(int value, int numerator, int denominator) {
    if (denominator == 0)
        return std::nullopt;
    return static_cast<int>(static_cast<qint64>(value) * numerator / denominator);
}

} // namespace

void TShopFrame::SpinWidthChange(int value) {
    if (Loading())
        return;
    config_->SetUserWidth(value);
    MarkModified();
    if (!CheckBoxLockRatio->isChecked() || lockUpdate_)
        return;
    lockUpdate_ = true;
    if (const auto height = FollowingSize(config_->UserWidth(), config_->Height(), config_->Width()))
        SpinHeight->setValue(*height);
    lockUpdate_ = false;
}

void TShopFrame::SpinHeightChange(int value) {
    if (Loading())
        return;
    config_->SetUserHeight(value);
    MarkModified();
    if (!CheckBoxLockRatio->isChecked() || lockUpdate_)
        return;
    lockUpdate_ = true;
    if (const auto width = FollowingSize(config_->UserHeight(), config_->Width(), config_->Height()))
        SpinWidth->setValue(*width);
    lockUpdate_ = false;
}

void TShopFrame::BtnRestClick() {
    SpinWidth->setValue(config_->Width());
    SpinHeight->setValue(config_->Height());
}

void TShopFrame::FooterChange() {
    const QString text = MemoFooter->toPlainText();
    if (text.size() > kMaxFooterLength) {
        MemoFooter->setPlainText(text.left(kMaxFooterLength));
        MemoFooter->moveCursor(QTextCursor::End);
        return;
    }
    if (Loading())
        return;
    config_->SetFooter(text);
    MarkModified();
}

void TShopFrame::PaymentServiceChange(int index) {
    if (Loading())
        return;
    if (dbPaymentservice->itemText(index) == QLatin1String("Paypal"))
        config_->SetPaymentType(QStringLiteral("paypal"));
    MarkModified();
}

void TShopFrame::PagesChange(int index) {
    if (index == 0 && !Loading())
        RunReportingErrors([this] { RefreshPreview(); });
}

void TShopFrame::RefreshPreview() {
    delete browser_;
    browser_ = nullptr;
    PrepareSite(*Shop(), TSiteUse::EditorPreview, QString(), DialogWebCopyMaker(window()));
    ReplaceBrowser();
}

void TShopFrame::ReplaceBrowser() {
    browser_ = CreatePreviewView(PanelPreview, QUrl::fromLocalFile(Shop()->Workspace().StartPage()));
    if (browser_)
        PanelPreview->layout()->addWidget(browser_);
}
