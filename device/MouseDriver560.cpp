// The 560 family's settings: written into the profile memory copy and sent as whole blocks, apart
// from the few with commands of their own.
#include "MouseDriver560.h"

#include "Hid_Thread.h"

#include <QAbstractEventDispatcher>

namespace {

void markGunKey560(KeyMatrixSet &set, int b, quint8 choice)
{
    if (choice < 1 || choice > 3)
        return;
    static const quint8 table[3][3] = {{0, 0, 0}, {3, 0, 0}, {3, 3, 0}};
    static const quint8 masks[3] = {0x07, 0x0F, 0x1F};
    set.main[b + 2] = 1;
    for (int m = 0; m < 3; ++m)
        set.gun[m][b + 2] = table[choice - 1][m];
    set.gunMask = masks[choice - 1];
}

} // namespace

MouseDriver560::MouseDriver560(Hid_Thread &worker, const MouseCapabilities &capabilities)
    : MouseDriver(worker, capabilities)
{
    // One burst of work (a profile change, a Save) ends when the event loop goes idle.
    if (auto *dispatcher = QAbstractEventDispatcher::instance(worker.thread()))
        burstEnd = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &worker, [this] {
            profileImage.forgetWrites();
            profileSent = 0;
        });
}

MouseDriver560::~MouseDriver560()
{
    QObject::disconnect(burstEnd);
}

const KeyMatrixDialect &MouseDriver560::dialect()
{
    static const KeyMatrixDialect d{{11, 0, 1, 1}, markGunKey560};
    return d;
}

void MouseDriver560::switchOnEventReports()
{
    // Starting values matter only when the read gets no answer: the write then carries just the bit.
    uchar byte1 = 0, byte2 = 0;
    worker.hid560_81H_GetKeyboardoption(byte1, byte2);
    byte1 |= 0x08;
    worker.hid560_01H_SetKeyboardoption(byte1, byte2);
}

bool MouseDriver560::readProfileMemory()
{
    const int failedBefore = worker.failedTransactions();
    readProfileBlock(0);
    readProfileBlock(1);
    if (caps.isGun) {
        readProfileBlock(2);
        readProfileBlock(3);
        readProfileBlock(4);
    }
    memoryRead = worker.failedTransactions() == failedBefore;
    return memoryRead;
}

void MouseDriver560::startOnFirstProfile()
{
    uchar profile = 0;
    worker.hid560_82H_GetCurrentProfile(profile);
    if (profile != 1)
        sendCurrentProfile(1);
}

int MouseDriver560::activeDpiStage()
{
    uchar byte1 = 1, byte2 = 0;
    worker.hid560_84H_GetCurrentDPI(byte1, byte2);
    return byte2;
}

void MouseDriver560::setActiveDpiStage(quint8 stage)
{
    worker.hid560_04H_SetCurrentDPI(stage);
}

void MouseDriver560::setReportRate(quint8 rate)
{
    worker.hid560_03H_SetReportRate(rate);
}

void MouseDriver560::readProfileBlock(uint n)
{
    if (!ProfileImage::isBlock(n))
        return;
    worker.hid560_8CH_readProfile(profileImage.block(n), static_cast<uchar>(n));
    // What was read is the mouse's own; a write after it goes out.
    profileImage.forgetWrites();
}

void MouseDriver560::writeProfileBlock(uint n)
{
    // Only the five blocks exist; a larger number must not reach past the image.
    if (ProfileImage::isBlock(n))
        writeBlocks({n});
}

void MouseDriver560::writeBlocks(std::initializer_list<uint> blocks)
{
    for (uint n : blocks) {
        if (profileImage.repeatsLastWrite(n))
            continue;
        const int failedBefore = worker.failedTransactions();
        worker.hid560_0CH_setProfile(profileImage.block(n), static_cast<uchar>(n));
        if (worker.failedTransactions() == failedBefore)
            profileImage.noteWritten(n);
    }
}

void MouseDriver560::writeSettingBlocks()
{
    writeBlocks({1});
    if (caps.isGun)
        writeBlocks({2, 3, 4});
}

void MouseDriver560::setDpiStages(int, const DpiCodes &codes)
{
    profileImage.setDpi(codes);
    writeSettingBlocks();
}

void MouseDriver560::setLightingEffect(const LightingEffect &effect)
{
    if (caps.isColorful) {
        profileImage.setEffect(effect);
    } else {
        // A single-colour mouse keeps 2 as the third byte; block 1 alone carries 3 without gun functions.
        profileImage.setEffect({effect.effect, effect.parameter, 2});
        if (!caps.isGun)
            profileImage.setEffectThird(1, 3);
    }
    writeSettingBlocks();
}

void MouseDriver560::setColours(quint8, const ColourBytes &colours)
{
    if (caps.isColorful) {
        profileImage.setFullColours(colours);
        writeBlocks({0});
    } else {
        profileImage.setSingleColours(colours);
        writeBlocks({1});
    }
}

void MouseDriver560::sendMacro(quint8 macroId, const quint8 *payload128)
{
    std::array<uchar, 128> copy{};
    std::copy(payload128, payload128 + 128, copy.begin());
    worker.hid560_0FH_SetMacroKey(macroId, copy.data());
}

void MouseDriver560::sendGun(int gun, quint8 shots, quint8 x, quint8 y)
{
    const int block = profileImage.setGun(gun, shots, x, y);
    if (block > 0)
        writeBlocks({uint(block)});
}

void MouseDriver560::sendKeyMatrix(const KeyMatrix &matrix, quint8 number)
{
    KeyMatrix copy = matrix;
    worker.hid560_0DH_SetKeyMatrix(copy.data(), number);
}

void MouseDriver560::sendKeyMatrices(const KeyMatrixSet &set)
{
    if (!set.hasGunKey) {
        sendKeyMatrix(set.main, 1);
        return;
    }
    // The number of gun matrices in use lives in block 0, which goes first.
    if (set.gunMask)
        profileImage.setGunMask(*set.gunMask);
    writeBlocks({0});
    sendKeyMatrix(set.main, 1);
    for (int m = 0; m < 3; ++m)
        sendKeyMatrix(set.gun[m], static_cast<quint8>(m + 2));
    sendCurrentProfile(1);
}

void MouseDriver560::selectKeyMatrix(int number)
{
    sendCurrentProfile(number);
}

void MouseDriver560::sendCurrentProfile(int number)
{
    // Chosen already in this burst of work (the command line's start puts the mouse on its first
    // profile, and the profile it then sends chooses the first again): the mouse is on it.
    if (number == profileSent)
        return;
    const int failedBefore = worker.failedTransactions();
    worker.hid560_02H_SetCurrentProfile(static_cast<uchar>(number));
    profileSent = worker.failedTransactions() == failedBefore ? number : 0;
}
