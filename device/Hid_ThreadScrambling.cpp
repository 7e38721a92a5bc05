// Report scrambling with the per-device secrecy code, and the probe that checks a device answers.
#include "Hid_Thread.h"

#include <QDateTime>
#include <QDebug>
#include <QRandomGenerator>
#include <utility>

namespace {

// The fixed half of the key, the same for every device.
constexpr uchar FixedKey[8] = {'K', 'a', 'M', 'p', 'V', 'o', 'R', 'e'};

constexpr uchar swapNibbles(uchar b)
{
    return uchar((b << 4) | (b >> 4));
}

void swapPairs(uchar *b)
{
    std::swap(b[0], b[5]);
    std::swap(b[1], b[4]);
    std::swap(b[2], b[7]);
    std::swap(b[3], b[6]);
}

void xorCode(uchar *b, const uchar *code)
{
    for (int i = 1; i <= 6; ++i)
        b[i] ^= code[i];
}

} // namespace

void Hid_Thread::USBDataEncryption(uchar *FIFOBuf, uchar *SecrecyCode)
{
    uchar *b = FIFOBuf;
    swapPairs(b);
    xorCode(b, SecrecyCode);
    // Rotate the 8 bytes, read big-endian, left by 3 bits.
    const uchar first = b[0];
    for (int i = 0; i < 7; ++i)
        b[i] = uchar((b[i] << 3) | (b[i + 1] >> 5));
    b[7] = uchar((b[7] << 3) | (first >> 5));
    for (int i = 0; i < 8; ++i)
        b[i] = uchar(b[i] + swapNibbles(FixedKey[i]));
}

void Hid_Thread::USBDataDecipher(uchar *FIFOBuf, uchar *SecrecyCode)
{
    uchar *b = FIFOBuf;
    for (int i = 0; i < 8; ++i)
        b[i] = uchar(b[i] - swapNibbles(FixedKey[i]));
    const uchar last = b[7];
    for (int i = 7; i > 0; --i)
        b[i] = uchar((b[i] >> 3) | (b[i - 1] << 5));
    b[0] = uchar((b[0] >> 3) | (last << 5));
    xorCode(b, SecrecyCode);
    swapPairs(b);
}

bool Hid_Thread::exchangeSecrecyCode(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    if (!waitHidFree()) {
        qDebug("cmd Failed 00");
        return false;
    }
    buildRequest(0x00, {byte1, byte2, byte3, byte4, 0, 0});
    ansReport.clear();
    hidGet(0);
    byte1 = ansReport[2];
    byte2 = ansReport[3];
    byte3 = ansReport[4];
    byte4 = ansReport[5];
    return true;
}

void Hid_Thread::hid553_00H_GetSecrecyCode(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    exchangeSecrecyCode(byte1, byte2, byte3, byte4);
}

bool Hid_Thread::chkDeviceIsEnCode(int index)
{
    currentIndex = index;

    const auto seed = quint32(QDateTime::currentSecsSinceEpoch());
    QRandomGenerator random(seed);
    uchar r[4];
    for (uchar &b : r)
        b = uchar(random.generate() & 0xFF);

    DeviceEntry entry;
    if (entryAt(index, entry) && entry.sCode.size() == 6) {
        for (int k = 0; k < 6; ++k)
            SecrecyCode[k + 1] = uchar(entry.sCode.at(k).toLatin1());
    }

    uchar a = r[0], b = r[1], c = r[2], d = r[3];
    // A probe that could not reach the device proves nothing about it.
    if (!exchangeSecrecyCode(a, b, c, d))
        return false;
    return a == r[0] && b == r[1] && c == r[2] && d == r[3];
}
