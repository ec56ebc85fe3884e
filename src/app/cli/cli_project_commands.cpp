// Trovecart - templates, new, build, embed-code and publish.
#include "cli/cli_project_commands.h"

#include <cstdio>

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/cli_media_module.h"
#include "cli/cli_progress.h"
#include "cli/cli_publish_commands.h"
#include "cli/cli_shop_commands.h"
#include "common/file_utils.h"
#include "shop/headless_project.h"
#include "shop/program_data.h"
#include "shop/site_build.h"

namespace {

const QCommandLineOption
    kTemplateFolderOption(QStringLiteral("template-folder"),
                          QStringLiteral("Read the templates from DIR instead of the installed ones."),
                          QStringLiteral("DIR"));
const QCommandLineOption
    kPrefixOption(QStringLiteral("prefix"),
                  QStringLiteral("The site's full address, used in the embed code (default: "
                                 "relative paths)."),
                  QStringLiteral("URL"));

// Paths on the command line are relative to the current folder, not to the root.
QString AbsolutePath(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

TProgramData ProgramDataFor(const QCommandLineParser& parser) {
    TProgramData data;
    if (parser.isSet(kTemplateFolderOption))
        data.SetTemplateFolder(WithTrailingSlash(AbsolutePath(parser.value(kTemplateFolderOption))));
    return data;
}

QString PrefixFor(const QCommandLineParser& parser) {
    return EmbedBaseAddress(parser.isSet(kPrefixOption), parser.value(kPrefixOption));
}

void OpenWithProgress(THeadlessProject& project, const QString& projectFile) {
    TTerminalProgress progress(QStringLiteral("Opening"));
    project.Shop().OnArchiveProgress = progress.Handler();
    project.OpenProject(AbsolutePath(projectFile));
    project.Shop().OnArchiveProgress = nullptr;
    ReportDocumentNotes(project.Shop());
}

void DeclareProjectArgument(QCommandLineParser& parser) {
    parser.addPositionalArgument(QStringLiteral("PROJECT"), QStringLiteral("The project file (.scp)."));
}

// A project opened from the command line in a workspace of its own, removed with the object.
class TOpenedProject {
public:
    explicit TOpenedProject(const QString& projectFile) : project_(data_) {
        OpenWithProgress(project_, projectFile);
    }
    TShop& Shop() { return project_.Shop(); }

private:
    const TProgramData data_;
    THeadlessProject project_;
};

} // namespace

TCliCommand TemplatesCommand() {
    return {
        QStringLiteral("templates"),
        QStringLiteral("List the installed templates by theme, as JSON."),
        [](QCommandLineParser& parser) { parser.addOption(kTemplateFolderOption); },
        [](const QCommandLineParser& parser) {
            ExpectPositional(parser, 0);
            TProgramData data = ProgramDataFor(parser);
            data.LoadThemes(data.TemplateFolder() + QStringLiteral("theme.xml"));
            QJsonArray themes;
            for (int i = 0; i < data.Themes().Count(); ++i) {
                const TQLTheme& theme = data.Themes().Items(i);
                themes.append(QJsonObject{{"id", theme.ThemeId()},
                                          {"name", theme.ThemeName()},
                                          {"templates", QJsonArray::fromStringList(theme.Carts())}});
            }
            const QJsonObject result{{"themes", themes},
                                     {"all", QJsonArray::fromStringList(AllTemplateNames(data.Themes()))}};
            WriteStdout(QJsonDocument(result).toJson(QJsonDocument::Indented));
            return 0;
        },
    };
}

TCliCommand NewCommand() {
    return {
        QStringLiteral("new"),
        QStringLiteral("Create a project from an installed template and save it."),
        [](QCommandLineParser& parser) {
            parser.addPositionalArgument(QStringLiteral("TEMPLATE"), QStringLiteral("The template's name."));
            parser.addPositionalArgument(QStringLiteral("PROJECT"),
                                         QStringLiteral("The project file to write (.scp)."));
            parser.addOption(kTemplateFolderOption);
        },
        [](const QCommandLineParser& parser) {
            const QStringList arguments = ExpectPositional(parser, 2);
            const TProgramData data = ProgramDataFor(parser);
            THeadlessProject project(data);
            project.NewFromTemplate(arguments.at(0));
            TTerminalProgress progress(QStringLiteral("Saving"));
            project.Shop().OnArchiveProgress = progress.Handler();
            project.Shop().SaveProject(AbsolutePath(arguments.at(1)));
            return 0;
        },
    };
}

TCliCommand BuildCommand() {
    return {
        QStringLiteral("build"),
        QStringLiteral("Build a project's web site into a folder, as a publish run prepares it."),
        [](QCommandLineParser& parser) {
            DeclareProjectArgument(parser);
            parser.addPositionalArgument(QStringLiteral("OUTDIR"),
                                         QStringLiteral("The folder that receives the site."));
            parser.addOption(kPrefixOption);
        },
        [](const QCommandLineParser& parser) {
            const QStringList arguments = ExpectPositional(parser, 2);
            TOpenedProject project(arguments.at(0));
            PrepareSite(project.Shop(), TSiteUse::Publish, PrefixFor(parser), CliWebCopyMaker());
            CopyPreparedSite(project.Shop().SiteFolder(), AbsolutePath(arguments.at(1)));
            return 0;
        },
    };
}

TCliCommand EmbedCodeCommand() {
    return {
        QStringLiteral("embed-code"),
        QStringLiteral("Print the HTML code that embeds a project's shop into a web page."),
        [](QCommandLineParser& parser) {
            DeclareProjectArgument(parser);
            parser.addOption(kPrefixOption);
        },
        [](const QCommandLineParser& parser) {
            const QStringList arguments = ExpectPositional(parser, 1);
            TOpenedProject project(arguments.at(0));
            WriteStdout(project.Shop().GetEmbedCode(PrefixFor(parser)).toUtf8());
            return 0;
        },
    };
}

TCliCommand PublishCommand() {
    return {
        QStringLiteral("publish"),
        QStringLiteral("Build a project's web site and copy it into a folder or upload it to an FTP server."),
        [](QCommandLineParser& parser) {
            DeclareProjectArgument(parser);
            DeclarePublishOptions(parser);
            parser.addOption(kPrefixOption);
        },
        [](const QCommandLineParser& parser) {
            const QStringList arguments = ExpectPositional(parser, 1);
            TOpenedProject project(arguments.at(0));
            PrepareSite(project.Shop(), TSiteUse::Publish, PrefixFor(parser), CliWebCopyMaker());
            const int result = PublishPreparedSite(project.Shop().SiteFolder(), parser);
            FinishPublishRun(project.Shop());
            return result;
        },
    };
}
