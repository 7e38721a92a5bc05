// The command set of the 553 family (the probe command 00H lives with the scrambling).
#include "Hid_Thread.h"

void Hid_Thread::hid553_83H_GetKeyboardoption(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    runGet("cmd Failed 83", 0x83, {}, {&byte1, &byte2, &byte3, &byte4});
}

void Hid_Thread::hid553_8BH_GetCurrentDPI(uchar &byte1)
{
    runGet("cmd Failed 8BH", 0x8B, {}, {&byte1});
}

void Hid_Thread::hid553_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    runSet("cmd Failed 03", 0x03, {byte1, byte2, byte3, byte4, 0, 0}, nullptr, 0, false, 8);
}

void Hid_Thread::hid553_04H_SetGunData(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    runSet("cmd Failed 04", 0x04, {0, byte1, byte2, byte3, byte4, 0}, nullptr, 0, false, 8);
}

void Hid_Thread::hid553_01H_SetReportRate(uchar rate)
{
    runSet("cmd Failed 01", 0x01, {rate, 0, 0, 0, 0, 0}, nullptr, 0, true, 0);
}

void Hid_Thread::hid553_0BH_SetCurrentDPI(uchar stage)
{
    runSet("cmd Failed 0B", 0x0B, {stage, 0, 0, 0, 0, 0}, nullptr, 0, true, 0);
}

void Hid_Thread::hid553_12H_SetKeyMatrix(uchar *src64, uchar indexAddOne)
{
    if (!src64)
        return;
    runSet("cmd Failed 12", 0x12, {indexAddOne, 64, 8, 0, 0, 0}, src64, 64, true, 0);
}

void Hid_Thread::hid553_13H_SetMacroKey(uchar macroId, uchar *src128)
{
    if (!src128)
        return;
    runSet("cmd Failed 13", 0x13, {macroId, 128, 0, 0, 0, 0}, src128, 128, true, 0);
}

void Hid_Thread::hid553_11H_SetDPISet(uchar dpiStage, uchar *src8)
{
    if (!src8)
        return;
    runSet("cmd Failed 11", 0x11, {dpiStage, 8, 0, 0, 0, 0}, src8, 8, true, 0);
}

void Hid_Thread::hid553_02H_SetCurrentKeyMatrix(uchar currentKeyMatrix)
{
    runSet("cmd Failed 02", 0x02, {currentKeyMatrix, 0, 0, 0, 0, 0}, nullptr, 0, true, 0);
}

void Hid_Thread::hid553_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2)
{
    runSet("cmd Failed 0D", 0x0D, {effect, option1, option2, 0, 0, 0}, nullptr, 0, true, 0);
}

void Hid_Thread::hid553_0CH_SetFixLEDColor(uchar *src3)
{
    if (!src3)
        return;
    runSet("cmd Failed 0C", 0x0C, {src3[0], src3[1], src3[2], 0, 0, 0}, nullptr, 0, true, 0);
}

void Hid_Thread::hid553_10H_SetLED8StageColor(uchar type, uchar *src24)
{
    if (!src24)
        return;
    // Type 2 carries a single colour record of 4 bytes.
    const uchar length = type == 2 ? 4 : 24;
    runSet("cmd Failed 10", 0x10, {type, length, 0, 0, 0, 0}, src24, length, true, 0);
}
