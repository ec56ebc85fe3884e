// Trovecart - info and resave.
#include "cli/cli_shop_commands.h"

#include <cstdio>

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include "cli/cli_progress.h"
#include "cli/cli_project_support.h"
#include "shop/headless_project.h"
#include "shop/program_data.h"
#include "shop/shop_document.h"
#include "shop/shop_json.h"

namespace {

// Project files are ZIP archives; shop documents are XML text. A file named as a project is
// opened as one whatever it holds, so that a damaged project gives the archive error.
bool IsProjectFile(const QString& file) {
    if (file.endsWith(QStringLiteral(".scp"), Qt::CaseInsensitive))
        return true;
    QFile input(file);
    return input.open(QIODevice::ReadOnly) && input.read(4) == QByteArrayLiteral("PK\x03\x04");
}

} // namespace

TCliCommand InfoCommand() {
    return {
        QStringLiteral("info"),
        QStringLiteral("Print a shop document as JSON."),
        [](QCommandLineParser& parser) {
            parser.addPositionalArgument(QStringLiteral("FILE"),
                                         QStringLiteral("A shop.xml document or a project file (.scp)."));
        },
        [](const QCommandLineParser& parser) {
            const QString file = ExpectPositional(parser, 1).at(0);
            QByteArray json;
            if (IsProjectFile(file)) {
                const TProgramData data;
                THeadlessProject project(data);
                TTerminalProgress progress(QStringLiteral("Opening"));
                project.Shop().OnArchiveProgress = progress.Handler();
                project.OpenProject(QFileInfo(file).absoluteFilePath());
                ReportDocumentNotes(project.Shop());
                json = QJsonDocument(ShopToJson(project.Shop())).toJson(QJsonDocument::Indented);
            } else {
                TShop shop;
                shop.LoadFromFile(file);
                ReportDocumentNotes(shop);
                json = QJsonDocument(ShopToJson(shop)).toJson(QJsonDocument::Indented);
            }
            std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
            return 0;
        },
    };
}

TCliCommand ResaveCommand() {
    return {
        QStringLiteral("resave"),
        QStringLiteral("Load a shop document and write it again in the program's own layout."),
        [](QCommandLineParser& parser) {
            parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("The shop.xml to read."));
            parser.addPositionalArgument(QStringLiteral("OUT"),
                                         QStringLiteral("The file to write (may be IN)."));
        },
        [](const QCommandLineParser& parser) {
            const QStringList files = ExpectPositional(parser, 2);
            TShop shop;
            shop.LoadFromFile(files.at(0));
            ReportDocumentNotes(shop);
            shop.SaveToFile(files.at(1));
            ReportDocumentNotes(shop);
            return 0;
        },
    };
}
