// The firmware side of the frame checksum, the report scrambling and the hex helpers.
#include "VirtualMouse.h"

#include <utility>

namespace vmouse {

namespace {

const char kKey[8] = {'K', 'a', 'M', 'p', 'V', 'o', 'R', 'e'};

std::uint8_t swappedNibbles(char c)
{
    const auto b = static_cast<std::uint8_t>(c);
    return static_cast<std::uint8_t>((b << 4) | (b >> 4));
}

std::uint8_t codeByte(const std::string &scode, int position)
{
    // Positions 1-6 carry the six characters; a short code leaves zeros.
    const auto index = static_cast<std::size_t>(position - 1);
    return index < scode.size() && index < 6 ? static_cast<std::uint8_t>(scode[index]) : 0;
}

void swapPairs(std::uint8_t *b)
{
    std::swap(b[0], b[5]);
    std::swap(b[1], b[4]);
    std::swap(b[2], b[7]);
    std::swap(b[3], b[6]);
}

std::uint64_t load(const std::uint8_t *b)
{
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | b[i];
    return v;
}

void store(std::uint64_t v, std::uint8_t *b)
{
    for (int i = 7; i >= 0; --i) {
        b[i] = static_cast<std::uint8_t>(v & 0xFF);
        v >>= 8;
    }
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::uint8_t checksum(const std::uint8_t *bytes7)
{
    unsigned sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += bytes7[i];
    return static_cast<std::uint8_t>(~sum & 0xFF);
}

void scramble(std::uint8_t *b, const std::string &scode)
{
    swapPairs(b);
    for (int i = 1; i <= 6; ++i)
        b[i] ^= codeByte(scode, i);
    const std::uint64_t v = load(b);
    store((v << 3) | (v >> 61), b);
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<std::uint8_t>(b[i] + swappedNibbles(kKey[i]));
}

void unscramble(std::uint8_t *b, const std::string &scode)
{
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<std::uint8_t>(b[i] - swappedNibbles(kKey[i]));
    const std::uint64_t v = load(b);
    store((v >> 3) | (v << 61), b);
    for (int i = 1; i <= 6; ++i)
        b[i] ^= codeByte(scode, i);
    swapPairs(b);
}

std::string toHex(const std::uint8_t *data, std::size_t n)
{
    static const char digits[] = "0123456789abcdef";
    std::string s;
    s.reserve(n * 2);
    for (std::size_t i = 0; i < n; ++i) {
        s.push_back(digits[data[i] >> 4]);
        s.push_back(digits[data[i] & 0x0F]);
    }
    return s;
}

std::vector<std::uint8_t> fromHex(const std::string &hex)
{
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        const int hi = hexValue(hex[i]);
        const int lo = hexValue(hex[i + 1]);
        if (hi < 0 || lo < 0)
            break;
        out.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
    }
    return out;
}

} // namespace vmouse
