// Trovecart - the commands that publish over the network, built as a module of their own.
#pragma once

#include "cli/cli_module.h"

// publish, publish-site, ftp-test and ftp-list.
inline constexpr TCliModule kPublishModule{"trovecart-cli-publish", "publish", "TrovecartPublishCommands"};
inline constexpr TCliTitle kPublishTitle{
    "publish", "Build a project's web site and copy it into a folder or upload it to an FTP server."};
inline constexpr TCliTitle kPublishSiteTitle{
    "publish-site", "Copy or upload a built site folder (without its \"Thumb.png\" files)."};
inline constexpr TCliTitle kFtpTestTitle{
    "ftp-test", "Connect, log in and change to the remote directory, as the FTP account dialog's test does."};
inline constexpr TCliTitle kFtpListTitle{
    "ftp-list", "Print a remote folder's entries as JSON: name, kind, size in bytes, modified (UTC)."};
