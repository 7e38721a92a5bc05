// Writes settings into the profile memory copy at their fixed places.
#include "ProfileImage.h"

#include <algorithm>

quint8 ProfileImage::at(uint n, int offset) const
{
    if (!isBlock(n) || offset < 0 || offset >= blockSize)
        return 0;
    return blocks[n][offset];
}

void ProfileImage::clear()
{
    for (auto &b : blocks)
        b.fill(0);
}

bool ProfileImage::repeatsLastWrite(uint n) const
{
    return isBlock(n) && written[n] && *written[n] == blocks[n];
}

void ProfileImage::noteWritten(uint n)
{
    if (isBlock(n))
        written[n] = blocks[n];
}

void ProfileImage::forgetWrites()
{
    written.fill(std::nullopt);
}

void ProfileImage::setGunMask(quint8 mask)
{
    blocks[0][gunMaskOffset] = mask;
}

void ProfileImage::setDpi(const DpiCodes &codes)
{
    for (int n = 1; n <= 4; ++n) {
        auto &b = blocks[n];
        std::copy(codes.codes.begin(), codes.codes.end(), b.begin() + dpiCodesOffset);
        std::copy(codes.codes.begin(), codes.codes.end(), b.begin() + dpiCodesOffset + 8);
        b[dpiEnableOffset] = codes.enableMask;
        if (codes.hasHighBits) {
            b[dpiHighBitsOffset] = codes.highBits;
            b[dpiHighBitsOffset + 1] = codes.highBits;
        }
    }
}

void ProfileImage::setEffect(const LightingEffect &effect)
{
    for (int n = 1; n <= 4; ++n) {
        blocks[n][effectOffset] = effect.effect;
        blocks[n][effectOffset + 1] = effect.parameter;
        blocks[n][effectOffset + 2] = effect.third;
    }
}

void ProfileImage::setEffectThird(uint n, quint8 value)
{
    if (isBlock(n))
        blocks[n][effectOffset + 2] = value;
}

void ProfileImage::setFullColours(const ColourBytes &bytes)
{
    std::copy(bytes.begin(), bytes.end(), blocks[0].begin() + fullColourOffset);
}

void ProfileImage::setSingleColours(const ColourBytes &bytes)
{
    std::copy(bytes.begin(), bytes.end(), blocks[1].begin() + singleColourOffset);
}

int ProfileImage::setGun(int gun, quint8 shots, quint8 x, quint8 y)
{
    if (gun < 1 || gun > 3)
        return -1;
    auto &b = blocks[gun + 1];
    b[gunDataOffset] = 0xF0;
    b[gunDataOffset + 1] = shots;
    b[gunDataOffset + 2] = x;
    b[gunDataOffset + 3] = y;
    b[gunFlagsOffset] &= static_cast<quint8>(~0x04u);
    return gun + 1;
}
