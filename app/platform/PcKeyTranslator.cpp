// Turns X key codes into PC scan codes and hook flags.
#include "PcKeyTranslator.h"

namespace {

constexpr quint32 Extended = 0x100;

// Linux input codes 1 ... 88 are the set-1 scan codes themselves; the rest are listed.
struct Row
{
    quint16 linuxKey;
    quint16 scan; // with Extended for E0-prefixed keys
};

constexpr Row kOtherKeys[] = {
    {96, 0x1C | Extended},  // keypad Enter
    {97, 0x1D | Extended},  // right Ctrl
    {98, 0x35 | Extended},  // keypad /
    {99, 0x37 | Extended},  // Print Screen (also Alt+Print Screen)
    {100, 0x38 | Extended}, // right Alt
    {102, 0x47 | Extended}, // Home
    {103, 0x48 | Extended}, // Up
    {104, 0x49 | Extended}, // Page Up
    {105, 0x4B | Extended}, // Left
    {106, 0x4D | Extended}, // Right
    {107, 0x4F | Extended}, // End
    {108, 0x50 | Extended}, // Down
    {109, 0x51 | Extended}, // Page Down
    {110, 0x52 | Extended}, // Insert
    {111, 0x53 | Extended}, // Delete
    {113, 0x20 | Extended}, // Mute
    {114, 0x2E | Extended}, // Volume Down
    {115, 0x30 | Extended}, // Volume Up
    {117, 0x59},            // keypad =
    {119, 0x45},            // Pause
    {121, 0x7E},            // keypad ,
    {124, 0x7D},            // Yen
    {125, 0x5B | Extended}, // left Windows key
    {126, 0x5C | Extended}, // right Windows key
    {127, 0x5D | Extended}, // Menu
    {183, 0x64},            // F13 ... F23
    {184, 0x65},
    {185, 0x66},
    {186, 0x67},
    {187, 0x68},
    {188, 0x69},
    {189, 0x6A},
    {190, 0x6B},
    {191, 0x6C},
    {192, 0x6D},
    {193, 0x6E},
    {194, 0x76}, // F24
};

} // namespace

quint32 PcKeyTranslator::scanCodeForLinuxKey(quint32 linuxKey)
{
    if (linuxKey == 54)
        return 0x36 | Extended; // right Shift: PC hooks flag it extended
    if (linuxKey == 69)
        return 0x45 | Extended;
    if (linuxKey >= 1 && linuxKey <= 88)
        return linuxKey;
    for (const Row &row : kOtherKeys) {
        if (row.linuxKey == linuxKey)
            return row.scan;
    }
    return 0;
}

PcKeyTranslator::KeyEvent PcKeyTranslator::translate(quint32 xKeyCode, bool isDown)
{
    const quint32 linuxKey = xKeyCode >= 8 ? xKeyCode - 8 : 0;
    if (linuxKey == 56)
        m_leftAlt = isDown;
    else if (linuxKey == 100)
        m_rightAlt = isDown;

    const quint32 code = scanCodeForLinuxKey(linuxKey);
    const bool alt = m_leftAlt || m_rightAlt;
    KeyEvent event;
    event.scanCode = code & 0xFF;
    event.flags = ((code & Extended) ? FlagExtended : 0) | (alt ? FlagAltDown : 0) | (isDown ? 0 : FlagUp);
    if (isDown)
        event.message = alt ? SysKeyDown : KeyDown;
    else
        event.message = alt ? SysKeyUp : KeyUp;
    return event;
}
