// Trovecart tests - time codes, rates and time stamps.
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

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
