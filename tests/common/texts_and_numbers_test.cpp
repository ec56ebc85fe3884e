// Trovecart tests - time codes, rates and time stamps.
#include <QDir>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include "common/drive_type.h"
#include "common/time_texts.h"
#include "support/test_helpers.h"

namespace {

TEST(TimeTexts, TimeCode) {
    EXPECT_EQ(FormatTimeCode(3723004000LL), "01:02:03.004");
    EXPECT_EQ(FormatTimeCode(0), "00:00:00.000");
    EXPECT_EQ(FormatTimeCode(999), "00:00:00.000");
    EXPECT_EQ(FormatTimeCode(59999999), "00:00:59.999");
    EXPECT_EQ(FormatTimeCode(360000LL * 1000000), "100:00:00.000");
}

TEST(TimeTexts, RateUsesLocaleAndUnits) {
    TLocaleGuard english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(FormatRate(0), "0Bps");
    EXPECT_EQ(FormatRate(1023.9), "1023Bps");
    EXPECT_EQ(FormatRate(1024), "1 Kbps");
    EXPECT_EQ(FormatRate(1536), "1.5 Kbps");
    EXPECT_EQ(FormatRate(1048575), "1024 Kbps");
    EXPECT_EQ(FormatRate(1048576), "1 Mbps");
    EXPECT_EQ(FormatRate(1048576.0 * 1000.5), "1000.5 Mbps");
    EXPECT_EQ(FormatRate(1048576.0 * 3.14159), "3.14 Mbps");
    EXPECT_EQ(FormatRate(1073741824.0 * 2048), "2048 Gbps");
    TLocaleGuard german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(FormatRate(1536), "1,5 Kbps");
}

TEST(TimeTexts, FileSizes) {
    TLocaleGuard english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(FormatFileSize(0), "0 bytes");
    EXPECT_EQ(FormatFileSize(1023), "1023 bytes");
    EXPECT_EQ(FormatFileSize(1536), "1.5 Kb");
    EXPECT_EQ(FormatFileSize(1048576 + 104858), "1.1 Mb");
    EXPECT_EQ(FormatFileSize(5000000000LL), "4.66 Gb");
}

TEST(DriveType, OpticalAndReadOnlyVolumesCountAsCdRom) {
    EXPECT_TRUE(IsCdRomVolume("iso9660", false));
    EXPECT_TRUE(IsCdRomVolume("UDF", false));
    EXPECT_TRUE(IsCdRomVolume("ext4", true));
    EXPECT_FALSE(IsCdRomVolume("ext4", false));
    // A folder still to be made is judged by the volume it would be made on.
    EXPECT_FALSE(FolderOnCdRom(QDir::tempPath() + "/not/made/yet/"));
}

TEST(TimeTexts, StampsHaveTheFixedShapeAndNeverRepeat) {
    EXPECT_EQ(FormatTimeStamp(QDateTime(QDate(2024, 1, 31), QTime(9, 5, 7, 42))), "2024-01-31_09-05-07_042");
    const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d_\\d{3}$"));
    QSet<QString> seen;
    for (int i = 0; i < 200; ++i) {
        const QString stamp = TimeStamp();
        EXPECT_TRUE(shape.match(stamp).hasMatch()) << stamp.toStdString();
        EXPECT_FALSE(seen.contains(stamp)) << stamp.toStdString();
        seen.insert(stamp);
    }
}

} // namespace
