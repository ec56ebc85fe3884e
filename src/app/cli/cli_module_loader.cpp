// Trovecart - loads a command module beside trovecart-cli.
#include <QCoreApplication>

#include "cli/cli_module.h"

QFunctionPointer ModuleEntry(const TCliModule& module, const char* entry) {
    // A QLibrary that goes out of scope leaves the module loaded.
    QLibrary library(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                     QLatin1String(module.FileName));
    const QFunctionPointer function = library.resolve(entry);
    if (!function)
        throw EAppError(QStringLiteral("The %1 commands cannot be loaded: %2")
                            .arg(QLatin1String(module.Subject), library.errorString()));
    return function;
}
