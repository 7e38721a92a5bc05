// The one clock of the device transport: every pause goes through sleepMs.
// The application links the real clock (library kc_time_real); tests link the virtual clock
// (kc_time_virtual), so a 500 ms command costs nothing and every pause still shows in the transcript.
#pragma once

#include <cstdint>

namespace kc {

// Pauses the calling thread for ms milliseconds (real), or advances the virtual clock by ms.
void sleepMs(unsigned ms);

// Milliseconds since the clock started: real monotonic time, or the virtual clock.
std::int64_t nowMs();

} // namespace kc

// The virtual clock also exports these C symbols, so the virtual mouse (a separate shared library,
// possibly preloaded) can find it with dlsym(RTLD_DEFAULT, ...) and stamp its transcript in virtual
// time, or let a read time-out pass in virtual time. The real clock does not define them.
extern "C" {
std::int64_t kc_virtual_clock_ms();
void kc_virtual_clock_advance(unsigned ms);
}
