// The host side of the tests: builds command frames and runs exchanges through the hidapi functions.
#pragma once

#include "VirtualMouse.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace host {

using Frame = std::array<std::uint8_t, 9>;

// Report ID 0, the command, its parameters, and the checksum (summed here, not by the mouse's code).
Frame frame(std::uint8_t command, std::initializer_list<std::uint8_t> params = {});

// One exchange as the program does it; every call on a freshly opened command handle.
// hostCode: empty sends plain bytes; otherwise bytes 1-8 are scrambled with it (and answers unscrambled).
struct Exchange
{
    std::string hostCode;
    int reportLength = 32;

    bool send(Frame request) const;
    Frame answer() const; // all zero when the call fails
    Frame get(const Frame &request) const { return send(request) ? answer() : Frame{}; }
    bool write(const std::vector<std::uint8_t> &data) const;  // in reports of reportLength + 1
    std::vector<std::uint8_t> read(std::size_t length) const; // empty when a read fails
    bool set(const Frame &request, const std::vector<std::uint8_t> &data = {}) const
    {
        return send(request) && (data.empty() || write(data));
    }
};

std::vector<std::uint8_t> pattern(std::size_t n, std::uint8_t seed);
std::vector<std::uint8_t> bytes(const std::uint8_t *p, std::size_t n);
std::string commandPath();
std::string eventPath();

} // namespace host
