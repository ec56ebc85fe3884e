// Trovecart - picture fitting.
#include "common/picture_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QPainter>

namespace {

// Source index and weight of the first of the two neighbours for one target coordinate.
struct TSampleAxis {
    int first;
    int second;
    double weightSecond;
};

// One axis of the mapping: position = target / (newSize / (oldSize - 1)).
std::vector<TSampleAxis> BuildAxis(int oldSize, int newSize) {
    std::vector<TSampleAxis> axis(static_cast<size_t>(newSize));
    const double scale = oldSize > 1 ? static_cast<double>(newSize) / (oldSize - 1) : 0.0;
    for (int i = 0; i < newSize; ++i) {
        // A one-pixel source has no second sample; it is repeated.
        const double position = scale > 0.0 ? i / scale : 0.0;
        int first = static_cast<int>(position);
        first = std::clamp(first, 0, oldSize - 1);
        const double fraction = position - first;
        axis[static_cast<size_t>(i)] = {first, std::min(first + 1, oldSize - 1), fraction};
    }
    return axis;
}

QImage ToEightBitChannels(const QImage& source, bool keepAlpha) {
    if (keepAlpha)
        return source.convertToFormat(QImage::Format_RGBA8888);
    if (!source.hasAlphaChannel())
        return source.convertToFormat(QImage::Format_RGB888);
    QImage opaque(source.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, source);
    }
    return opaque.convertToFormat(QImage::Format_RGB888);
}

} // namespace

QImage ResamplePicture(const QImage& picture, int newWidth, int newHeight) {
    QImage source = picture;
    if (source.format() != QImage::Format_RGB888 && source.format() != QImage::Format_RGBA8888)
        source = source.convertToFormat(QImage::Format_RGB888);
    const int channels = source.format() == QImage::Format_RGBA8888 ? 4 : 3;

    QImage result(newWidth, newHeight, source.format());
    const std::vector<TSampleAxis> columns = BuildAxis(source.width(), newWidth);
    const std::vector<TSampleAxis> rows = BuildAxis(source.height(), newHeight);

    for (int y = 0; y < newHeight; ++y) {
        const TSampleAxis& row = rows[static_cast<size_t>(y)];
        const uchar* top = source.constScanLine(row.first);
        const uchar* bottom = source.constScanLine(row.second);
        const double rowWeightTop = 1.0 - row.weightSecond;
        uchar* out = result.scanLine(y);
        for (int x = 0; x < newWidth; ++x) {
            const TSampleAxis& column = columns[static_cast<size_t>(x)];
            const double columnWeightLeft = 1.0 - column.weightSecond;
            const int left = column.first * channels;
            const int right = column.second * channels;
            for (int c = 0; c < channels; ++c) {
                const double value = columnWeightLeft * rowWeightTop * top[left + c] +
                                     column.weightSecond * rowWeightTop * top[right + c] +
                                     columnWeightLeft * row.weightSecond * bottom[left + c] +
                                     column.weightSecond * row.weightSecond * bottom[right + c];
                out[x * channels + c] = static_cast<uchar>(std::clamp(std::floor(value + 0.5), 0.0, 255.0));
            }
        }
    }
    return result;
}

void FitPicture(const QImage& source, QImage& target, int boxHeight, int boxWidth, bool sourceIsPng) {
    if (source.isNull() || source.width() <= 0 || source.height() <= 0 || boxHeight <= 0 || boxWidth <= 0) {
        target = QImage();
        return;
    }
    const QImage picture = ToEightBitChannels(source, sourceIsPng && source.hasAlphaChannel());
    const double widthQuotient = static_cast<double>(boxWidth) / picture.width();
    const double heightQuotient = static_cast<double>(boxHeight) / picture.height();
    const double factor = widthQuotient < heightQuotient ? widthQuotient : heightQuotient;
    // A very thin picture keeps at least one pixel in each direction.
    const int newWidth = std::max(1, static_cast<int>(picture.width() * factor));
    const int newHeight = std::max(1, static_cast<int>(picture.height() * factor));
    target = ResamplePicture(picture, newWidth, newHeight);
}
