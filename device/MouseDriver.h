// The protocol of one firmware family: how each setting reaches the mouse. One driver is chosen when
// discovery picks the mouse; everything above it (the scene's backend, the command line, the
// listener's set-up) asks the driver and never the family.
#pragma once

#include "SettingBytes.h"

#include <QString>
#include <memory>

class Hid_Thread;

// What the installation says the mouse has.
struct MouseCapabilities
{
    bool isGun = false;      // gun keys and presets; a 560 mouse then keeps blocks 2 … 4 as well
    bool isColorful = false; // eight full colours rather than one lit colour
    bool is55328 = false;    // 553 family: the chip that takes a fixed colour of its own
};

class MouseDriver
{
public:
    // The driver of the family the setting names: "560" the 560 family, anything else the 553 family.
    static std::unique_ptr<MouseDriver> create(const QString &icType, Hid_Thread &worker,
                                               const MouseCapabilities &capabilities);
    // The family's name as the command line shows it.
    static QString familyName(const QString &icType);

    virtual ~MouseDriver() = default;
    const MouseCapabilities &capabilities() const { return caps; }

    // Connection set-up: the keyboard-option bit by which the mouse reports its DPI switches.
    virtual void switchOnEventReports() = 0;
    // Reads what the driver keeps of the mouse's memory; false when something did not come.
    virtual bool readProfileMemory() { return true; }
    // Whether everything read since the mouse was found came (blocks never read would overwrite the
    // mouse's own settings with zeros).
    virtual bool profileMemoryRead() const { return true; }
    // A newly started window begins on the mouse's first profile.
    virtual void startOnFirstProfile() {}

    virtual int activeDpiStage() = 0; // 1-based; 0 when the mouse did not tell
    virtual void setActiveDpiStage(quint8 stage) = 0;
    virtual void setReportRate(quint8 rate) = 0;
    virtual void setDpiStages(int count, const DpiCodes &codes) = 0;
    // The effect as encoded for this mouse's kind of lighting.
    virtual void setLightingEffect(const LightingEffect &effect) = 0;
    virtual void setColours(quint8 type, const ColourBytes &colours) = 0;
    virtual void sendMacro(quint8 macroId, const quint8 *payload128) = 0;
    // Gun 1 … 3: shots, horizontal and vertical correction.
    virtual void sendGun(int gun, quint8 shots, quint8 x, quint8 y) = 0;
    virtual void sendKeyMatrix(const KeyMatrix &matrix, quint8 number) = 0;
    // The main matrix, and with a gun key the gun matrices and the switch to the main one.
    virtual void sendKeyMatrices(const KeyMatrixSet &set) = 0;
    // Matrix 1 … 4 becomes the active one.
    virtual void selectKeyMatrix(int number) = 0;

    // How this family writes the sniper function and gun keys into a key matrix.
    virtual const KeyMatrixDialect &keyMatrixDialect() const = 0;
    // The 560 family's profile memory, block 0 … 4 (the scene's backend reads and writes them by
    // number): nothing where the mouse keeps none.
    virtual void readProfileBlock(uint) {}
    virtual void writeProfileBlock(uint) {}

protected:
    MouseDriver(Hid_Thread &worker, const MouseCapabilities &capabilities)
        : worker(worker), caps(capabilities)
    {
    }

    Hid_Thread &worker;
    const MouseCapabilities caps;
};
