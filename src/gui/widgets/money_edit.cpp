// Trovecart - money edit field.
#include "gui/widgets/money_edit.h"

#include <QLocale>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace {

// Digits with at most one point among them.
const QRegularExpression& MoneyPattern() {
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]*\\.?[0-9]*")));
    return pattern;
}

} // namespace

TMoneyEdit::TMoneyEdit(QWidget* parent) : QLineEdit(QStringLiteral("0"), parent) {
    setValidator(new QRegularExpressionValidator(MoneyPattern(), this));
}

void TMoneyEdit::ShowAmount(double amount) {
    setText(QLocale::c().toString(amount, 'f', QLocale::FloatingPointShortest));
}

std::optional<double> TMoneyEdit::ReadAmount(const QString& text) {
    if (!MoneyPattern().match(text).hasMatch() || text == QLatin1String(".") || text.isEmpty())
        return std::nullopt;
    // "5." and ".5" are what a user types on the way to a number; both read as one.
    QString plain = text;
    if (plain.startsWith(QLatin1Char('.')))
        plain.prepend(QLatin1Char('0'));
    if (plain.endsWith(QLatin1Char('.')))
        plain.append(QLatin1Char('0'));
    bool ok = false;
    const double amount = QLocale::c().toDouble(plain, &ok);
    if (!ok)
        return std::nullopt;
    return amount;
}
