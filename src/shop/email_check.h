// Trovecart - whether a text is an e-mail address (contact and payment addresses).
#pragma once

#include <QString>

// A local part of atoms or quoted strings joined by dots, an at sign, and a domain of at least
// two labels that start with a letter and hold letters, digits and inner hyphens.
bool IsValidEmail(const QString& text);
