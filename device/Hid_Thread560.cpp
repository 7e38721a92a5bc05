// The command set of the 560 family: profile blocks and the few settings with commands of their own.
#include "Hid_Thread.h"

#include <QDebug>
#include <cstring>

void Hid_Thread::hid560_81H_GetKeyboardoption(uchar &byte1, uchar &byte2)
{
    runGet("cmd Failed 81", 0x81, {}, {&byte1, &byte2});
}

void Hid_Thread::hid560_82H_GetCurrentProfile(uchar &byte1)
{
    runGet("cmd Failed 82", 0x82, {}, {&byte1});
}

void Hid_Thread::hid560_84H_GetCurrentDPI(uchar &byte1, uchar &byte2)
{
    runGet("cmd Failed 84", 0x84, {byte1, 0, 0, 0, 0, 0}, {&byte1, &byte2});
}

void Hid_Thread::hid560_8CH_readProfile(uchar *src128, uchar profileNo)
{
    if (!src128)
        return;
    if (!waitHidFree()) {
        qDebug("cmd Failed 8c");
        return;
    }
    transport.buildRequest(0x8C, {profileNo, 0, 0, 0, 0, 0});
    transport.ansReport().clear();
    // The caller's bytes stand in for chunks that never arrive.
    std::memcpy(transport.dataBuf(), src128, 128);
    hidGet(128);
    transport.release();
    std::memcpy(src128, transport.dataBuf(), 128);
}

void Hid_Thread::hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2)
{
    runSet("cmd Failed 01", 0x01, {byte1, byte2, 0, 0, 0, 0}, nullptr, 0, false, 8);
}

void Hid_Thread::hid560_02H_SetCurrentProfile(uchar profile)
{
    runSet("cmd Failed 02", 0x02, {profile, 0, 0, 0, 0, 0}, nullptr, 0, false, 8);
}

void Hid_Thread::hid560_03H_SetReportRate(uchar rate)
{
    runRepeated("cmd Failed 03", 0x03, rate);
}

void Hid_Thread::hid560_04H_SetCurrentDPI(uchar stage)
{
    runRepeated("cmd Failed 04", 0x04, stage);
}

void Hid_Thread::hid560_0CH_setProfile(uchar *src128, uchar profileData)
{
    if (!src128)
        return;
    runSet("cmd Failed 0C", 0x0C, {profileData, 128, 0, 0, 0, 0}, src128, 128, true, 0);
}

void Hid_Thread::hid560_0DH_SetKeyMatrix(uchar *src64, uchar indexAddOne)
{
    if (!src64)
        return;
    // 64 bytes of matrix padded with zeros to one 128-byte block.
    uchar block[128] = {};
    std::memcpy(block, src64, 64);
    runSet("cmd Failed 0D", 0x0D, {indexAddOne, 128, 0, 0, 0, 0}, block, 128, true, 0);
}

void Hid_Thread::hid560_0FH_SetMacroKey(uchar macroId, uchar *src128)
{
    if (!src128)
        return;
    runSet("cmd Failed 0F", 0x0F, {macroId, 128, 0, 0, 0, 0}, src128, 128, true, 0);
}
