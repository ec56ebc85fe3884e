// Trovecart - a media clock that runs on with the system clock between updates.
#include "media/player_clock.h"

#include <chrono>

int64_t SystemTimeUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

std::optional<int64_t> TPlayClock::Get(int currentSerial) const {
    std::lock_guard lock(mutex_);
    if (serial_ != currentSerial)
        return std::nullopt;
    if (paused_)
        return ptsUs_;
    return ptsUs_ + (SystemTimeUs() - updatedUs_);
}

void TPlayClock::Set(int64_t ptsUs, int serial, int64_t atUs) {
    std::lock_guard lock(mutex_);
    ptsUs_ = ptsUs;
    updatedUs_ = atUs;
    serial_ = serial;
}

void TPlayClock::SetPaused(bool paused) {
    std::lock_guard lock(mutex_);
    if (paused == paused_)
        return;
    const int64_t now = SystemTimeUs();
    if (paused)
        ptsUs_ += now - updatedUs_;
    updatedUs_ = now;
    paused_ = paused;
}
