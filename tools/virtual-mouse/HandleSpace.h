// The addresses handed out as hid_device pointers. They point into reserved, inaccessible memory and
// are never handed out twice, so a handle kept after hid_close can always be told from a live one (and
// faults if a caller looks inside it) instead of turning into whichever handle was opened next.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vmouse {

class HandleSpace
{
public:
    HandleSpace() = default;
    HandleSpace(const HandleSpace &) = delete;
    HandleSpace &operator=(const HandleSpace &) = delete;

    // A fresh address, or nullptr when no more address space can be reserved.
    void *next();
    // Whether p was handed out by next() (whether or not it has been closed since).
    bool issued(const void *p) const;

private:
    struct Region
    {
        std::uintptr_t base = 0;
        std::size_t used = 0; // addresses handed out from its start
    };
    std::vector<Region> regions_; // the last one is being handed out
};

} // namespace vmouse
