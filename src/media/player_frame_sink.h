// Trovecart - where the player shows its pictures.
#pragma once

#include <QImage>

// Implemented by the display (a widget in the GUI, a recorder in tests). Called on the UI thread
// only. The display must outlive the playback it shows, or be released with TFFPlayer::Stop.
class TFrameSink {
public:
    virtual ~TFrameSink() = default;
    // The picture now on screen; the display keeps it until the next one.
    virtual void ShowFrame(const QImage& frame) = 0;
    // Nothing to show: the display turns black.
    virtual void ClearFrame() = 0;
};
