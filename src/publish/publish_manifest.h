// Trovecart - the record a publish run leaves at the target's root: every file it put there with
// its size and SHA-256, so that the next run can send only what changed and remove only its own files.
#pragma once

#include <map>
#include <optional>

#include <QByteArray>
#include <QString>

struct TManifestEntry {
    qint64 Size = 0;
    // Lower-case hexadecimal.
    QByteArray Sha256;

    bool operator==(const TManifestEntry&) const = default;
};

// Hashes the file in large blocks; raises EAppError when it cannot be read.
TManifestEntry HashLocalFile(const QString& path);

class TPublishManifest {
public:
    // The record's name at the target's root.
    static QString FileName();
    // A path below the target: relative, '/' between non-empty parts, no "." or ".." part, no
    // backslash or control character, and not the record itself.
    static bool IsSafePath(const QString& path);
    // Nothing when the text is not a record of ours (another format or version, broken JSON) or
    // when any path in it fails IsSafePath: such a record is neither trusted nor acted upon.
    static std::optional<TPublishManifest> Parse(const QByteArray& json);
    QByteArray ToJson() const;

    // Paths are relative to the target, with '/' between folders.
    const TManifestEntry* Find(const QString& path) const;
    void Set(const QString& path, const TManifestEntry& entry);
    void Remove(const QString& path);
    const std::map<QString, TManifestEntry>& Entries() const { return entries_; }

private:
    std::map<QString, TManifestEntry> entries_;
};
