// Trovecart - helpers of every command, in trovecart-cli and in the media commands' module.
#include "cli/cli_command.h"

#include <cstdio>

QStringList ExpectPositional(const QCommandLineParser& parser, int count) {
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != count)
        throw ECliUsage(QStringLiteral("Expected %1 argument(s), got %2.").arg(count).arg(positional.size()));
    return positional;
}

void WriteStdout(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}
