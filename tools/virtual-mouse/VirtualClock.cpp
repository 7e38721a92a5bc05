// The virtual clock: sleeping only moves a shared counter on, so paused code costs no real time.
#include "TimeSeam.h"

#include <atomic>
#include <thread>

namespace {

std::atomic<std::int64_t> virtualNow{0};

} // namespace

namespace kc {

void sleepMs(unsigned ms)
{
    virtualNow.fetch_add(ms);
    // Let other threads (the event listener) run, as a real sleep would.
    std::this_thread::yield();
}

std::int64_t nowMs()
{
    return virtualNow.load();
}

} // namespace kc

extern "C" {

std::int64_t kc_virtual_clock_ms()
{
    return virtualNow.load();
}

void kc_virtual_clock_advance(unsigned ms)
{
    virtualNow.fetch_add(ms);
}
}
