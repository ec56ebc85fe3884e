// Trovecart - templates, new, build and embed-code.
#include "cli/cli_project_commands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/cli_media_module.h"
#include "cli/cli_progress.h"
#include "cli/cli_project_support.h"
#include "cli/cli_signals.h"
#include "common/file_utils.h"
#include "shop/site_build.h"

namespace {

QCommandLineOption TemplateFolderOption() {
    return {QStringLiteral("template-folder"),
            QStringLiteral("Read the templates from DIR instead of the installed ones."),
            QStringLiteral("DIR")};
}

TProgramData ProgramDataFor(const QCommandLineParser& parser) {
    TProgramData data;
    const QString folder = QStringLiteral("template-folder");
    if (parser.isSet(folder))
        data.SetTemplateFolder(WithTrailingSlash(AbsolutePath(parser.value(folder))));
    return data;
}

} // namespace

TCliCommand TemplatesCommand() {
    return {
        QStringLiteral("templates"),
        QStringLiteral("List the installed templates by theme, as JSON."),
        [](QCommandLineParser& parser) { parser.addOption(TemplateFolderOption()); },
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
            parser.addOption(TemplateFolderOption());
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
            parser.addOption(PrefixOption());
        },
        [](const QCommandLineParser& parser) {
            const QStringList arguments = ExpectPositional(parser, 2);
            TOpenedProject project(arguments.at(0));
            PrepareSite(project.Shop(), TSiteUse::Publish, PrefixFor(parser),
                        CliWebCopyMaker(&SetCliInterruptHandler));
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
            parser.addOption(PrefixOption());
        },
        [](const QCommandLineParser& parser) {
            const QStringList arguments = ExpectPositional(parser, 1);
            TOpenedProject project(arguments.at(0));
            WriteStdout(project.Shop().GetEmbedCode(PrefixFor(parser)).toUtf8());
            return 0;
        },
    };
}
