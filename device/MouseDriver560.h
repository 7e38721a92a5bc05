// The 560 family: most settings live in profile memory blocks that the driver keeps a copy of and
// writes back whole.
#pragma once

#include "MouseDriver.h"
#include "ProfileImage.h"

#include <QMetaObject>
#include <initializer_list>

class MouseDriver560 : public MouseDriver
{
public:
    MouseDriver560(Hid_Thread &worker, const MouseCapabilities &capabilities);
    ~MouseDriver560() override;

    static const KeyMatrixDialect &dialect();
    // The copy of the mouse's profile memory.
    ProfileImage &image() { return profileImage; }

    void switchOnEventReports() override;
    bool readProfileMemory() override;
    bool profileMemoryRead() const override { return memoryRead; }
    void startOnFirstProfile() override;
    int activeDpiStage() override;
    void setActiveDpiStage(quint8 stage) override;
    void setReportRate(quint8 rate) override;
    void setDpiStages(int count, const DpiCodes &codes) override;
    void setLightingEffect(const LightingEffect &effect) override;
    void setColours(quint8 type, const ColourBytes &colours) override;
    void sendMacro(quint8 macroId, const quint8 *payload128) override;
    void sendGun(int gun, quint8 shots, quint8 x, quint8 y) override;
    void sendKeyMatrix(const KeyMatrix &matrix, quint8 number) override;
    void sendKeyMatrices(const KeyMatrixSet &set) override;
    void selectKeyMatrix(int number) override;
    const KeyMatrixDialect &keyMatrixDialect() const override { return dialect(); }
    void readProfileBlock(uint n) override;
    void writeProfileBlock(uint n) override;

private:
    // Writes the given blocks, in order; one that repeats its last write of this burst stays.
    void writeBlocks(std::initializer_list<uint> blocks);
    // Block 1, then blocks 2 … 4 on a mouse with gun functions.
    void writeSettingBlocks();
    // 02H: the current profile (which is also the active key matrix), once per burst of work.
    void sendCurrentProfile(int number);

    ProfileImage profileImage;
    bool memoryRead = false;
    int profileSent = 0; // the profile 02H chose in this burst, 0 for none
    QMetaObject::Connection burstEnd;
};
