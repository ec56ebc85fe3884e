// Trovecart - the black panel the media player draws into.
#pragma once

#include <QImage>
#include <QWidget>

#include "media/player_frame_sink.h"

// Paints the latest picture scaled to fit with its aspect ratio, centred on black; black
// without a picture.
class TVideoPanel : public QWidget, public TFrameSink {
    Q_OBJECT

public:
    explicit TVideoPanel(QWidget* parent = nullptr);

    void ShowFrame(const QImage& frame) override;
    void ClearFrame() override;
    const QImage& Frame() const { return frame_; }

    // Where a picture of `pictureSize` lands inside `area`.
    static QRect FitRect(const QSize& pictureSize, const QRect& area);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage frame_;
};
