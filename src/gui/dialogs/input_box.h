// Trovecart - asks for one line of text, with digit rules and an optional validator.
#pragma once

#include <functional>

#include "gui/dialogs/parent_dialog.h"

class QLabel;
class QLineEdit;

class TInputBox : public TParentDialog {
    Q_OBJECT
public:
    // Returns an empty text to accept, or the message that explains the refusal.
    using TValidator = std::function<QString(TInputBox& box, const QString& text)>;

    explicit TInputBox(QWidget* parent = nullptr);

    void SetTitle(const QString& title);
    QString Title() const;
    void SetPrompt(const QString& prompt);
    void SetText(const QString& text);
    // After OK, the entered text.
    QString Text() const;
    // Digits may be typed (default true); cannot be cleared while DigitsOnly is set.
    void SetAllowDigits(bool allow);
    bool AllowDigits() const { return allowDigits_; }
    // Only digits may be typed; forces AllowDigits.
    void SetDigitsOnly(bool only);
    bool DigitsOnly() const { return digitsOnly_; }
    void SetValidator(TValidator validator) { validator_ = std::move(validator); }

    // Whether the edit line accepts this typed character.
    bool AcceptsCharacter(QChar c) const;
    // Runs the validator; OK closes the dialog only when it accepts.
    void ConfirmInput();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* titleLabel_;
    QLabel* promptLabel_;
    QLineEdit* edit_;
    QString text_;
    bool allowDigits_ = true;
    bool digitsOnly_ = false;
    TValidator validator_;
};
