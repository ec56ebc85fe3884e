// Trovecart - what the program remembers between runs, and where its folders are.
#pragma once

#include <vector>

#include <QString>

#include "shop/template_catalogue.h"

namespace pugi {
class xml_node;
}

class TResentItem {
public:
    // Full path of a project file.
    const QString& Src() const { return src_; }
    void SetSrc(const QString& src) { src_ = src; }
    void Assign(const TResentItem& source) { src_ = source.src_; }

private:
    QString src_;
};

// Whether the embed code uses the site's web address, and that address as typed.
struct TEmbedAddress {
    bool FullPath = false;
    QString Address = QStringLiteral("http://www.example.com/shop/");
    bool operator==(const TEmbedAddress&) const = default;
};

// Recently used project files, most recent first.
class TResentItems {
public:
    TResentItem& Add();
    TResentItem& Insert(int index);
    void Delete(int index);
    TResentItem& Items(int index) { return items_.at(static_cast<size_t>(index)); }
    const TResentItem& Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    int Count() const { return static_cast<int>(items_.size()); }
    void Clear() { items_.clear(); }
    void Assign(const TResentItems& source);

private:
    std::vector<TResentItem> items_;
};

// Puts the path at the top of the list: an entry with exactly the same letters moves up; otherwise,
// when the list holds more than 20 entries, the last one goes. The list never exceeds 21 entries.
void UpdateRecentList(TResentItems& recent, const QString& path);

class TProgramData {
public:
    // Folders of this program: its executable's folder, its per-user data folder and the user's
    // settings folder.
    TProgramData();
    // Explicit folders, each ending with '/'.
    TProgramData(const QString& programFolder, const QString& programDataFolder,
                 const QString& settingsFolder);

    TResentItems& Recent() { return recent_; }
    const TResentItems& Recent() const { return recent_; }
    void SetRecent(const TResentItems& value) { recent_.Assign(value); }
    const QString& LastOpen() const { return lastOpen_; }
    void SetLastOpen(const QString& value) { lastOpen_ = value; }
    const QString& LastPublish() const { return lastPublish_; }
    void SetLastPublish(const QString& value) { lastPublish_ = value; }
    // Folder last chosen as a local publish target.
    const QString& LastPublishPath() const { return lastPublishPath_; }
    void SetLastPublishPath(const QString& value) { lastPublishPath_ = value; }

    const QString& FTPHost() const { return ftpHost_; }
    void SetFTPHost(const QString& value) { ftpHost_ = value; }
    const QString& FTPDir() const { return ftpDir_; }
    void SetFTPDir(const QString& value) { ftpDir_ = value; }
    const QString& FTPlogin() const { return ftpLogin_; }
    void SetFTPlogin(const QString& value) { ftpLogin_ = value; }
    // Kept and stored as plain text; the settings file is therefore readable by its owner only.
    const QString& FTPPassword() const { return ftpPassword_; }
    void SetFTPPassword(const QString& value) { ftpPassword_ = value; }
    bool FTPPassive() const { return ftpPassive_; }
    void SetFTPPassive(bool value) { ftpPassive_ = value; }
    int FTPPort() const { return ftpPort_; }
    void SetFTPPort(int value) { ftpPort_ = value; }
    // "ftp", "ftps" or "sftp"; files written before there was a choice read as "ftp".
    const QString& FTPProtocol() const { return ftpProtocol_; }
    void SetFTPProtocol(const QString& value) { ftpProtocol_ = value; }
    // SFTP private key file; empty for password login.
    const QString& FTPKeyFile() const { return ftpKeyFile_; }
    void SetFTPKeyFile(const QString& value) { ftpKeyFile_ = value; }
    // The certificate fingerprint the user trusts, and the host it was trusted for.
    const QString& FTPTrustedHost() const { return ftpTrustedHost_; }
    void SetFTPTrustedHost(const QString& value) { ftpTrustedHost_ = value; }
    const QString& FTPTrustedFingerprint() const { return ftpTrustedFingerprint_; }
    void SetFTPTrustedFingerprint(const QString& value) { ftpTrustedFingerprint_ = value; }

    // The publish dialog's choices, as the user last left them.
    bool PublishChangedOnly() const { return publishChangedOnly_; }
    void SetPublishChangedOnly(bool value) { publishChangedOnly_ = value; }
    bool PublishRemoveOld() const { return publishRemoveOld_; }
    void SetPublishRemoveOld(bool value) { publishRemoveOld_ = value; }
    // The embed address last given for the shop saved as `projectFile`; for a shop never given one
    // (or never saved), the one given last for any shop.
    TEmbedAddress EmbedAddress(const QString& projectFile) const;
    // Remembers the address for the shop saved as `projectFile` (for none when it is empty) and as
    // the one given last.
    void SetEmbedAddress(const QString& projectFile, const TEmbedAddress& address);

    TThemes& Themes() { return themes_; }
    const TThemes& Themes() const { return themes_; }
    void SetThemes(const TThemes& value) { themes_.Assign(value); }

    // Root of every project workspace; ends with '/'.
    const QString& TempFolder() const { return tempFolder_; }
    void SetTempFolder(const QString& value) { tempFolder_ = value; }
    // Holds the templates and theme.xml; ends with '/'.
    const QString& TemplateFolder() const { return templateFolder_; }
    void SetTemplateFolder(const QString& value) { templateFolder_ = value; }
    // The folder of the template of that name; ends with '/'.
    QString TemplatePath(const QString& name) const;
    const QString& ProgramFolder() const { return programFolder_; }

    // "shopconfig.xml" in the user's settings folder: the file read at start and written at the end.
    // A program folder shared by every user of the machine never holds anyone's account.
    QString SettingsFileName() const;
    // What the start reads: the user's file, or, while the user has none, the one beside the
    // program (a portable copy's), which is never written.
    QString SettingsFileToRead() const;

    // Silent: a missing or damaged file leaves what was read before the fault.
    void LoadSettings(const QString& fileName);
    // Replaces the file as a whole, readable by its owner only, creating its folder when missing.
    // Raises EShopError.
    void SaveSettings(const QString& fileName) const;
    void LoadThemes(const QString& fileName) { LoadThemeCatalogue(fileName, themes_); }

private:
    struct TShopEmbedAddress {
        QString ProjectFile;
        TEmbedAddress Address;
    };

    void LoadPublishChoices(const pugi::xml_node& root);

    TResentItems recent_;
    QString lastOpen_;
    QString lastPublish_;
    QString lastPublishPath_;
    QString ftpHost_;
    QString ftpDir_ = QStringLiteral("/");
    QString ftpLogin_;
    QString ftpPassword_;
    bool ftpPassive_ = false;
    int ftpPort_ = 21;
    QString ftpProtocol_ = QStringLiteral("ftp");
    QString ftpKeyFile_;
    QString ftpTrustedHost_;
    QString ftpTrustedFingerprint_;
    bool publishChangedOnly_ = false;
    bool publishRemoveOld_ = false;
    TEmbedAddress lastEmbedAddress_;
    std::vector<TShopEmbedAddress> shopEmbedAddresses_; // most recently given first
    TThemes themes_;
    QString programFolder_;
    QString settingsFolder_;
    QString tempFolder_;
    QString templateFolder_;
};
