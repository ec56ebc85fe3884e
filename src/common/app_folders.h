// Trovecart - the per-user data folder, the program's own folder and opening things with the desktop.
#pragma once

#include <QString>

// $XDG_DATA_HOME, else ~/.local/share; without a trailing '/'.
QString ApplicationDataFolder();

// True when a tracer (debugger) is attached to this process.
bool RunningUnderDebugger();

// "Corvalen/Trovecart", or "Corvalen/Trovecart DebugMode" under a debugger.
QString DefaultDataSubfolderName();
// The subfolder name chosen at start-up; DefaultDataSubfolderName() until set.
QString ProgramDataSubfolderName();
void SetProgramDataSubfolderName(const QString& name);

// ApplicationDataFolder() + "/" + ProgramDataSubfolderName() + "/".
QString ProgramDataFolder();

// The folder of the running executable, ending with '/'.
QString ProgramFolder();

// Hands a document, folder or web address to the desktop's default handler; blank text does nothing.
// Returns false when nothing could be opened.
bool OpenWithShell(const QString& text);
