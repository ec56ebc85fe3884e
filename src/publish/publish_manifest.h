// Trovecart - the record a publish run leaves at the target's root: every file it put there with
// its size and SHA-256, so that the next run can send only what changed and remove only its own files.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <sys/stat.h>

#include <QByteArray>
#include <QString>

struct TManifestEntry {
    qint64 Size = 0;
    // Lower-case hexadecimal. Empty in a record of a folder on this machine when the stamp alone
    // vouched for the file: its hash is taken from the target's own copy when first needed.
    QByteArray Sha256;
    // The local file's device, inode and change time when it was hashed. Any write, rename or
    // attribute change moves the change time, so an equal stamp vouches for the earlier hash.
    // Empty when unknown.
    QByteArray SourceStamp;

    // The same content; the stamp is no part of it.
    bool operator==(const TManifestEntry& other) const {
        return Size == other.Size && Sha256 == other.Sha256;
    }
};

// SHA-256 fed piece by piece, for hashing what is read anyway.
class TSha256 {
public:
    // Raises EAppError when the hash cannot be set up.
    TSha256();
    ~TSha256();
    TSha256(const TSha256&) = delete;
    TSha256& operator=(const TSha256&) = delete;

    void Add(const void* data, size_t size);
    // Lower-case hexadecimal; ends the hash.
    QByteArray HexDigest();

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

// The stamp of a local file as fstat or stat gave it, taken before its content is read.
QByteArray LocalFileStamp(const struct stat& status);

// Hashes the file in large blocks; raises EAppError when it cannot be read.
TManifestEntry HashLocalFile(const QString& path);
// `known` when it was made from this very file, unchanged since; nothing otherwise, also when the
// file cannot be looked at. Never reads the content.
std::optional<TManifestEntry> KnownLocalEntry(const QString& path, const TManifestEntry* known);

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
