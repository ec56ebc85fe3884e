// Trovecart - commands on shop documents.
#pragma once

#include "cli/cli_command.h"

class TShop;

// Prints to stderr what the shop's last load or save had to change.
void ReportDocumentNotes(const TShop& shop);

TCliCommand InfoCommand();
TCliCommand ResaveCommand();
