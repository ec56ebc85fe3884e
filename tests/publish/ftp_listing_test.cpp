// Trovecart tests - parsing of MLSD and LIST output.
#include <QTimeZone>

#include <gtest/gtest.h>

#include "publish/ftp_listing.h"

namespace {

QDateTime Utc(int year, int month, int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), QTimeZone::utc());
}

QDateTime Local(int year, int month, int day, int hour, int minute) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

} // namespace

TEST(FtpListing, MlsdGivesKindSizeAndUtcTimeAndDropsTheDirectoryEntries) {
    const QByteArray text = "type=cdir;modify=20240101000000; .\r\n"
                            "type=pdir;modify=20240101000000; ..\r\n"
                            "type=dir;modify=20240131090507;perm=el; images\r\n"
                            "Type=File;Size=5000000000;Modify=20231224183000.250; big movie.flv\r\n"
                            "type=file;size=0; empty;name.txt\r\n"
                            "type=OS.unix=slink:/etc;size=4; link\r\n";
    const TFtpListing listing = ParseMlsdListing(text);
    ASSERT_EQ(listing.size(), 4u);
    EXPECT_EQ(listing[0].Name, QStringLiteral("images"));
    EXPECT_TRUE(listing[0].IsFolder);
    EXPECT_EQ(listing[0].Modified, Utc(2024, 1, 31, 9, 5, 7));
    EXPECT_EQ(listing[1].Name, QStringLiteral("big movie.flv"));
    EXPECT_FALSE(listing[1].IsFolder);
    EXPECT_EQ(listing[1].Size, 5000000000LL);
    EXPECT_EQ(listing[1].Modified, Utc(2023, 12, 24, 18, 30));
    // The name is everything after the first space, semicolons included.
    EXPECT_EQ(listing[2].Name, QStringLiteral("empty;name.txt"));
    EXPECT_FALSE(listing[2].Modified.isValid());
    EXPECT_FALSE(listing[3].IsFolder);
}

TEST(FtpListing, MlsdNamesAreUtf8) {
    const TFtpListing listing = ParseMlsdListing("type=file;size=3; caf\xc3\xa9.txt\n");
    ASSERT_EQ(listing.size(), 1u);
    EXPECT_EQ(listing[0].Name, QStringLiteral("caf\u00e9.txt"));
}

TEST(FtpListing, UnixListing) {
    const QDateTime now = Local(2024, 3, 10, 12, 0);
    const QByteArray text = "total 24\r\n"
                            "drwxr-xr-x   2 owner group      4096 Jan 31 09:05 .\r\n"
                            "drwxr-xr-x   2 owner group      4096 Jan 31 09:05 ..\r\n"
                            "drwxr-xr-x   2 owner group      4096 Jan 31 09:05 shoppingcart\r\n"
                            "-rw-r--r--   1 owner group  73741824 Dec 24  2022 index.html\r\n"
                            "-rw-r--r--   1 owner      12 Nov  5 23:59 my file.txt\r\n"
                            "lrwxrwxrwx   1 owner group         7 Feb  1 08:00 latest -> archive\r\n"
                            "-rw-r--r--+  1 1001  1001  9000000000 Mar  1 00:00 huge.bin\r\n";
    const TFtpListing listing = ParseListListing(text, now);
    ASSERT_EQ(listing.size(), 5u);
    EXPECT_EQ(listing[0].Name, QStringLiteral("shoppingcart"));
    EXPECT_TRUE(listing[0].IsFolder);
    EXPECT_EQ(listing[0].Modified, Local(2024, 1, 31, 9, 5));
    EXPECT_EQ(listing[1].Name, QStringLiteral("index.html"));
    EXPECT_EQ(listing[1].Size, 73741824);
    EXPECT_EQ(listing[1].Modified, Local(2022, 12, 24, 0, 0));
    // No group column; a date later than now belongs to the year before.
    EXPECT_EQ(listing[2].Name, QStringLiteral("my file.txt"));
    EXPECT_EQ(listing[2].Size, 12);
    EXPECT_EQ(listing[2].Modified, Local(2023, 11, 5, 23, 59));
    EXPECT_EQ(listing[3].Name, QStringLiteral("latest"));
    EXPECT_FALSE(listing[3].IsFolder);
    EXPECT_EQ(listing[4].Size, 9000000000LL);
}

TEST(FtpListing, DosListing) {
    const QByteArray text = "01-31-24  09:05AM       <DIR>          shopping cart\r\n"
                            "12-24-99  12:30PM                 1536 index.html\r\n"
                            "02-29-2024  12:10AM           5000000000 movie.flv\r\n"
                            "03-01-24  21:15                 0 empty.txt\r\n";
    const TFtpListing listing = ParseListListing(text);
    ASSERT_EQ(listing.size(), 4u);
    EXPECT_EQ(listing[0].Name, QStringLiteral("shopping cart"));
    EXPECT_TRUE(listing[0].IsFolder);
    EXPECT_EQ(listing[0].Modified, Local(2024, 1, 31, 9, 5));
    EXPECT_EQ(listing[1].Size, 1536);
    EXPECT_EQ(listing[1].Modified, Local(1999, 12, 24, 12, 30));
    EXPECT_EQ(listing[2].Size, 5000000000LL);
    EXPECT_EQ(listing[2].Modified, Local(2024, 2, 29, 0, 10));
    EXPECT_EQ(listing[3].Modified, Local(2024, 3, 1, 21, 15));
}

TEST(FtpListing, UnreadableLinesAreSkippedAndNamed) {
    QStringList unreadable;
    EXPECT_TRUE(ParseListListing("total 0\r\n\r\nsomething else entirely\r\n", QDateTime::currentDateTime(),
                                 &unreadable)
                    .empty());
    EXPECT_EQ(unreadable, QStringList{"something else entirely"}) << "a total line is no fault";

    // Names that would reach outside the folder when sent back, and MLSD lines without a name.
    unreadable.clear();
    const TFtpListing listing = ParseMlsdListing("type=file;size=1; ../../etc\r\n"
                                                 "type=file;size=1; a\x01b\r\n"
                                                 "type=file;size=1;\r\n"
                                                 "type=cdir; /home/user\r\n"
                                                 "type=file;size=2; fine\r\n",
                                                 &unreadable);
    ASSERT_EQ(listing.size(), 1u);
    EXPECT_EQ(listing[0].Name, QStringLiteral("fine"));
    EXPECT_EQ(unreadable.size(), 3);
}
