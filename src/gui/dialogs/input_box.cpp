// Trovecart - input box.
#include "gui/dialogs/input_box.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "common/message_service.h"

TInputBox::TInputBox(QWidget* parent)
    : TParentDialog(parent), titleLabel_(new QLabel(this)), promptLabel_(new QLabel(this)),
      edit_(new QLineEdit(this)) {
    QFont headingFont = titleLabel_->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    headingFont.setBold(true);
    titleLabel_->setFont(headingFont);
    edit_->installEventFilter(this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TInputBox::ConfirmInput);
    connect(buttons, &QDialogButtonBox::rejected, this, &TInputBox::CloseWithCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleLabel_);
    layout->addWidget(promptLabel_);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    edit_->setMinimumWidth(320);
}

void TInputBox::SetTitle(const QString& title) {
    titleLabel_->setText(title);
    // The edit line has no label of its own: it is called by the heading and described by the prompt.
    edit_->setAccessibleName(title);
}
QString TInputBox::Title() const {
    return titleLabel_->text();
}
void TInputBox::SetPrompt(const QString& prompt) {
    promptLabel_->setText(prompt);
    edit_->setAccessibleDescription(prompt);
}

void TInputBox::SetText(const QString& text) {
    text_ = text;
    edit_->setText(text);
    edit_->selectAll();
}

QString TInputBox::Text() const {
    return text_;
}

void TInputBox::SetAllowDigits(bool allow) {
    if (!digitsOnly_)
        allowDigits_ = allow;
}

void TInputBox::SetDigitsOnly(bool only) {
    digitsOnly_ = only;
    if (only)
        allowDigits_ = true;
}

bool TInputBox::AcceptsCharacter(QChar c) const {
    // Backspace and Tab always pass.
    if (c == QChar(8) || c == QChar(9))
        return true;
    const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (digitsOnly_)
        return digit;
    return allowDigits_ || !digit;
}

bool TInputBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Enter in the edit line acts as OK, once: the key goes no further to a default button.
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            ConfirmInput();
            return true;
        }
        const QString typed = key->text();
        if (typed.size() == 1 && typed.at(0).isPrint() && !AcceptsCharacter(typed.at(0)))
            return true;
    }
    return TParentDialog::eventFilter(watched, event);
}

void TInputBox::ConfirmInput() {
    const QString entered = edit_->text();
    if (validator_) {
        const QString refusal = validator_(*this, entered);
        if (!refusal.isEmpty()) {
            MessageService().ShowMessageBox(this, refusal, mkError, Title(),
                                            QStringLiteral("Errors In Input."));
            return;
        }
    }
    text_ = entered;
    CloseWithOk();
}
