// Trovecart - the base of every error the program raises.
#pragma once

#include <exception>
#include <string>

#include <QString>

#include "common/message_service.h"

// An error carries everything its report needs: the window's command runner and the command
// line's runner show it once, and nothing below them shows it too. An error without a heading
// is shown as the program's general error message. what() gives the text in UTF-8 for logs.
class EAppError : public std::exception {
public:
    explicit EAppError(QString text) : EAppError(QString(), mkError, std::move(text)) {}
    // kind is one of TMessageKind and selects the icon.
    EAppError(QString heading, int kind, QString text)
        : heading_(std::move(heading)), kind_(kind), text_(std::move(text)), utf8_(text_.toStdString()) {}

    const QString& Heading() const noexcept { return heading_; }
    int Kind() const noexcept { return kind_; }
    // The text the user reads.
    const QString& Message() const noexcept { return text_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString heading_;
    int kind_;
    QString text_;
    std::string utf8_;
};
