// Trovecart - publishing a project or a built site from the command line.
#pragma once

#include "cli/cli_command.h"
#include "cli/cli_module.h"
#include "publish/ftp_account.h"

// publish PROJECT.scp: prepares the project's site and copies or uploads it.
TCliCommand PublishCommand(TCliInterruptSetter setInterrupt);
// publish-site SITEFOLDER: copies or uploads a site folder that is already built.
TCliCommand PublishSiteCommand(TCliInterruptSetter setInterrupt);

// --ftp HOST, --port, --user, --password or --password-file, --passive.
void DeclareFtpAccountOptions(QCommandLineParser& parser, const QString& hostHelp);
// The account those options give; ECliUsage for a wrong port or both password forms.
TFtpAccount FtpAccountFrom(const QCommandLineParser& parser);

// The destination and answer options that every publish form takes.
void DeclarePublishOptions(QCommandLineParser& parser);
// Publishes the prepared site folder as the options say: one line per file on stdout, progress
// on stderr, Ctrl+C asks the worker to stop. Returns 0 when every file arrived, else 1.
int PublishPreparedSite(const QString& siteFolder, const QCommandLineParser& parser,
                        TCliInterruptSetter setInterrupt);
