// Trovecart tests - runs an external program to its end and collects what it printed.
#pragma once

#include <utility>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct TProgramResult {
    // -1 when the program could not start, crashed or did not finish in time.
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Every member has a default, so a run may name only the ones it needs ({.dataHome = ...}).
struct TRunOptions {
    QString workingDirectory = {};
    // XDG_DATA_HOME for the run, so that the program's data folder is the test's own.
    QString dataHome = {};
    int timeoutMs = 60000;
    // Further variables, such as a locale.
    QList<std::pair<QString, QString>> environment = {};
};

// Standard input is closed at once; a program still running at the time-out is killed.
TProgramResult RunProgram(const QString& program, const QStringList& arguments,
                          const TRunOptions& options = {});

// The ffmpeg program, quiet and overwriting its output. A failure is also a test failure, with
// ffmpeg's messages; returns whether it succeeded.
bool RunFfmpeg(const QStringList& arguments);
