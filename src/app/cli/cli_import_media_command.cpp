// Trovecart - import-media: the media import dialog's work for one product, without a window.
#include "cli/cli_import_media_command.h"

#include <cstdio>

#include <QFileInfo>
#include <QRegularExpression>

#include "cli/cli_conversion.h"
#include "cli/cli_media_commands.h"
#include "cli/cli_media_module.h"
#include "cli/cli_progress.h"
#include "cli/cli_snapshot_command.h"
#include "import/media_import.h"
#include "media/ff_player.h"
#include "media/video_convertor.h"
#include "shop/headless_project.h"
#include "shop/program_data.h"

namespace {

// The one music or video product named "CATEGORY/PRODUCT"; either name may hold a '/'.
TCartItem& FindProduct(TShop& shop, const QString& path) {
    QList<TCartItem*> found;
    for (int c = 0; c < shop.Categories().Count(); ++c) {
        const TCategory& category = *shop.Categories().Items(c);
        const QString prefix = category.Name() + QLatin1Char('/');
        if (!path.startsWith(prefix))
            continue;
        const QString product = path.mid(prefix.size());
        for (int p = 0; p < category.Items().Count(); ++p) {
            if (category.Items().Items(p)->Name() == product)
                found << category.Items().Items(p);
        }
    }
    if (found.isEmpty())
        throw EAppError(QStringLiteral("There is no product \"%1\" in the project.").arg(path));
    if (found.size() > 1)
        throw EAppError(
            QStringLiteral("\"%1\" names %2 products; rename them apart first.").arg(path).arg(found.size()));
    if (found.front()->ItemType() == citImage)
        throw EAppError(
            QStringLiteral("\"%1\" is a general product; only music and video products take a preview.")
                .arg(path));
    return *found.front();
}

} // namespace

void MakeWebCopies(const QStringList& previewFiles, TCliInterruptSetter setInterrupt) {
    const TInterruptGuard guard(setInterrupt);
    for (const QString& previewFile : previewFiles) {
        if (TInterruptGuard::Interrupted())
            throw EAppError(QStringLiteral("Task cancalled by user."));
        TVideoConvertor convertor;
        if (!QueueWebCopy(convertor, previewFile))
            throw EAppError(convertor.LastMessage());
        QString failure;
        ThrowUnlessOk(RunConversion(convertor, failure, QStringLiteral("Web copy")), failure);
    }
}

TCliCommand ImportMediaCommand(TCliInterruptSetter setInterrupt) {
    return {
        QString::fromLatin1(kImportMediaTitle.Name),
        QString::fromLatin1(kImportMediaTitle.Summary),
        [](QCommandLineParser& parser) {
            parser.addOption({QStringLiteral("product"), QStringLiteral("The music or video product."),
                              QStringLiteral("CATEGORY/PRODUCT")});
            parser.addOption({QStringLiteral("start"),
                              QStringLiteral("Clip start in microseconds (default 0)."),
                              QStringLiteral("US")});
            parser.addOption({QStringLiteral("end"),
                              QStringLiteral("Clip end in microseconds (default: the source's end)."),
                              QStringLiteral("US")});
            parser.addOption({QStringLiteral("snapshot-at"),
                              QStringLiteral("Make the thumbnail from the video's picture at this moment."),
                              QStringLiteral("US")});
            parser.addOption({QStringLiteral("duration"),
                              QStringLiteral("The play time the shop shows (default: the source's)."),
                              QStringLiteral("HH:MM:SS")});
            parser.addPositionalArgument(QStringLiteral("PROJECT"),
                                         QStringLiteral("The project file (.scp)."));
            parser.addPositionalArgument(QStringLiteral("SOURCE"), QStringLiteral("The source media file."));
        },
        [setInterrupt](const QCommandLineParser& parser) {
            const TInterruptGuard guard(setInterrupt);
            const QStringList files = ExpectPositional(parser, 2);
            if (!parser.isSet(QStringLiteral("product")))
                throw ECliUsage(QStringLiteral("Name the product with --product CATEGORY/PRODUCT."));
            const QString duration = parser.value(QStringLiteral("duration"));
            static const QRegularExpression durationForm(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"));
            if (parser.isSet(QStringLiteral("duration")) && !durationForm.match(duration).hasMatch())
                throw ECliUsage(QStringLiteral("--duration takes HH:MM:SS."));
            const QString projectFile = QFileInfo(files.at(0)).absoluteFilePath();
            const QString source = QFileInfo(files.at(1)).absoluteFilePath();

            TAVProbe probe;
            QString message;
            if (!probe.Open(source, message))
                throw EAppError(message);
            TFileStreamInfo info;
            probe.GetFileInfo(info);
            probe.Close();
            TMediaImportRequest request{source, MediaKindOfFile(source), {}, QImage(), duration};
            request.Clip = {
                MicrosecondsOption(parser, QStringLiteral("start"), 0),
                MicrosecondsOption(parser, QStringLiteral("end"), std::max<int64_t>(0, info.Duration))};
            if (!request.Clip.IsValid())
                throw EAppError(kClipOrderMessage);
            if (request.Duration.isEmpty())
                request.Duration = DurationText(info.Duration);

            const TProgramData data;
            THeadlessProject project(data);
            {
                TTerminalProgress opening(QStringLiteral("Opening"));
                project.Shop().OnArchiveProgress = opening.Handler();
                project.OpenProject(projectFile);
                project.Shop().OnArchiveProgress = nullptr;
            }
            TShop& shop = project.Shop();
            TCartItem& item = FindProduct(shop, parser.value(QStringLiteral("product")));
            if (parser.isSet(QStringLiteral("snapshot-at")) && request.Kind == TMediaKind::Video) {
                TFFPlayer player;
                request.Snapshot =
                    PictureAt(player, source, MicrosecondsOption(parser, QStringLiteral("snapshot-at"), 0));
                player.Stop(true);
            }

            if (TInterruptGuard::Interrupted())
                throw EAppError(QStringLiteral("Task cancalled by user."));
            TMediaImport import(shop, item, request);
            TVideoConvertor convertor;
            if (!import.Queue(convertor))
                throw EAppError(convertor.LastMessage());
            QString failure;
            const int result = RunConversion(convertor, failure);
            import.Finish(result);
            ThrowUnlessOk(result, failure);

            TTerminalProgress saving(QStringLiteral("Saving"));
            shop.OnArchiveProgress = saving.Handler();
            shop.SaveProject(projectFile);
            std::printf("%s\n", item.Preview().toLocal8Bit().constData());
            return 0;
        },
    };
}
