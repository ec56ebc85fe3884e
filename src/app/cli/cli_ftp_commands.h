// Trovecart - checking an FTP account and listing a remote folder from the command line.
#pragma once

#include "cli/cli_command.h"

// ftp-test: the account dialog's connection test; prints its message, exit 0 when it passed.
TCliCommand FtpTestCommand();
// ftp-list PATH: the folder's entries as JSON.
TCliCommand FtpListCommand();
