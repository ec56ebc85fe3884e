// Trovecart - creating the program's data folders and giving them attributes, with a log.
#pragma once

#include <memory>
#include <vector>

#include <QString>
#include <QStringList>

// Folder attribute flags and the attribute mask they add up to. The mask uses the classic attribute
// bits (archive 32, hidden 2, not-content-indexed 8192, read-only 1, system 4, temporary 256).
class TFileAttributes {
public:
    static constexpr int kReadOnly = 1;
    static constexpr int kHidden = 2;
    static constexpr int kSystem = 4;
    static constexpr int kDirectory = 16;
    static constexpr int kArchive = 32;
    static constexpr int kTemporary = 256;
    static constexpr int kNotContentIndexed = 8192;

    bool Archive() const { return archive_; }
    void SetArchive(bool value) { archive_ = value; }
    bool Hidden() const { return hidden_; }
    void SetHidden(bool value) { hidden_ = value; }
    // Indexed by content search; a folder that is not indexed carries kNotContentIndexed.
    bool Indexed() const { return indexed_; }
    void SetIndexed(bool value) { indexed_ = value; }
    bool ReadOnlyFolder() const { return readOnlyFolder_; }
    void SetReadOnlyFolder(bool value) { readOnlyFolder_ = value; }
    bool System() const { return system_; }
    void SetSystem(bool value) { system_ = value; }
    bool Temporary() const { return temporary_; }
    void SetTemporary(bool value) { temporary_ = value; }

    int Mask() const;

private:
    bool archive_ = true;
    bool hidden_ = false;
    bool indexed_ = false;
    bool readOnlyFolder_ = false;
    bool system_ = false;
    bool temporary_ = false;
};

class TDirConfigItem {
public:
    const QString& Dir() const { return dir_; }
    // Also decides InWorkDir: an absolute path is taken as it is, anything else below the
    // current directory.
    void SetDir(const QString& dir);
    bool InWorkDir() const { return inWorkDir_; }
    void SetInWorkDir(bool value) { inWorkDir_ = value; }
    TFileAttributes& FileAttributes() { return attributes_; }
    const TFileAttributes& FileAttributes() const { return attributes_; }

private:
    QString dir_;
    bool inWorkDir_ = true;
    TFileAttributes attributes_;
};

class TFolderManager {
public:
    QStringList& DirList() { return dirList_; }
    std::vector<std::unique_ptr<TDirConfigItem>>& DirListEx() { return dirListEx_; }
    TDirConfigItem& AddDirEx(const QString& dir);
    const QStringList& OutPutList() const { return output_; }

    // Creates the folder and its missing parents; every step leaves a log line.
    void ForceFolder(const QString& path);
    // Creates every folder of both lists, relative ones below the current directory.
    void CreateFolders();

    // The attribute bits a folder has on this system: directory, plus hidden for a dot name.
    static int FolderAttributes(const QString& path);

private:
    static QString Resolve(const QString& path);

    QStringList dirList_;
    std::vector<std::unique_ptr<TDirConfigItem>> dirListEx_;
    QStringList output_;
};
