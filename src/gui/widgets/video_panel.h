// Trovecart - the black panel the media player draws into.
#pragma once

#include <QImage>
#include <QWidget>

#include "media/player_frame_sink.h"

// Paints the latest picture scaled to fit with its aspect ratio, centred on black; black with
// the caption without a picture.
class TVideoPanel : public QWidget, public TFrameSink {
    Q_OBJECT

public:
    explicit TVideoPanel(QWidget* parent = nullptr);

    void ShowFrame(const QImage& frame) override;
    void ClearFrame() override;
    const QImage& Frame() const { return frame_; }
    // Shown in the middle while there is no picture.
    void SetCaption(const QString& caption);
    const QString& Caption() const { return caption_; }

    // Where a picture of `pictureSize` lands inside `area`.
    static QRect FitRect(const QSize& pictureSize, const QRect& area);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage frame_;
    QString caption_;
};
