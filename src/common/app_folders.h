// Trovecart - the per-user data folder, the program's own folder and opening things with the desktop.
#pragma once

#include <functional>

#include <QString>

class QObject;

// $XDG_DATA_HOME, else ~/.local/share; without a trailing '/'.
QString ApplicationDataFolder();

// The user's own settings folder: $XDG_CONFIG_HOME, else ~/.config, then "Corvalen/Trovecart/".
// It is the same under a debugger, so that a debugging run keeps the user's settings.
QString UserSettingsFolder();

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

// Hands a document, folder or web address to the desktop's opener without waiting for it. failed
// runs later on this thread, unless context is gone by then, when the text is blank, the opener
// cannot be started, or it reports that it could not open the target (no browser, say).
void OpenWithShell(const QString& text, QObject* context, std::function<void()> failed);
// The opener program, "xdg-open" unless a test sets another.
void SetShellOpener(const QString& program);
