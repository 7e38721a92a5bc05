// The checksum and scrambling slots, and the probe that checks a device answers.
#include "Hid_Thread.h"

#include <QDateTime>
#include <QDebug>
#include <QRandomGenerator>

uchar Hid_Thread::hidCS(uchar *cmd)
{
    return HidTransport::hidCS(cmd);
}

void Hid_Thread::USBDataEncryption(uchar *FIFOBuf, uchar *SecrecyCode)
{
    HidTransport::scramble(FIFOBuf, SecrecyCode);
}

void Hid_Thread::USBDataDecipher(uchar *FIFOBuf, uchar *SecrecyCode)
{
    HidTransport::unscramble(FIFOBuf, SecrecyCode);
}

bool Hid_Thread::exchangeSecrecyCode(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    if (!waitHidFree()) {
        qDebug("cmd Failed 00");
        return false;
    }
    transport.buildRequest(0x00, {byte1, byte2, byte3, byte4, 0, 0});
    CommandReport &answer = transport.ansReport();
    answer.clear();
    hidGet(0);
    transport.release();
    byte1 = answer[2];
    byte2 = answer[3];
    byte3 = answer[4];
    byte4 = answer[5];
    return true;
}

void Hid_Thread::hid553_00H_GetSecrecyCode(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    exchangeSecrecyCode(byte1, byte2, byte3, byte4);
}

bool Hid_Thread::chkDeviceIsEnCode(int index)
{
    setCurrentIndex(index);

    const auto seed = quint32(QDateTime::currentSecsSinceEpoch());
    QRandomGenerator random(seed);
    uchar r[4];
    for (uchar &b : r)
        b = uchar(random.generate() & 0xFF);

    DeviceEntry entry;
    if (entryAt(index, entry))
        transport.takeSecrecyCode(entry.sCode);

    uchar a = r[0], b = r[1], c = r[2], d = r[3];
    // A probe that could not reach the device proves nothing about it.
    if (!exchangeSecrecyCode(a, b, c, d))
        return false;
    // The interface the probe opened stays open for the commands only when this is the mouse.
    const bool accepted = a == r[0] && b == r[1] && c == r[2] && d == r[3];
    if (!accepted)
        transport.close();
    return accepted;
}
