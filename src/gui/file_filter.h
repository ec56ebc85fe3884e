// Trovecart - file dialog filters written as "Description|*.a;*.b|Description|*.c|".
#pragma once

#include <QString>

// The same filters as Qt name filters ("Description (*.a *.A)" joined by ";;"). File systems here
// tell letter cases apart, so each pattern is offered in lower, upper and capitalised case:
// "*.png" also finds "*.PNG" and "*.Png".
QString QtNameFilters(const QString& filter);
