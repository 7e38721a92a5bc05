// Handle addresses: reserved without access and without backing memory, handed out once each.
#include "HandleSpace.h"

#include <sys/mman.h>

namespace vmouse {

namespace {

constexpr std::size_t kStride = 16;             // keeps every address aligned like a real allocation
constexpr std::size_t kRegionBytes = 64u << 20; // 4 million handles per reservation

} // namespace

void *HandleSpace::next()
{
    if (regions_.empty() || regions_.back().used + kStride > kRegionBytes) {
        void *p =
            ::mmap(nullptr, kRegionBytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (p == MAP_FAILED)
            return nullptr;
        regions_.push_back({reinterpret_cast<std::uintptr_t>(p), 0});
    }
    Region &r = regions_.back();
    void *handle = reinterpret_cast<void *>(r.base + r.used);
    r.used += kStride;
    return handle;
}

bool HandleSpace::issued(const void *p) const
{
    const auto a = reinterpret_cast<std::uintptr_t>(p);
    for (const Region &r : regions_) {
        if (a >= r.base && a < r.base + r.used)
            return (a - r.base) % kStride == 0;
    }
    return false;
}

} // namespace vmouse
