// Trovecart - a media clock that runs on with the system clock between updates.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>

// Monotonic system time in microseconds.
int64_t SystemTimeUs();

// Read and set from several threads (the sound device's callback, the presenter, the UI).
// A reading is only meaningful for the serial the clock was last set for: after a seek the
// clock is unknown until the first sample or frame of the new serial sets it.
class TPlayClock {
public:
    // Media time in microseconds now, or nothing when the clock belongs to another serial.
    std::optional<int64_t> Get(int currentSerial) const;
    // The clock showed `ptsUs` at system time `atUs`.
    void Set(int64_t ptsUs, int serial, int64_t atUs);
    void Set(int64_t ptsUs, int serial) { Set(ptsUs, serial, SystemTimeUs()); }
    // A paused clock stands still and resumes from where it stopped.
    void SetPaused(bool paused);

private:
    mutable std::mutex mutex_;
    int64_t ptsUs_ = 0;
    int64_t updatedUs_ = 0;
    int serial_ = -1;
    bool paused_ = false;
};
