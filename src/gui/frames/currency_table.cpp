// Trovecart - currency table.
#include "gui/frames/currency_table.h"

namespace {

constexpr TCurrency kCurrencies[] = {
    {u"U.S. Dollar, USD$", u"USD", u"$"},
    {u"Euro, EUR€", u"EUR", u"€"},
    {u"Pound sterling, GBP£", u"GBP", u"£"},
    {u"Australian Dollar, AUD$", u"AUD", u"$"},
    {u"Brazilian Real, BRL R$", u"BRL", u"R$"},
    {u"Canadian Dollar, CAD$", u"CAD", u"$"},
    {u"Czech Koruna, CZK Kč", u"CZK", u"Kč"},
    {u"Danish Krone, DKK kr", u"DKK", u"kr"},
    {u"Hong Kong Dollar, HKD$", u"HKD", u"$"},
    {u"Hungarian Forint, HUF Ft", u"HUF", u"Ft"},
    {u"Israeli New Sheqel, ILS₪", u"ILS", u"₪"},
    {u"Japanese Yen, JPY¥", u"JPY", u"¥"},
    {u"Malaysian Ringgit, MYR RM", u"MYR", u"RM"},
    {u"Mexican Peso, MXN$", u"MXN", u"$"},
    {u"Norwegian Krone, NOK kr", u"NOK", u"kr"},
    {u"New Zealand Dollar, NZD$", u"NZD", u"$"},
    {u"Philippine Peso, PHP Php", u"PHP", u"Php"},
    {u"Polish Zloty, PLN zł", u"PLN", u"zł"},
    {u"Singapore Dollar, SGD$", u"SGD", u"$"},
    {u"Swedish Krona ,SEK kr", u"SEK", u"kr"},
    {u"Swiss Franc, CHF CHF", u"CHF", u"CHF"},
    {u"Taiwan New Dollar, TWD NT$", u"TWD", u"NT$"},
    {u"Thai Baht, THB฿", u"THB", u"฿"},
};

} // namespace

std::span<const TCurrency> Currencies() {
    return kCurrencies;
}

int CurrencyIndexOfCode(const QString& code) {
    for (size_t i = 0; i < std::size(kCurrencies); ++i) {
        if (code.compare(QString::fromUtf16(kCurrencies[i].Code), Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}
