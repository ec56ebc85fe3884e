// Trovecart tests - a dialog service that answers from queues and records what was opened.
#pragma once

#include <deque>
#include <optional>

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

    std::optional<QString> OpenFileName(TMessageOwner, const QString& filter, const QString&,
                                        const QString& start) override {
        ++openDialogs;
        openFilters.append(filter);
        fileDialogStarts.append(start);
        return NextFile();
    }
    std::optional<QString> SaveFileName(TMessageOwner, const QString&, const QString&,
                                        const QString& start) override {
        ++saveDialogs;
        fileDialogStarts.append(start);
        return NextFile();
    }
    bool SelectFolder(const QString& title, const QString&, QString& folder) override {
        folderTitles.append(title);
        startFolders.append(folder);
        return TakeAnswer(folders_, folder);
    }
    void OpenWithShell(const QString& fileOrUrl) override { opened.append(fileOrUrl); }

    int openDialogs = 0;
    QStringList openFilters;
    int saveDialogs = 0;
    // Where each open or save dialog was asked to start.
    QStringList fileDialogStarts;
    QStringList folderTitles;
    QStringList startFolders;
    QStringList opened;

private:
    // False for Cancel (a queued std::nullopt, or nothing queued).
    static bool TakeAnswer(std::deque<std::optional<QString>>& answers, QString& value) {
        if (answers.empty())
            return false;
        const bool chosen = answers.front().has_value();
        if (chosen)
            value = *answers.front();
        answers.pop_front();
        return chosen;
    }
    std::optional<QString> NextFile() {
        QString file;
        if (!TakeAnswer(files_, file))
            return std::nullopt;
        return file;
    }

    std::deque<std::optional<QString>> files_;
    std::deque<std::optional<QString>> folders_;
};
