// The program's copy of a 560-family mouse's profile memory: five blocks of 128 bytes, and where
// each setting lives in them.
#pragma once

#include "SettingBytes.h"

#include <array>
#include <optional>

class ProfileImage
{
public:
    static constexpr int blockCount = 5;
    static constexpr int blockSize = 128;

    // Byte offsets inside a block.
    static constexpr int gunMaskOffset = 2;        // block 0
    static constexpr int fullColourOffset = 24;    // block 0, 24 bytes
    static constexpr int gunFlagsOffset = 65;      // blocks 2 … 4
    static constexpr int effectOffset = 71;        // blocks 1 … 4: effect, parameter, speed
    static constexpr int gunDataOffset = 78;       // blocks 2 … 4: 0xF0, shots, X, Y
    static constexpr int dpiHighBitsOffset = 82;   // blocks 1 … 4, two bytes
    static constexpr int dpiCodesOffset = 84;      // blocks 1 … 4, eight codes twice
    static constexpr int dpiEnableOffset = 100;    // blocks 1 … 4
    static constexpr int singleColourOffset = 104; // block 1, 24 bytes

    static bool isBlock(uint n) { return n < static_cast<uint>(blockCount); }

    // Block n, or null when n is not a block number.
    quint8 *block(uint n) { return isBlock(n) ? blocks[n].data() : nullptr; }
    const quint8 *block(uint n) const { return isBlock(n) ? blocks[n].data() : nullptr; }
    quint8 at(uint n, int offset) const;

    void clear();

    // What block n carried the last time it went to the mouse, kept for one burst of work: writing a
    // block again with the same bytes (the DPI and the effect of one profile change both land in
    // blocks 1 … 4) would only repeat a transfer of about 0.7 s.
    bool repeatsLastWrite(uint n) const;
    void noteWritten(uint n);
    // The burst is over (or the block was read back): the next write goes out whatever it holds.
    void forgetWrites();

    void setGunMask(quint8 mask);
    // Stage codes, enable mask and, when the sensor uses them, the ninth bits, in blocks 1 … 4.
    void setDpi(const DpiCodes &codes);
    // Effect bytes in blocks 1 … 4.
    void setEffect(const LightingEffect &effect);
    void setEffectThird(uint n, quint8 value);
    void setFullColours(const ColourBytes &bytes);
    void setSingleColours(const ColourBytes &bytes);
    // Gun g (1 … 3) lives in block g + 1; returns that block number, or -1 for another g.
    int setGun(int gun, quint8 shots, quint8 x, quint8 y);

private:
    std::array<std::array<quint8, blockSize>, blockCount> blocks{};
    std::array<std::optional<std::array<quint8, blockSize>>, blockCount> written{};
};
