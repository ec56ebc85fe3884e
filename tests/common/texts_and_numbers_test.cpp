// Trovecart tests - time codes, rates, time stamps and locale numbers.
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include <QDir>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include "common/drive_type.h"
#include "common/locale_number.h"
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

TEST(LocaleNumbers, WriteAndReadInBothSeparators) {
    {
        TLocaleGuard english(QLocale::English, QLocale::UnitedStates);
        EXPECT_EQ(FormatLocaleReal(12.5), "12.5");
        EXPECT_EQ(FormatLocaleReal(1234567.25), "1234567.25");
        EXPECT_EQ(FormatLocaleReal(0.1 + 0.2), "0.3");
        EXPECT_EQ(FormatLocaleReal(0), "0");
        EXPECT_EQ(ParseLocaleReal(QStringLiteral("12.5")), 12.5);
        EXPECT_EQ(ParseLocaleReal(QStringLiteral(" 3 ")), 3.0);
        EXPECT_FALSE(ParseLocaleReal(QStringLiteral("12,5")));
        EXPECT_FALSE(ParseLocaleReal(QStringLiteral("1,234.5")));
        EXPECT_FALSE(ParseLocaleReal(QStringLiteral("inf")));
        EXPECT_FALSE(ParseLocaleReal(QString()));
    }
    TLocaleGuard german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(FormatLocaleReal(1234567.25), "1234567,25");
    EXPECT_EQ(ParseLocaleReal(QStringLiteral("12,5")), 12.5);
    EXPECT_FALSE(ParseLocaleReal(QStringLiteral("1.500")));
}

// The numbers are converted without QLocale where the locale allows it; the texts must stay
// exactly QLocale's, ties, negative zero and exponents included.
TEST(LocaleNumbers, AgreeWithQLocaleInEveryLocale) {
    std::mt19937_64 random(7);
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  2.5,
                                  1e-5,
                                  1e15,
                                  1e16,
                                  1e21,
                                  0.0001,
                                  -1e-300,
                                  1e300,
                                  238081479647830.5,
                                  9.99,
                                  0.1 + 0.2,
                                  123456.125,
                                  5e-324,
                                  -42.0,
                                  100.0,
                                  999.9999999999999,
                                  9.999999999999999e14,
                                  std::nextafter(1e15, 0.0),
                                  std::numeric_limits<double>::min(),
                                  std::numeric_limits<double>::max()};
    for (int i = 0; i < 20000; ++i) {
        switch (i % 4) {
        case 0:
            values.push_back(static_cast<double>(random() % 1000000) / 100.0);
            break;
        case 1:
            values.push_back(
                std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 120) - 60));
            break;
        case 2:
            // Exact halves at the 16th digit.
            values.push_back(static_cast<double>(random() % (1LL << 50)) + 0.5);
            break;
        default:
            values.push_back(
                -std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 400) - 200));
            break;
        }
    }
    const QStringList texts = {"007",
                               "0.50",
                               "-0",
                               "1.",
                               ".5",
                               "-.5",
                               "+5",
                               "1e5",
                               "1E5",
                               "1,5",
                               "0,5",
                               "1.000,5",
                               "1,234.5",
                               "-",
                               "- 1",
                               "1 5",
                               "12345678901234567890123",
                               "--1",
                               "1-",
                               "٣",
                               "−1",
                               "1.5.1",
                               "00.5",
                               "-0.0"};
    for (const QLocale::Language language :
         {QLocale::C, QLocale::English, QLocale::German, QLocale::Swedish, QLocale::Arabic}) {
        TLocaleGuard guard(language);
        QLocale reference;
        reference.setNumberOptions(QLocale::OmitGroupSeparator);
        for (const double value : values)
            ASSERT_EQ(FormatLocaleReal(value), reference.toString(value, 'g', 15))
                << QLocale().name().toStdString() << " " << value;
        reference.setNumberOptions(QLocale::RejectGroupSeparator);
        QStringList inputs = texts;
        for (size_t i = 0; i < values.size(); i += 7)
            inputs << reference.toString(values[i], 'g', 15) << reference.toString(values[i], 'f', 3);
        for (const QString& text : inputs) {
            bool ok = false;
            const double expected = reference.toDouble(text, &ok);
            const QByteArray utf8 = text.toUtf8();
            for (const std::optional<double>& parsed :
                 {ParseLocaleReal(text), ParseLocaleRealUtf8({utf8.constData(), size_t(utf8.size())})}) {
                ASSERT_EQ(parsed.has_value(), ok && std::isfinite(expected))
                    << QLocale().name().toStdString() << " " << text.toStdString();
                if (parsed) {
                    ASSERT_EQ(*parsed, expected) << text.toStdString();
                    ASSERT_EQ(std::signbit(*parsed), std::signbit(expected)) << text.toStdString();
                }
            }
        }
    }
}

TEST(LocaleNumbers, NonNegative) {
    TLocaleGuard english(QLocale::English, QLocale::UnitedStates);
    EXPECT_FALSE(ParseNonNegative(QStringLiteral("-1")));
    EXPECT_FALSE(ParseNonNegative(QStringLiteral("abc")));
    EXPECT_EQ(ParseNonNegative(QStringLiteral("0")), 0.0);
    EXPECT_EQ(ParseNonNegative(QStringLiteral("19.99")), 19.99);
}

} // namespace
