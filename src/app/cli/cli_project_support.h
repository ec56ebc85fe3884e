// Trovecart - what the commands on project files share, in trovecart-cli and its modules.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

#include "shop/headless_project.h"
#include "shop/program_data.h"

class TShop;

// Paths on the command line are relative to the current folder, not to the root.
QString AbsolutePath(const QString& path);

// Prints to stderr what the shop's last load or save had to change.
void ReportDocumentNotes(const TShop& shop);

void DeclareProjectArgument(QCommandLineParser& parser);
// --prefix URL: the site's full address, used in the embed code.
QCommandLineOption PrefixOption();
// The embed code's base address that --prefix gives.
QString PrefixFor(const QCommandLineParser& parser);

// A project opened from the command line in a workspace of its own, removed with the object.
class TOpenedProject {
public:
    explicit TOpenedProject(const QString& projectFile);
    TShop& Shop() { return project_.Shop(); }

private:
    const TProgramData data_;
    THeadlessProject project_;
};
