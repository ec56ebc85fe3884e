// Trovecart tests - helpers.
#include "support/test_helpers.h"

#include <stdexcept>

#include <QDir>
#include <QFile>
#include <QFileInfo>

TTempFolder::TTempFolder() : dir_(QDir::tempPath() + QStringLiteral("/trovecart-test-XXXXXX")) {
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

QStringList TTempFolder::Entries() const {
    return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void WriteFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

TEnvironmentGuard::TEnvironmentGuard(const char* name, const QString& value)
    : name_(name), had_(qEnvironmentVariableIsSet(name)), saved_(qgetenv(name)) {
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value.toLocal8Bit());
}

TEnvironmentGuard::~TEnvironmentGuard() {
    if (had_)
        qputenv(name_, saved_);
    else
        qunsetenv(name_);
}
