// The real clock of the device transport: sleeps and a monotonic millisecond count.
#include "TimeSeam.h"

#include <chrono>
#include <sys/prctl.h>
#include <thread>

namespace {
const auto clockStart = std::chrono::steady_clock::now();
}

namespace kc {

void sleepMs(unsigned ms)
{
    // The kernel may defer a sleeping thread's wake-up by its timer slack (50 us by default); the busy
    // wait sleeps 255 times, so ask for the tightest wake-up once per thread.
    thread_local const bool tightWakeUp = prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
    (void)tightWakeUp;
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 clockStart)
        .count();
}

} // namespace kc
