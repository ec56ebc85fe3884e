// Trovecart - time codes, transfer rates and time stamps as text.
#pragma once

#include <cstdint>

#include <QDateTime>
#include <QString>

// "HH:MM:SS.mmm" from microseconds; hours may grow beyond two digits.
QString FormatTimeCode(int64_t microseconds);

// "1023Bps", "1.5 Kbps", "2 Mbps", "1.25 Gbps" with the locale's decimal separator.
QString FormatRate(double bitsPerSecond);

// "1023 bytes", "1.5 Kb", "2 Mb", "1.25 Gb" with the locale's decimal separator.
QString FormatFileSize(qint64 bytes);

// Local time as "yyyy-MM-dd_HH-mm-ss_zzz"; names workspaces and media files.
QString FormatTimeStamp(const QDateTime& time);
// The time stamp of now. Two calls in one process never give the same text: a call within the
// millisecond of the previous one takes the next millisecond, so file names built from it stay apart.
QString TimeStamp();
