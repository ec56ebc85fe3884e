// Trovecart - the type names and icons of remote files, shared by every remote folder list.
#pragma once

#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>

// Built on first use; UI thread only. Entries are index-aligned: the extension (lower case), its
// type name and its icon, which serves the small and the large icon views alike.
class TFtpIconTable {
public:
    static constexpr int kFolder = 0;
    static constexpr int kUnknown = 1;

    static TFtpIconTable& Shared();

    // The entry of a file extension (the text from the file name's last '.'), compared without
    // regard to case. An empty extension is kUnknown; one not met before is added with the
    // desktop's type name and icon for it.
    int IndexOfExtension(const QString& extension);
    const QString& TypeName(int index) const { return typeNames_.at(index); }
    const QIcon& Icon(int index) const { return icons_.at(index); }
    int Count() const { return static_cast<int>(extensions_.size()); }

private:
    TFtpIconTable();
    int Add(const QString& extension, const QString& typeName, const QIcon& icon);

    QStringList extensions_;
    QStringList typeNames_;
    QList<QIcon> icons_;
    QHash<QString, int> indexOfExtension_;
};

// The extension of a file name: from its last '.' on, or empty.
QString FileExtension(const QString& name);
