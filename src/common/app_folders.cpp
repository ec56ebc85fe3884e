// Trovecart - application folders.
#include "common/app_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "common/file_utils.h"

namespace {

QString& ShellOpener() {
    static QString program = QStringLiteral("xdg-open");
    return program;
}

QString& ChosenSubfolderName() {
    static QString name;
    return name;
}

// The folder the XDG variable names, else the one below home.
QString XdgFolder(const char* variable, const QString& belowHome) {
    const QString xdg = qEnvironmentVariable(variable);
    // Relative values are invalid by the XDG rules and are ignored.
    if (!xdg.isEmpty() && xdg.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(xdg);
    return QDir::homePath() + belowHome;
}

} // namespace

QString ApplicationDataFolder() {
    return XdgFolder("XDG_DATA_HOME", QStringLiteral("/.local/share"));
}

QString UserSettingsFolder() {
    return XdgFolder("XDG_CONFIG_HOME", QStringLiteral("/.config")) + QStringLiteral("/Corvalen/Trovecart/");
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

void SetProgramDataSubfolderName(const QString& name) {
    ChosenSubfolderName() = name;
}

QString ProgramDataFolder() {
    return ApplicationDataFolder() + QLatin1Char('/') + ProgramDataSubfolderName() + QLatin1Char('/');
}

QString ProgramFolder() {
    if (QCoreApplication::instance())
        return WithTrailingSlash(QCoreApplication::applicationDirPath());
    return WithTrailingSlash(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
}

void SetShellOpener(const QString& program) {
    ShellOpener() = program;
}

void OpenWithShell(const QString& text, QObject* context, std::function<void()> failed) {
    const QString target = text.trimmed();
    if (target.isEmpty()) {
        QMetaObject::invokeMethod(context, failed, Qt::QueuedConnection);
        return;
    }
    const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl::fromUserInput(target);
    // Not owned by anyone: it must outlive its caller, and a browser that keeps it waiting must
    // not be killed when the program ends.
    auto* opener = new QProcess;
    QObject::connect(opener, &QProcess::errorOccurred, context,
                     [opener, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         failed();
                         opener->deleteLater();
                     });
    QObject::connect(opener, &QProcess::finished, context,
                     [opener, failed](int exitCode, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || exitCode != 0)
                             failed();
                         opener->deleteLater();
                     });
    opener->start(ShellOpener(), {url.toString(QUrl::FullyEncoded)});
}
