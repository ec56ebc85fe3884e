// Trovecart - the player's volume applied to 16-bit samples.
#pragma once

#include <cstddef>
#include <cstdint>

// Volume 0 (silent) to 255 (as decoded); values outside are clamped.
constexpr int kMaxAudioVolume = 255;
constexpr int kDefaultAudioVolume = 128;

void ScaleSamples(int16_t* samples, size_t count, int volume);
