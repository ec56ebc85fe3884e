// Trovecart - command modules that trovecart-cli loads only when one of their commands runs.
#pragma once

#include <functional>
#include <vector>

#include <QLibrary>

#include "cli/cli_command.h"

// Commands whose libraries most commands do not need (the media engine, the publish layer with
// OpenSSL) live in modules that are loaded only when one of their commands runs. The names and
// summaries of a module's commands are known without it.
struct TCliTitle {
    const char* Name;
    const char* Summary;
};

// A module's file name beside trovecart-cli, what its commands are about (for the load failure's
// text), and the name of the entry point that fills in its commands.
struct TCliModule {
    const char* FileName;
    const char* Subject;
    const char* CommandsEntry;
};

class TMessageService;
// Sets (or clears, with an empty handler) what the first Ctrl+C does instead of ending the program.
using TCliInterruptSetter = void (*)(std::function<void()> handler);
// The entry point fills in the module's commands. A module has its own copy of the core layers,
// so it is handed the message service that trovecart-cli installed, and the way to take Ctrl+C
// from trovecart-cli's signal thread.
using TCliModuleEntry = void (*)(std::vector<TCliCommand>& commands, TMessageService* messages,
                                 TCliInterruptSetter setInterrupt);

// The entry point `entry` of the module, loaded on first use and kept for the rest of the run.
// Raises EAppError when the module cannot be loaded.
QFunctionPointer ModuleEntry(const TCliModule& module, const char* entry);
