// The real clock of the device transport: sleeps and a monotonic millisecond count.
#include "TimeSeam.h"

#include <chrono>
#include <thread>

namespace {
const auto clockStart = std::chrono::steady_clock::now();
}

namespace kc {

void sleepMs(unsigned ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 clockStart)
        .count();
}

} // namespace kc
