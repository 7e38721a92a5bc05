// The 553 family: every setting has a command of its own.
#pragma once

#include "MouseDriver.h"

class MouseDriver553 : public MouseDriver
{
public:
    MouseDriver553(Hid_Thread &worker, const MouseCapabilities &capabilities)
        : MouseDriver(worker, capabilities)
    {
    }

    static const KeyMatrixDialect &dialect();
    // The DPI set command's form: stages from the count on are switched off (0x80).
    static std::array<quint8, 8> codesWithStagesOff(const DpiCodes &codes, int count);
    // Whether the eighth colour (bytes 21 … 23) is lit.
    static bool eighthColourSet(const ColourBytes &colours);

    void switchOnEventReports() override;
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
};
