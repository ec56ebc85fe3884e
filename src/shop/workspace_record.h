// Trovecart - what a workspace holds, kept beside it so that a later run can recover its work.
#pragma once

#include <optional>

#include <QDateTime>
#include <QList>
#include <QString>

// Lies beside the site folder as "<folder>.record" and goes with the folder.
class TWorkspaceRecord {
public:
    // The project file the shop belongs to; empty for a project never saved.
    QString ProjectFile;
    // Whether the workspace's shop.xml holds changes the project file does not.
    bool Unsaved = false;
    // When the record was last written.
    QDateTime Written;

    static QString FileFor(const QString& siteFolder);
    // Nothing for a missing or damaged record.
    static std::optional<TWorkspaceRecord> Read(const QString& siteFolder);
    // Stamps Written; the old record stays when writing fails. Returns whether it was written.
    bool Write(const QString& siteFolder);
};

// A desktop workspace whose owner ended without saving its changes.
struct TAbandonedWorkspace {
    QString SiteFolder;
    TWorkspaceRecord Record;
};

// The workspaces directly below tempFolder that no live process holds and whose record says they
// hold unsaved changes, the newest first.
QList<TAbandonedWorkspace> FindUnsavedWorkspaces(const QString& tempFolder);
// Removes the workspace with everything that belongs to it, unless a live process holds it.
void DiscardWorkspace(const QString& siteFolder);
