// Trovecart - the currencies the shop settings offer, in list order.
#pragma once

#include <span>

#include <QString>

struct TCurrency {
    const char16_t* Entry;
    const char16_t* Code;
    const char16_t* Symbol;
};

std::span<const TCurrency> Currencies();
// The position of the currency with that code, letters compared without case; -1 when none.
int CurrencyIndexOfCode(const QString& code);
