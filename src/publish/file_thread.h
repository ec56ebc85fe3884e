// Trovecart - publishes the site into a local folder.
#pragma once

#include "publish/base_thread.h"

class TFileThread : public TBaseThread {
    Q_OBJECT

public:
    using TBaseThread::TBaseThread;

protected:
    void run() override;
    // True when the destination holds any entry; a missing destination counts as empty.
    bool IsTargetNotEmpty() override;
    QByteArray ReadManifest() override;
    void RemoveManifest() override;
    void WriteManifest(const QByteArray& content) override;
    // Refuses a file whose folder is, through a link, outside the destination.
    void RemoveTargetFile(const QString& relative) override;
    bool RemoveEmptyTargetFolder(const QString& relative) override;
    QString ActionText(const QString& relative) const override;
    QString LocalTargetPath(const QString& relative) const override;

private:
    class TOrderedCopies;

    // Copies the source tree into the target, creating the target with its parents; the folders
    // are made as they are met, before their files. Large files are copied on a second thread.
    void CopyFolder(const QString& source, const QString& target);
    QString ManifestPath() const;
    // Whether the folder, links resolved, lies below the destination (or is the destination itself).
    bool LiesBelowTarget(const QString& folder, bool orIsTarget) const;
};
