// Trovecart - the base of every error the program raises.
#pragma once

#include <exception>
#include <string>

#include <QString>

// Carries a user-readable message; what() gives it in UTF-8 for logs and std handlers.
class EAppError : public std::exception {
public:
    explicit EAppError(QString message) : message_(std::move(message)), utf8_(message_.toStdString()) {}

    const QString& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};
