// Trovecart - program settings and shopconfig.xml.
#include "shop/program_data.h"

#include <algorithm>
#include <fcntl.h>
#include <sstream>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>

#include <pugixml.hpp>

#include "common/app_folders.h"
#include "common/file_utils.h"
#include "shop/shop_error.h"
#include "shop/xml_text.h"

namespace {

constexpr int kMostRecentKept = 20;
constexpr const char* kSettingsName = "shopconfig.xml";

// Writes a complete file beside the target with owner-only permissions and renames it over the
// target, so that a failed write leaves the old file and the password is never world-readable.
void WritePrivateFile(const QString& fileName, const std::string& content) {
    const std::string target = LocalPath(fileName);
    std::string temporary = target + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0)
        throw EShopError(
            QStringLiteral("Cannot save \"%1\": %2").arg(fileName, QString::fromLocal8Bit(strerror(errno))));
    size_t written = 0;
    while (written < content.size()) {
        const ssize_t chunk = ::write(descriptor, content.data() + written, content.size() - written);
        if (chunk < 0 && errno == EINTR)
            continue;
        if (chunk <= 0)
            break;
        written += static_cast<size_t>(chunk);
    }
    const int error = written == content.size() ? 0 : errno;
    const bool closed = ::close(descriptor) == 0;
    if (error != 0 || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const QString reason = QString::fromLocal8Bit(strerror(error != 0 ? error : errno));
        ::unlink(temporary.c_str());
        throw EShopError(QStringLiteral("Cannot save \"%1\": %2").arg(fileName, reason));
    }
}

} // namespace

TResentItem& TResentItems::Add() {
    return items_.emplace_back();
}

TResentItem& TResentItems::Insert(int index) {
    return *items_.emplace(items_.begin() + std::clamp(index, 0, Count()));
}

void TResentItems::Delete(int index) {
    if (index >= 0 && index < Count())
        items_.erase(items_.begin() + index);
}

void TResentItems::Assign(const TResentItems& source) {
    items_.clear();
    for (const TResentItem& item : source.items_)
        Add().Assign(item);
}

void UpdateRecentList(TResentItems& recent, const QString& path) {
    bool found = false;
    for (int i = 0; i < recent.Count(); ++i) {
        if (recent.Items(i).Src() == path) {
            recent.Delete(i);
            found = true;
            break;
        }
    }
    if (!found && recent.Count() > kMostRecentKept)
        recent.Delete(recent.Count() - 1);
    recent.Insert(0).SetSrc(path);
}

TProgramData::TProgramData() : TProgramData(::ProgramFolder(), ProgramDataFolder(), UserSettingsFolder()) {}

TProgramData::TProgramData(const QString& programFolder, const QString& programDataFolder,
                           const QString& settingsFolder)
    : programFolder_(WithTrailingSlash(programFolder)), settingsFolder_(WithTrailingSlash(settingsFolder)),
      tempFolder_(WithTrailingSlash(programDataFolder) + QStringLiteral("Temp/")),
      templateFolder_(programFolder_ + QStringLiteral("Files/Template/")) {}

QString TProgramData::TemplatePath(const QString& name) const {
    return WithTrailingSlash(JoinPath(templateFolder_, name));
}

QString TProgramData::SettingsFileName() const {
    return settingsFolder_ + QLatin1String(kSettingsName);
}

QString TProgramData::SettingsFileToRead() const {
    const QString own = SettingsFileName();
    const QString portable = programFolder_ + QLatin1String(kSettingsName);
    return !FileExistsStrict(own) && FileExistsStrict(portable) ? portable : own;
}

void TProgramData::LoadSettings(const QString& fileName) {
    recent_.Clear();
    pugi::xml_document document;
    if (!LoadOptionalXmlFile(fileName, document))
        return;
    const pugi::xml_node root = document.document_element();
    LoadPublishChoices(root);
    try {
        if (const pugi::xml_node recent = root.child("recent")) {
            for (const pugi::xml_node& item : recent.children()) {
                if (item.type() != pugi::node_element)
                    continue;
                const QString src = RequiredAttribute(item, "src");
                recent_.Add().SetSrc(src);
            }
        }
        const pugi::xml_node lastOpen = root.child("last_open_project");
        lastOpen_ = lastOpen ? RequiredAttribute(lastOpen, "path") : QString();
        const pugi::xml_node lastPublish = root.child("last_publ_project");
        lastPublish_ = lastPublish ? RequiredAttribute(lastPublish, "path") : QString();
        if (const pugi::xml_node lastPath = root.child("last_publ_path"))
            lastPublishPath_ = RequiredAttribute(lastPath, "path");

        const pugi::xml_node ftp = root.child("ftp_set");
        if (!ftp) {
            ftpHost_.clear();
            ftpLogin_.clear();
            ftpPassword_.clear();
            ftpDir_ = QStringLiteral("/");
            ftpPassive_ = false;
            ftpPort_ = 21;
            ftpProtocol_ = QStringLiteral("ftp");
            ftpKeyFile_.clear();
            ftpTrustedHost_.clear();
            ftpTrustedFingerprint_.clear();
            return;
        }
        ftpHost_ = RequiredAttribute(ftp, "ftphost");
        ftpDir_ = RequiredAttribute(ftp, "hostdir");
        ftpLogin_ = RequiredAttribute(ftp, "l");
        ftpPassword_ = RequiredAttribute(ftp, "p");
        ftpPassive_ = RequiredAttribute(ftp, "transfermode") != QLatin1String("active");
        ftpPort_ = RequiredIntAttribute(ftp, "port");

        // Its own element, so that the account's element keeps its layout; read last, so that a
        // damaged one cannot cost the account.
        const pugi::xml_node security = root.child("ftp_security");
        ftpProtocol_ = security ? RequiredAttribute(security, "protocol") : QStringLiteral("ftp");
        ftpKeyFile_ = security ? RequiredAttribute(security, "keyfile") : QString();
        ftpTrustedHost_ = security ? RequiredAttribute(security, "trusted_host") : QString();
        ftpTrustedFingerprint_ = security ? RequiredAttribute(security, "trusted_fingerprint") : QString();
    } catch (const EShopError&) {
        // A damaged file is not reported; the values read so far stay.
    }
}

namespace {

// Shops whose embed address is kept; the oldest goes first.
constexpr size_t kMaxShopEmbedAddresses = 50;

QString ProjectKey(const QString& projectFile) {
    return projectFile.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(projectFile).absoluteFilePath());
}

TEmbedAddress ReadEmbedAddress(const pugi::xml_node& node) {
    TEmbedAddress address;
    address.FullPath = RequiredIntAttribute(node, "full_path") != 0;
    address.Address = RequiredAttribute(node, "full_path_address");
    return address;
}

void WriteEmbedAddress(pugi::xml_node node, const TEmbedAddress& address) {
    SetAttribute(node, "full_path", address.FullPath ? 1 : 0);
    SetAttribute(node, "full_path_address", address.Address);
}

} // namespace

TEmbedAddress TProgramData::EmbedAddress(const QString& projectFile) const {
    const QString key = ProjectKey(projectFile);
    const auto shop =
        std::find_if(shopEmbedAddresses_.begin(), shopEmbedAddresses_.end(),
                     [&key](const TShopEmbedAddress& entry) { return entry.ProjectFile == key; });
    return !key.isEmpty() && shop != shopEmbedAddresses_.end() ? shop->Address : lastEmbedAddress_;
}

void TProgramData::SetEmbedAddress(const QString& projectFile, const TEmbedAddress& address) {
    lastEmbedAddress_ = address;
    const QString key = ProjectKey(projectFile);
    if (key.isEmpty())
        return;
    std::erase_if(shopEmbedAddresses_,
                  [&key](const TShopEmbedAddress& shop) { return shop.ProjectFile == key; });
    shopEmbedAddresses_.insert(shopEmbedAddresses_.begin(), {key, address});
    if (shopEmbedAddresses_.size() > kMaxShopEmbedAddresses)
        shopEmbedAddresses_.pop_back();
}

// Its own element after the account's, read on its own: files from before it, and a damaged one,
// leave the dialog as it first appears and cost nothing else. Each shop's embed address is a child
// of its own; a damaged one is left out.
void TProgramData::LoadPublishChoices(const pugi::xml_node& root) {
    publishChangedOnly_ = false;
    publishRemoveOld_ = false;
    lastEmbedAddress_ = {};
    shopEmbedAddresses_.clear();
    const pugi::xml_node choices = root.child("publish_options");
    if (!choices)
        return;
    try {
        const bool changedOnly = RequiredIntAttribute(choices, "changed_only") != 0;
        const bool removeOld = RequiredIntAttribute(choices, "remove_old") != 0;
        lastEmbedAddress_ = ReadEmbedAddress(choices);
        publishChangedOnly_ = changedOnly;
        publishRemoveOld_ = removeOld;
    } catch (const EShopError&) {
        return;
    }
    for (const pugi::xml_node& shop : choices.children("shop")) {
        try {
            const QString key = ProjectKey(RequiredAttribute(shop, "path"));
            if (!key.isEmpty() && shopEmbedAddresses_.size() < kMaxShopEmbedAddresses)
                shopEmbedAddresses_.push_back({key, ReadEmbedAddress(shop)});
        } catch (const EShopError&) {
        }
    }
}

void TProgramData::SaveSettings(const QString& fileName) const {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
    pugi::xml_node root = document.append_child("settings");

    pugi::xml_node recent = root.append_child("recent");
    for (int i = 0; i < recent_.Count(); ++i)
        SetAttribute(recent.append_child("item"), "src", recent_.Items(i).Src());
    SetAttribute(root.append_child("last_open_project"), "path", lastOpen_);
    SetAttribute(root.append_child("last_publ_project"), "path", lastPublish_);
    SetAttribute(root.append_child("last_publ_path"), "path", lastPublishPath_);
    pugi::xml_node ftp = root.append_child("ftp_set");
    SetAttribute(ftp, "ftphost", ftpHost_);
    SetAttribute(ftp, "hostdir", ftpDir_);
    SetAttribute(ftp, "l", ftpLogin_);
    SetAttribute(ftp, "p", ftpPassword_);
    SetAttribute(ftp, "port", ftpPort_);
    SetAttribute(ftp, "transfermode", ftpPassive_ ? QStringLiteral("passive") : QStringLiteral("active"));
    pugi::xml_node security = root.append_child("ftp_security");
    SetAttribute(security, "protocol", ftpProtocol_);
    SetAttribute(security, "keyfile", ftpKeyFile_);
    SetAttribute(security, "trusted_host", ftpTrustedHost_);
    SetAttribute(security, "trusted_fingerprint", ftpTrustedFingerprint_);
    pugi::xml_node choices = root.append_child("publish_options");
    SetAttribute(choices, "changed_only", publishChangedOnly_ ? 1 : 0);
    SetAttribute(choices, "remove_old", publishRemoveOld_ ? 1 : 0);
    WriteEmbedAddress(choices, lastEmbedAddress_);
    for (const TShopEmbedAddress& shop : shopEmbedAddresses_) {
        pugi::xml_node node = choices.append_child("shop");
        SetAttribute(node, "path", shop.ProjectFile);
        WriteEmbedAddress(node, shop.Address);
    }

    std::ostringstream text;
    document.save(text, "     ", pugi::format_indent, pugi::encoding_utf8);
    ForceFolders(QFileInfo(fileName).absolutePath());
    WritePrivateFile(fileName, text.str());
}
