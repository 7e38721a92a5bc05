// The 553 family's settings, each through its own command.
#include "MouseDriver553.h"

#include "Hid_Thread.h"

#include <algorithm>

namespace {

constexpr quint8 StageOff = 0x80;

void markGunKey553(KeyMatrixSet &set, int b, quint8 choice)
{
    if (choice >= 1 && choice <= 3) {
        // Which of the three gun matrices carry this gun, by the chosen gun count.
        static const quint8 table[3][3] = {{0, 0, 0}, {2, 0, 0}, {2, 3, 0}};
        set.main[b + 3] = 1;
        for (int m = 0; m < 3; ++m)
            set.gun[m][b + 3] = table[choice - 1][m];
    }
    set.main[b + 1] = 0;
    set.main[b + 2] = 1;
    for (KeyMatrix &g : set.gun) {
        g[b + 1] = 0;
        g[b + 2] = 1;
    }
}

} // namespace

const KeyMatrixDialect &MouseDriver553::dialect()
{
    static const KeyMatrixDialect d{{7, 0, 4, 1}, markGunKey553};
    return d;
}

void MouseDriver553::switchOnEventReports()
{
    // Starting values matter only when the read gets no answer: the write then carries just the bit.
    uchar byte1 = 0, byte2 = 0, byte3 = 0, byte4 = 0;
    worker.hid553_83H_GetKeyboardoption(byte1, byte2, byte3, byte4);
    byte4 |= 0x40;
    worker.hid553_03H_SetKeyboardoption(byte1, byte2, byte3, byte4);
}

int MouseDriver553::activeDpiStage()
{
    uchar stage = 0;
    worker.hid553_8BH_GetCurrentDPI(stage);
    return stage;
}

void MouseDriver553::setActiveDpiStage(quint8 stage)
{
    worker.hid553_0BH_SetCurrentDPI(stage);
}

void MouseDriver553::setReportRate(quint8 rate)
{
    worker.hid553_01H_SetReportRate(rate);
}

std::array<quint8, 8> MouseDriver553::codesWithStagesOff(const DpiCodes &codes, int count)
{
    std::array<quint8, 8> out = codes.codes;
    for (int i = std::max(count, 0); i < int(out.size()); ++i)
        out[i] = StageOff;
    return out;
}

bool MouseDriver553::eighthColourSet(const ColourBytes &colours)
{
    return colours[21] != 0 || colours[22] != 0 || colours[23] != 0;
}

void MouseDriver553::setDpiStages(int count, const DpiCodes &codes)
{
    // The ninth bits have no place in this command.
    auto sent = codesWithStagesOff(codes, count);
    worker.hid553_11H_SetDPISet(static_cast<uchar>(count), sent.data());
}

void MouseDriver553::setLightingEffect(const LightingEffect &effect)
{
    // A single-colour mouse without the 55328 chip takes 2 as its option, whatever the effect.
    const quint8 third = caps.isColorful || caps.is55328 ? effect.third : 2;
    worker.hid553_0DH_SetRGBLedEffect(effect.effect, effect.parameter, third);
}

void MouseDriver553::setColours(quint8 type, const ColourBytes &colours)
{
    ColourBytes bytes = colours;
    // Sent once: the same colours a second time in a row change nothing on the mouse.
    if (!caps.is55328) {
        worker.hid553_10H_SetLED8StageColor(type, bytes.data());
        return;
    }
    // The 55328 chip takes the eight colours only when the eighth is lit, else the first as its fixed one.
    if (eighthColourSet(bytes))
        worker.hid553_10H_SetLED8StageColor(0, bytes.data());
    else
        worker.hid553_0CH_SetFixLEDColor(bytes.data());
}

void MouseDriver553::sendMacro(quint8 macroId, const quint8 *payload128)
{
    std::array<uchar, 128> copy{};
    std::copy(payload128, payload128 + 128, copy.begin());
    worker.hid553_13H_SetMacroKey(macroId, copy.data());
}

void MouseDriver553::sendGun(int gun, quint8 shots, quint8 x, quint8 y)
{
    uchar option[4] = {0, 0, 0, 0};
    worker.hid553_83H_GetKeyboardoption(option[0], option[1], option[2], option[3]);
    if (option[2] != 0)
        y = static_cast<quint8>(0u - y); // this option turns the vertical correction the other way
    worker.hid553_04H_SetGunData(shots, x, y, static_cast<uchar>(gun - 1));
}

void MouseDriver553::sendKeyMatrix(const KeyMatrix &matrix, quint8 number)
{
    KeyMatrix copy = matrix;
    worker.hid553_12H_SetKeyMatrix(copy.data(), number);
}

void MouseDriver553::sendKeyMatrices(const KeyMatrixSet &set)
{
    sendKeyMatrix(set.main, 1);
    if (!set.hasGunKey)
        return;
    for (int m = 0; m < 3; ++m)
        sendKeyMatrix(set.gun[m], static_cast<quint8>(m + 2));
    worker.hid553_02H_SetCurrentKeyMatrix(1);
}

void MouseDriver553::selectKeyMatrix(int number)
{
    // The command counts the matrices from 0.
    worker.hid553_02H_SetCurrentKeyMatrix(static_cast<uchar>(number - 1));
}
