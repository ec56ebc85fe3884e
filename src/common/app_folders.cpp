// Trovecart - application folders.
#include "common/app_folders.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "common/file_utils.h"

namespace {

QString& ChosenSubfolderName() {
    static QString name;
    return name;
}

} // namespace

QString ApplicationDataFolder() {
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    // Relative values are invalid by the XDG rules and are ignored.
    if (!xdg.isEmpty() && xdg.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(xdg);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

bool RunningUnderDebugger() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!status.atEnd()) {
        const QByteArray line = status.readLine();
        if (line.startsWith("TracerPid:"))
            return line.mid(10).trimmed().toLongLong() != 0;
    }
    return false;
}

QString DefaultDataSubfolderName() {
    return RunningUnderDebugger() ? QStringLiteral("Corvalen/Trovecart DebugMode")
                                  : QStringLiteral("Corvalen/Trovecart");
}

QString ProgramDataSubfolderName() {
    if (ChosenSubfolderName().isEmpty())
        ChosenSubfolderName() = DefaultDataSubfolderName();
    return ChosenSubfolderName();
}

void SetProgramDataSubfolderName(const QString& name) { ChosenSubfolderName() = name; }

QString ProgramDataFolder() {
    return ApplicationDataFolder() + QLatin1Char('/') + ProgramDataSubfolderName() + QLatin1Char('/');
}

QString ProgramFolder() {
    if (QCoreApplication::instance())
        return WithTrailingSlash(QCoreApplication::applicationDirPath());
    return WithTrailingSlash(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
}

bool OpenWithShell(const QString& text) {
    const QString target = text.trimmed();
    if (target.isEmpty())
        return false;
    const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl::fromUserInput(target);
    return QDesktopServices::openUrl(url);
}
