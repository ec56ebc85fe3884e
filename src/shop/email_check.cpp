// Trovecart - e-mail address check.
#include "shop/email_check.h"

#include <cstring>

namespace {

enum class TState {
    LocalStart,
    Atom,
    Quoted,
    QuoteEscape,
    QuoteEnd,
    LocalDot,
    DomainStart,
    DomainLabel,
    Hyphen
};

bool IsAtomChar(unsigned char c) {
    if (c < 33 || c == 127)
        return false;
    return std::strchr("()<>@,;:\\/\".[]", c) == nullptr;
}

bool IsLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsLetterOrDigit(unsigned char c) {
    return IsLetter(c) || (c >= '0' && c <= '9');
}

} // namespace

bool IsValidEmail(const QString& text) {
    // The check runs on 8-bit characters; characters beyond Latin-1 become '?', which fails
    // everywhere but inside quotes.
    const QByteArray bytes = text.toLatin1();
    TState state = TState::LocalStart;
    int dots = 0;
    for (const char raw : bytes) {
        const auto c = static_cast<unsigned char>(raw);
        switch (state) {
        case TState::LocalStart:
        case TState::LocalDot:
            if (IsAtomChar(c))
                state = TState::Atom;
            else if (c == '"')
                state = TState::Quoted;
            else
                return false;
            break;
        case TState::Atom:
            if (c == '@')
                state = TState::DomainStart;
            else if (c == '.')
                state = TState::LocalDot;
            else if (!IsAtomChar(c))
                return false;
            break;
        case TState::Quoted:
            if (c == '\r')
                return false;
            if (c == '"')
                state = TState::QuoteEnd;
            else if (c == '\\')
                state = TState::QuoteEscape;
            break;
        case TState::QuoteEscape:
            state = TState::Quoted;
            break;
        case TState::QuoteEnd:
            if (c == '@')
                state = TState::DomainStart;
            else if (c == '.')
                state = TState::LocalDot;
            else
                return false;
            break;
        case TState::DomainStart:
            if (!IsLetter(c))
                return false;
            state = TState::DomainLabel;
            break;
        case TState::DomainLabel:
            if (c == '-') {
                state = TState::Hyphen;
            } else if (c == '.') {
                state = TState::DomainStart;
                ++dots;
            } else if (!IsLetterOrDigit(c)) {
                return false;
            }
            break;
        case TState::Hyphen:
            if (IsLetterOrDigit(c))
                state = TState::DomainLabel;
            else if (c != '-')
                return false;
            break;
        }
    }
    return state == TState::DomainLabel && dots > 0;
}
