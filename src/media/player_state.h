// Trovecart - what the player reports about itself.
#pragma once

#include <QMetaType>

enum TPlayState {
    psPlay, // a file was opened and plays
    psPause,
    psResume,
    psStep, // a picture was shown while paused (after a seek)
    psStop,
    psEnd, // every stream has played out
};
Q_DECLARE_METATYPE(TPlayState)
