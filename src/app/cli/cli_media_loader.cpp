// Trovecart - the web copies of site preparation, made by the media commands' module.
#include "cli/cli_media_module.h"

TWebCopyMaker CliWebCopyMaker(TCliInterruptSetter setInterrupt) {
    return [setInterrupt](const QStringList& previewFiles) {
        const auto entry = reinterpret_cast<TWebCopyEntry>(ModuleEntry(kMediaModule, kWebCopyEntry));
        QString failure;
        if (!entry(previewFiles, setInterrupt, failure))
            throw EAppError(failure);
    };
}
