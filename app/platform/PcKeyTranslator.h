// Turns X key codes (Linux input codes + 8) into what a PC keyboard hook sees: the set-1 scan
// code, the extended-key flag and the event flags, so one set of tables serves every platform.
#pragma once

#include <QtGlobal>

class PcKeyTranslator
{
public:
    static constexpr quint32 KeyDown = 0x100;
    static constexpr quint32 KeyUp = 0x101;
    static constexpr quint32 SysKeyDown = 0x104;
    static constexpr quint32 SysKeyUp = 0x105;

    static constexpr quint32 FlagExtended = 0x01;
    static constexpr quint32 FlagAltDown = 0x20;
    static constexpr quint32 FlagUp = 0x80;

    struct KeyEvent
    {
        quint32 message = 0;
        quint32 scanCode = 0; // 0 when the key has no PC scan code
        quint32 flags = 0;
    };

    // Scan code with the extended flag in bit 8, or 0, for a Linux input key code.
    static quint32 scanCodeForLinuxKey(quint32 linuxKey);

    // One key event; keeps track of the Alt keys so later events carry the Alt-down flag.
    KeyEvent translate(quint32 xKeyCode, bool isDown);

private:
    bool m_leftAlt = false;
    bool m_rightAlt = false;
};
