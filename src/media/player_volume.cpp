// Trovecart - the player's volume applied to 16-bit samples.
#include "media/player_volume.h"

#include <algorithm>

void ScaleSamples(int16_t* samples, size_t count, int volume) {
    volume = std::clamp(volume, 0, kMaxAudioVolume);
    if (volume == kMaxAudioVolume)
        return;
    for (size_t i = 0; i < count; ++i)
        samples[i] = static_cast<int16_t>(samples[i] * volume / kMaxAudioVolume);
}
