// Trovecart - entries of a remote directory listing and the parsers of the listing formats.
#pragma once

#include <vector>

#include <QDateTime>
#include <QString>
#include <QStringList>

struct TFtpListItem {
    QString Name;
    bool IsFolder = false;
    // Bytes; 0 for folders when the server gives none.
    qint64 Size = 0;
    // Invalid when the server gave no usable date.
    QDateTime Modified;
};

using TFtpListing = std::vector<TFtpListItem>;

// Both parsers leave out the entries "." and "..", and lines they cannot read. Those lines are added
// to `unreadable` when given; so is a line whose name holds a '/' or a control character, which no
// entry of a single folder can have.

// Machine-readable listing (MLSD), one "fact=value;...; name" line per entry. The entries for the
// directory itself and its parent are left out.
TFtpListing ParseMlsdListing(const QByteArray& text, QStringList* unreadable = nullptr);

// Classic LIST output in the Unix "ls -l" or the DOS "MM-DD-YY  HH:MMAM <DIR> name" layout, told
// apart line by line. A "total 12" line is no entry and no fault. `now` decides the year of Unix
// dates given without one.
TFtpListing ParseListListing(const QByteArray& text, const QDateTime& now = QDateTime::currentDateTime(),
                             QStringList* unreadable = nullptr);
