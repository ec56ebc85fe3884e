// Trovecart - what the commands on project files share.
#include "cli/cli_project_support.h"

#include <cstdio>

#include <QFileInfo>

#include "cli/cli_progress.h"
#include "shop/shop_document.h"
#include "shop/site_build.h"

QString AbsolutePath(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

void ReportDocumentNotes(const TShop& shop) {
    for (const QString& note : shop.DocumentNotes())
        std::fprintf(stderr, "Warning: %s\n", note.toLocal8Bit().constData());
}

void DeclareProjectArgument(QCommandLineParser& parser) {
    parser.addPositionalArgument(QStringLiteral("PROJECT"), QStringLiteral("The project file (.scp)."));
}

QCommandLineOption PrefixOption() {
    return {QStringLiteral("prefix"),
            QStringLiteral("The site's full address, used in the embed code (default: relative paths)."),
            QStringLiteral("URL")};
}

QString PrefixFor(const QCommandLineParser& parser) {
    const QString prefix = QStringLiteral("prefix");
    return EmbedBaseAddress(parser.isSet(prefix), parser.value(prefix));
}

TOpenedProject::TOpenedProject(const QString& projectFile) : project_(data_) {
    TTerminalProgress progress(QStringLiteral("Opening"));
    project_.Shop().OnArchiveProgress = progress.Handler();
    project_.OpenProject(AbsolutePath(projectFile));
    project_.Shop().OnArchiveProgress = nullptr;
    ReportDocumentNotes(project_.Shop());
}
