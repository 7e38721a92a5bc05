// The mouse's firmware: answers command reports, takes bulk data and queues bulk answers.
// Not thread-safe: the owner serialises every call.
#pragma once

#include "VirtualMouse.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace vmouse {

class Firmware
{
public:
    Firmware();

    // Power-on state for the family; drops pending transfers and queued input.
    void reset(int family);
    void setProtocol(bool encode, const std::string &scode, int reportLength);
    void setNeverAnswer(bool on) { neverAnswer_ = on; }
    void setGarbageAnswers(bool on) { garbage_ = on; }

    FirmwareState &state() { return state_; }

    // A feature report from the host, as sent (report ID first, scrambled when the device scrambles).
    void featureReport(const std::uint8_t *data, std::size_t length);
    // The 9-byte answer to the last request (report ID 0 first).
    std::array<std::uint8_t, 9> answer() const { return answer_; }
    // An output report from the host (report ID first, then data bytes).
    void outputReport(const std::uint8_t *data, std::size_t length);
    // Input reports waiting for the host's data reads.
    std::deque<std::vector<std::uint8_t>> &input() { return input_; }
    // Forget a half-done bulk transfer and unread input (the mouse was unplugged).
    void dropTransfers();

private:
    struct Pending
    {
        std::uint8_t code = 0;
        std::array<std::uint8_t, 9> request{};
        std::size_t expected = 0;
        std::vector<std::uint8_t> data;
    };

    void dispatch(const std::array<std::uint8_t, 9> &req);
    bool dispatch553(const std::array<std::uint8_t, 9> &req);
    bool dispatch560(const std::array<std::uint8_t, 9> &req);
    void expectBulk(const std::array<std::uint8_t, 9> &req, std::size_t length);
    void applyBulk(const Pending &p);
    void setAnswer(std::array<std::uint8_t, 9> plain);
    void queueBulkAnswer(const std::uint8_t *data, std::size_t length);
    std::uint8_t noise();

    FirmwareState state_;
    bool encode_ = false;
    std::string scode_;
    int reportLength_ = 32;
    bool neverAnswer_ = false;
    bool garbage_ = false;
    std::uint32_t noiseSeed_ = 0x1234567u;
    std::array<std::uint8_t, 9> answer_{};
    bool pendingBulk_ = false;
    Pending pending_;
    std::deque<std::vector<std::uint8_t>> input_;
};

} // namespace vmouse
