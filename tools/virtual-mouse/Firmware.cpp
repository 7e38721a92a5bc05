// Command model of both families: requests are checked, applied to the firmware state and answered.
#include "Firmware.h"

#include <algorithm>
#include <cstring>

namespace vmouse {

namespace {

constexpr std::size_t kMaxBulk = 255; // byte 3 of a request announces at most this much

} // namespace

Firmware::Firmware()
{
    reset(553);
}

void Firmware::reset(int family)
{
    state_ = FirmwareState();
    state_.family = family == 560 ? 560 : 553;
    answer_.fill(0);
    noiseSeed_ = 0x1234567u;
    dropTransfers();
}

void Firmware::setProtocol(bool encode, const std::string &scode, int reportLength)
{
    encode_ = encode;
    scode_ = scode;
    reportLength_ = reportLength;
}

void Firmware::dropTransfers()
{
    pendingBulk_ = false;
    pending_ = Pending();
    input_.clear();
}

std::uint8_t Firmware::noise()
{
    noiseSeed_ = noiseSeed_ * 1103515245u + 12345u;
    return static_cast<std::uint8_t>(noiseSeed_ >> 16);
}

void Firmware::setAnswer(std::array<std::uint8_t, 9> plain)
{
    plain[0] = 0;
    plain[8] = checksum(&plain[1]);
    if (garbage_) {
        for (std::size_t i = 1; i < plain.size(); ++i)
            plain[i] = noise();
    }
    if (encode_)
        scramble(&plain[1], scode_);
    answer_ = plain;
}

void Firmware::queueBulkAnswer(const std::uint8_t *data, std::size_t length)
{
    if (neverAnswer_)
        return;
    // Each input report is reportLength + 1 bytes with the data at its start.
    const std::size_t chunk = static_cast<std::size_t>(reportLength_);
    for (std::size_t offset = 0; offset < length; offset += chunk) {
        std::vector<std::uint8_t> report(chunk + 1, 0);
        const std::size_t n = std::min(chunk, length - offset);
        for (std::size_t i = 0; i < n; ++i)
            report[i] = garbage_ ? noise() : data[offset + i];
        input_.push_back(std::move(report));
    }
}

void Firmware::featureReport(const std::uint8_t *data, std::size_t length)
{
    std::array<std::uint8_t, 9> req{};
    std::memcpy(req.data(), data, std::min(length, req.size()));
    if (encode_)
        unscramble(&req[1], scode_);

    // A new request ends whatever the previous one left unfinished.
    if (pendingBulk_)
        ++state_.rejected;
    pendingBulk_ = false;
    input_.clear();

    if (checksum(&req[1]) != req[8]) {
        ++state_.rejected;
        answer_.fill(0);
        return;
    }
    dispatch(req);
}

void Firmware::dispatch(const std::array<std::uint8_t, 9> &req)
{
    const int rejectedBefore = state_.rejected;
    const bool known = state_.family == 560 ? dispatch560(req) : dispatch553(req);
    if (!known) {
        ++state_.rejected;
        answer_.fill(0);
        return;
    }
    if (state_.rejected == rejectedBefore)
        ++state_.commands;
}

void Firmware::expectBulk(const std::array<std::uint8_t, 9> &req, std::size_t length)
{
    pending_ = Pending();
    pending_.code = req[1];
    pending_.request = req;
    pending_.expected = std::min(length, kMaxBulk);
    if (pending_.expected == 0) {
        applyBulk(pending_);
        return;
    }
    pendingBulk_ = true;
}

bool Firmware::dispatch553(const std::array<std::uint8_t, 9> &req)
{
    FirmwareState &s = state_;
    std::array<std::uint8_t, 9> ans = req; // set commands answer with their own request
    switch (req[1]) {
    case 0x00: // echo of the four probe bytes
        ans = {};
        ans[1] = 0x00;
        std::copy(&req[2], &req[6], &ans[2]);
        break;
    case 0x01:
        s.reportRate = req[2];
        break;
    case 0x02:
        s.currentKeyMatrix = req[2];
        break;
    case 0x03:
        std::copy(&req[2], &req[6], s.keyboardOption.begin());
        break;
    case 0x04: {
        const std::uint8_t slot = req[6];
        if (slot >= s.gunData.size()) {
            ++s.rejected;
            break;
        }
        s.gunData[slot] = {req[3], req[4], req[5]};
        break;
    }
    case 0x0B:
        s.currentDpiStage = req[2];
        break;
    case 0x0C:
        s.fixLedColor = {req[2], req[3], req[4]};
        break;
    case 0x0D:
        s.ledEffect = req[2];
        s.ledOption1 = req[3];
        s.ledOption2 = req[4];
        break;
    case 0x10:
    case 0x11:
    case 0x12:
    case 0x13:
        expectBulk(req, req[3]);
        break;
    case 0x83:
        ans = {};
        ans[1] = 0x83;
        std::copy(s.keyboardOption.begin(), s.keyboardOption.end(), &ans[2]);
        break;
    case 0x8B:
        ans = {};
        ans[1] = 0x8B;
        ans[2] = s.currentDpiStage;
        break;
    default:
        return false;
    }
    setAnswer(ans);
    return true;
}

bool Firmware::dispatch560(const std::array<std::uint8_t, 9> &req)
{
    FirmwareState &s = state_;
    std::array<std::uint8_t, 9> ans = req;
    switch (req[1]) {
    case 0x00:
        ans = {};
        ans[1] = 0x00;
        std::copy(&req[2], &req[6], &ans[2]);
        break;
    case 0x01:
        s.keyboardOption[0] = req[2];
        s.keyboardOption[1] = req[3];
        break;
    case 0x02:
        s.currentProfile = req[2];
        break;
    case 0x03:
    case 0x04: {
        const unsigned k = req[2];
        if (k < 1 || k > 4) {
            ++s.rejected;
            break;
        }
        if (req[1] == 0x03) {
            s.reportRateByK[k - 1] = req[3];
            s.reportRate = req[3];
        } else {
            s.dpiStageByK[k - 1] = req[3];
            s.currentDpiStage = req[3];
        }
        break;
    }
    case 0x0C:
    case 0x0D:
    case 0x0F:
        expectBulk(req, req[3]);
        break;
    case 0x81:
        ans = {};
        ans[1] = 0x81;
        ans[2] = s.keyboardOption[0];
        ans[3] = s.keyboardOption[1];
        break;
    case 0x82:
        ans = {};
        ans[1] = 0x82;
        ans[2] = s.currentProfile;
        break;
    case 0x84: {
        const unsigned k = req[2];
        ans = {};
        ans[1] = 0x84;
        ans[2] = req[2];
        ans[3] = k >= 1 && k <= 4 ? s.dpiStageByK[k - 1] : s.currentDpiStage;
        break;
    }
    case 0x8C: {
        ans = {};
        ans[1] = 0x8C;
        ans[2] = req[2];
        ans[3] = 128;
        static const std::array<std::uint8_t, 128> empty{};
        const bool valid = req[2] < s.profileBlock.size();
        if (!valid)
            ++s.rejected; // still answers, with zeros, so the host is not left waiting
        setAnswer(ans);
        queueBulkAnswer(valid ? s.profileBlock[req[2]].data() : empty.data(), 128);
        return true;
    }
    default:
        return false;
    }
    setAnswer(ans);
    return true;
}

void Firmware::outputReport(const std::uint8_t *data, std::size_t length)
{
    if (!pendingBulk_ || length < 2) {
        ++state_.strayWrites;
        return;
    }
    const std::size_t room = pending_.expected - pending_.data.size();
    const std::size_t n = std::min({length - 1, static_cast<std::size_t>(reportLength_), room});
    pending_.data.insert(pending_.data.end(), data + 1, data + 1 + n);
    if (pending_.data.size() < pending_.expected)
        return;
    pendingBulk_ = false;
    applyBulk(pending_);
}

void Firmware::applyBulk(const Pending &p)
{
    FirmwareState &s = state_;
    const std::uint8_t number = p.request[2];
    const std::vector<std::uint8_t> &d = p.data;
    auto copyInto = [&d](std::uint8_t *target, std::size_t capacity) {
        std::fill(target, target + capacity, 0);
        std::copy(d.begin(), d.begin() + static_cast<long>(std::min(capacity, d.size())), target);
    };
    // Key matrices and macros are numbered from 1; a number past them is refused.
    auto intoNumbered = [&](auto &slots) {
        if (number >= 1 && std::size_t{number} <= slots.size())
            copyInto(slots[number - 1].data(), 128);
        else
            ++s.rejected;
    };

    if (s.family == 560) {
        switch (p.code) {
        case 0x0C:
            if (number < s.profileBlock.size())
                copyInto(s.profileBlock[number].data(), 128);
            else
                ++s.rejected;
            break;
        case 0x0D:
            intoNumbered(s.keyMatrix);
            break;
        case 0x0F:
            intoNumbered(s.macro);
            break;
        }
        return;
    }
    switch (p.code) {
    case 0x10:
        s.ledColorType = number;
        s.ledColorLength = static_cast<std::uint8_t>(std::min<std::size_t>(d.size(), 255));
        std::copy(d.begin(), d.begin() + static_cast<long>(std::min<std::size_t>(d.size(), 24)),
                  s.ledColors.begin());
        break;
    case 0x11:
        s.dpiStageCount = number;
        std::copy(d.begin(), d.begin() + static_cast<long>(std::min<std::size_t>(d.size(), 8)),
                  s.dpiCodes.begin());
        break;
    case 0x12:
        intoNumbered(s.keyMatrix);
        break;
    case 0x13:
        intoNumbered(s.macro);
        break;
    }
}

} // namespace vmouse
