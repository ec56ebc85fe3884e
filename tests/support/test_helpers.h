// Trovecart tests - temporary folders, files and locales.
#pragma once

#include <ostream>

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A temporary folder removed with the object; Path() ends with '/'.
class TTempFolder {
public:
    TTempFolder();
    QString Path() const { return dir_.path() + QLatin1Char('/'); }
    QString File(const QString& relative) const { return Path() + relative; }
    // The names of the entries directly inside, hidden ones included, sorted.
    QStringList Entries() const;

private:
    QTemporaryDir dir_;
};

void WriteFile(const QString& path, const QByteArray& content);
QByteArray ReadFile(const QString& path);

// Sets the default locale for the lifetime of the object.
class TLocaleGuard {
public:
    explicit TLocaleGuard(QLocale::Language language, QLocale::Territory territory = QLocale::AnyTerritory)
        : saved_(QLocale()) {
        QLocale::setDefault(QLocale(language, territory));
    }
    ~TLocaleGuard() { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

// Sets an environment variable for the lifetime of the object; unset when value is null.
class TEnvironmentGuard {
public:
    TEnvironmentGuard(const char* name, const QString& value);
    ~TEnvironmentGuard();
    TEnvironmentGuard(const TEnvironmentGuard&) = delete;
    TEnvironmentGuard& operator=(const TEnvironmentGuard&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray saved_;
};

// Lets test failures show texts readably.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"' << bytes.toStdString() << '"';
}
