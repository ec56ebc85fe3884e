// Trovecart tests - a dialog service that answers from queues and records what was opened.
#pragma once

#include <deque>

#include <QStringList>

#include "common/dialog_service.h"

class TScriptedDialogService : public TDialogService {
public:
    TScriptedDialogService() { SetDialogService(this); }
    ~TScriptedDialogService() override { SetDialogService(nullptr); }

    // The next open or save dialog returns this file; std::nullopt stands for Cancel.
    void QueueFile(std::optional<QString> file) { files_.push_back(std::move(file)); }
    // The next folder picker returns this folder; std::nullopt stands for Cancel.
    void QueueFolder(std::optional<QString> folder) { folders_.push_back(std::move(folder)); }

    std::optional<QString> OpenFileName(TMessageOwner, const QString& filter, const QString&) override {
        ++openDialogs;
        openFilters.append(filter);
        return NextFile();
    }
    std::optional<QString> SaveFileName(TMessageOwner, const QString&, const QString&) override {
        ++saveDialogs;
        return NextFile();
    }
    bool SelectFolder(const QString& title, const QString&, QString& folder) override {
        folderTitles.append(title);
        startFolders.append(folder);
        if (folders_.empty() || !folders_.front()) {
            if (!folders_.empty())
                folders_.pop_front();
            return false;
        }
        folder = *folders_.front();
        folders_.pop_front();
        return true;
    }
    void OpenWithShell(const QString& fileOrUrl) override { opened.append(fileOrUrl); }

    int openDialogs = 0;
    QStringList openFilters;
    int saveDialogs = 0;
    QStringList folderTitles;
    QStringList startFolders;
    QStringList opened;

private:
    std::optional<QString> NextFile() {
        std::optional<QString> file;
        if (!files_.empty()) {
            file.swap(files_.front());
            files_.pop_front();
        }
        return file;
    }

    std::deque<std::optional<QString>> files_;
    std::deque<std::optional<QString>> folders_;
};
