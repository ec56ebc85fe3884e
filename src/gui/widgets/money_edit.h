// Trovecart - an edit field for an amount of money (price, discount, shipping).
#pragma once

#include <optional>

#include <QLineEdit>

// Only digits and one point can be typed or pasted, and the text is read with the point as the
// decimal separator whatever the locale, so what the field lets in is what is stored.
class TMoneyEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMoneyEdit(QWidget* parent = nullptr);

    // The amount the text stands for, or none when it is not a number of 0 or more.
    std::optional<double> Amount() const { return ReadAmount(text()); }
    // Shows the amount in its shortest plain decimal form ("0", "12.5").
    void ShowAmount(double amount);

    static std::optional<double> ReadAmount(const QString& text);
};
