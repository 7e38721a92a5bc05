// System-wide key and mouse-button capture and the native message filter.
#include "InputHooks.h"

#include "platform/HookBackend.h"
#include "platform/NativeMessage.h"
#include "platform/XInputHookBackend.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <array>

namespace {

QMap<quint16, quint8> g_scanCodeMap;
QMap<quint8, quint8> g_usageCodeMap;
std::array<bool, 256> g_keyDownState{};

bool g_keyboardHook = false;
bool g_mouseHook = false;
bool g_capturing = false;

InputHooks::KeyboardCallback g_keyboardCallback = nullptr;
void *g_keyboardContext = nullptr;
InputHooks::MouseCallback g_mouseCallback = nullptr;
void *g_mouseContext = nullptr;
InputHooks::NativeMessageCallback g_nativeCallback = nullptr;
void *g_nativeContext = nullptr;

HookBackend *g_backend = nullptr;

HookBackend *activeBackend()
{
    if (g_backend)
        return g_backend;
    static XInputHookBackend systemBackend;
    return &systemBackend;
}

void addRange(quint8 scanFirst, quint8 scanLast, bool extended, quint8 vkFirst)
{
    for (int s = scanFirst; s <= scanLast; ++s)
        g_scanCodeMap.insert(quint16((s << 8) | (extended ? 1 : 0)), quint8(vkFirst + (s - scanFirst)));
}

void add(quint8 scan, bool extended, quint8 vk)
{
    addRange(scan, scan, extended, vk);
}

void addUsage(quint8 vkFirst, quint8 vkLast, quint8 usageFirst)
{
    for (int vk = vkFirst; vk <= vkLast; ++vk)
        g_usageCodeMap.insert(quint8(vk), quint8(usageFirst + (vk - vkFirst)));
}

void buildScanCodeMap()
{
    g_scanCodeMap.clear();
    add(0x01, false, 0x1B);
    addRange(0x02, 0x0A, false, 0x31);
    add(0x0B, false, 0x30);
    add(0x0C, false, 0xBD);
    add(0x0D, false, 0xBB);
    add(0x0E, false, 0x08);
    add(0x0F, false, 0x09);
    add(0x10, false, 0x51);
    add(0x11, false, 0x57);
    add(0x12, false, 0x45);
    add(0x13, false, 0x52);
    add(0x14, false, 0x54);
    add(0x15, false, 0x59);
    add(0x16, false, 0x55);
    add(0x17, false, 0x49);
    add(0x18, false, 0x4F);
    add(0x19, false, 0x50);
    add(0x1A, false, 0xDB);
    add(0x1B, false, 0xDD);
    add(0x1C, false, 0x0D);
    add(0x1D, false, 0xA2);
    add(0x1E, false, 0x41);
    add(0x1F, false, 0x53);
    add(0x20, false, 0x44);
    addRange(0x21, 0x23, false, 0x46);
    addRange(0x24, 0x26, false, 0x4A);
    add(0x27, false, 0xBA);
    add(0x28, false, 0xDE);
    add(0x29, false, 0xC0);
    add(0x2A, false, 0xA0);
    add(0x2B, false, 0xDC);
    add(0x2C, false, 0x5A);
    add(0x2D, false, 0x58);
    add(0x2E, false, 0x43);
    add(0x2F, false, 0x56);
    add(0x30, false, 0x42);
    add(0x31, false, 0x4E);
    add(0x32, false, 0x4D);
    add(0x33, false, 0xBC);
    add(0x34, false, 0xBE);
    add(0x35, false, 0xBF);
    add(0x37, false, 0x6A);
    add(0x38, false, 0xA4);
    add(0x39, false, 0x20);
    add(0x3A, false, 0x14);
    addRange(0x3B, 0x44, false, 0x70);
    add(0x45, false, 0x13);
    add(0x46, false, 0x91);
    addRange(0x47, 0x49, false, 0x67);
    add(0x4A, false, 0x6D);
    addRange(0x4B, 0x4D, false, 0x64);
    add(0x4E, false, 0x6B);
    addRange(0x4F, 0x51, false, 0x61);
    add(0x52, false, 0x60);
    add(0x53, false, 0x6E);
    add(0x56, false, 0xE2);
    add(0x57, false, 0x7A);
    add(0x58, false, 0x7B);
    add(0x6E, false, 0x86);

    add(0x1C, true, 0x0E); // keypad Enter: a code of our own, unassigned by the keyboard layer
    add(0x1D, true, 0xA3);
    add(0x35, true, 0x6F);
    add(0x36, true, 0xA1);
    add(0x37, true, 0x2C);
    add(0x38, true, 0xA5);
    add(0x45, true, 0x90);
    add(0x47, true, 0x24);
    add(0x48, true, 0x26);
    add(0x49, true, 0x21);
    add(0x4B, true, 0x25);
    add(0x4D, true, 0x27);
    add(0x4F, true, 0x23);
    add(0x50, true, 0x28);
    add(0x51, true, 0x22);
    add(0x52, true, 0x2D);
    add(0x53, true, 0x2E);
    add(0x5B, true, 0x5B);
    add(0x5D, true, 0x5D);
}

void buildUsageCodeMap()
{
    g_usageCodeMap.clear();
    addUsage(0x08, 0x08, 0x2A);
    addUsage(0x09, 0x09, 0x2B);
    addUsage(0x0D, 0x0D, 0x28);
    addUsage(0x0E, 0x0E, 0x58);
    addUsage(0x13, 0x13, 0x48);
    addUsage(0x14, 0x14, 0x39);
    addUsage(0x1B, 0x1B, 0x29);
    addUsage(0x20, 0x20, 0x2C);
    addUsage(0x21, 0x21, 0x4B);
    addUsage(0x22, 0x22, 0x4E);
    addUsage(0x23, 0x23, 0x4D);
    addUsage(0x24, 0x24, 0x4A);
    addUsage(0x25, 0x25, 0x50);
    addUsage(0x26, 0x26, 0x52);
    addUsage(0x27, 0x27, 0x4F);
    addUsage(0x28, 0x28, 0x51);
    addUsage(0x2C, 0x2C, 0x46);
    addUsage(0x2D, 0x2D, 0x49);
    addUsage(0x2E, 0x2E, 0x4C);
    addUsage(0x30, 0x30, 0x27);
    addUsage(0x31, 0x39, 0x1E);
    addUsage(0x41, 0x5A, 0x04);
    addUsage(0x5B, 0x5B, 0xE3);
    addUsage(0x5C, 0x5C, 0xE7);
    addUsage(0x5D, 0x5D, 0x65);
    addUsage(0x60, 0x60, 0x62);
    addUsage(0x61, 0x69, 0x59);
    addUsage(0x6A, 0x6A, 0x55);
    addUsage(0x6B, 0x6B, 0x57);
    addUsage(0x6D, 0x6D, 0x56);
    addUsage(0x6E, 0x6E, 0x63);
    addUsage(0x6F, 0x6F, 0x54);
    addUsage(0x70, 0x7B, 0x3A);
    addUsage(0x7C, 0x87, 0x68);
    addUsage(0x90, 0x90, 0x53);
    addUsage(0x91, 0x91, 0x47);
    addUsage(0xA0, 0xA0, 0xE1);
    addUsage(0xA1, 0xA1, 0xE5);
    addUsage(0xA2, 0xA2, 0xE0);
    addUsage(0xA3, 0xA3, 0xE4);
    addUsage(0xA4, 0xA4, 0xE2);
    addUsage(0xA5, 0xA5, 0xE6);
    addUsage(0xBA, 0xBA, 0x33);
    addUsage(0xBB, 0xBB, 0x2E);
    addUsage(0xBC, 0xBC, 0x36);
    addUsage(0xBD, 0xBD, 0x2D);
    addUsage(0xBE, 0xBE, 0x37);
    addUsage(0xBF, 0xBF, 0x38);
    addUsage(0xC0, 0xC0, 0x35);
    addUsage(0xC1, 0xC1, 0x87);
    addUsage(0xC2, 0xC2, 0x85);
    addUsage(0xDB, 0xDB, 0x2F);
    addUsage(0xDC, 0xDC, 0x31);
    addUsage(0xDD, 0xDD, 0x30);
    addUsage(0xDE, 0xDE, 0x34);
    addUsage(0xE2, 0xE2, 0x64);
    addUsage(0xEB, 0xEB, 0x8B);
    addUsage(0xFF, 0xFF, 0x66);
}

class NativeMessageFilter : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override
    {
        if (eventType != NativeMessage::eventType() || !message)
            return false;
        const auto *msg = static_cast<const NativeMessage::Message *>(message);
        if (msg->message != NativeMessage::CopyData || !g_nativeCallback)
            return false;
        g_nativeCallback(msg->lParam, g_nativeContext);
        if (result)
            *result = 1;
        return true;
    }
};

NativeMessageFilter g_nativeFilter;
QCoreApplication *g_filteredApplication = nullptr;

} // namespace

bool InputHooks::install()
{
    buildScanCodeMap();
    buildUsageCodeMap();
    if (g_keyboardHook || g_mouseHook)
        uninstall();

    HookBackend *source = activeBackend();
    g_keyboardHook = source->installKeyboard();
    g_mouseHook = source->installMouse();
    if (g_keyboardHook && g_mouseHook)
        return true;
    if (g_keyboardHook)
        source->removeKeyboard();
    if (g_mouseHook)
        source->removeMouse();
    g_keyboardHook = false;
    g_mouseHook = false;
    return false;
}

void InputHooks::uninstall()
{
    HookBackend *source = activeBackend();
    if (g_keyboardHook)
        source->removeKeyboard();
    if (g_mouseHook)
        source->removeMouse();
    g_keyboardHook = false;
    g_mouseHook = false;
}

bool InputHooks::isKeyboardHookInstalled()
{
    return g_keyboardHook;
}

bool InputHooks::isMouseHookInstalled()
{
    return g_mouseHook;
}

void InputHooks::setCapturing(bool on)
{
    if (g_capturing == on)
        return;
    g_capturing = on;
    // A key let go while nothing was captured would otherwise stay down, and its next press would
    // count as a repeat.
    if (on)
        clearKeyDownState();
    activeBackend()->setCapturing(on);
}

bool InputHooks::isCapturing()
{
    return g_capturing;
}

void InputHooks::setKeyboardCallback(KeyboardCallback callback, void *context)
{
    g_keyboardCallback = callback;
    g_keyboardContext = context;
}

void InputHooks::setMouseCallback(MouseCallback callback, void *context)
{
    g_mouseCallback = callback;
    g_mouseContext = context;
}

void InputHooks::setNativeMessageFilter(NativeMessageCallback callback, QCoreApplication *application,
                                        void *context)
{
    g_nativeCallback = callback;
    g_nativeContext = context;
    if (g_filteredApplication)
        g_filteredApplication->removeNativeEventFilter(&g_nativeFilter);
    g_filteredApplication = application;
    if (application)
        application->installNativeEventFilter(&g_nativeFilter);
}

void InputHooks::setBackend(HookBackend *backend)
{
    g_backend = backend;
}

HookBackend *InputHooks::backend()
{
    return activeBackend();
}

void InputHooks::keyboardProc(int code, quint32 message, quint32 scanCode, quint32 flags)
{
    const bool isDown = code == 0 && (message == 0x100 || message == 0x104);
    quint32 s = scanCode;
    if (s > 255)
        s = 0;
    const quint16 key = quint16((s << 8) | (flags & 1));
    quint8 vk = g_scanCodeMap.value(key, 0);
    if (s == 0x46 && (flags & 1))
        vk = 0x13; // Ctrl+Break
    if (s == 0x54 && (flags & 0x20))
        vk = 0x2C; // Alt+Print Screen
    if (vk == 0)
        return;
    const quint8 u = g_usageCodeMap.value(vk, 0);
    if (u == 0)
        return;
    if (g_keyDownState[u] != isDown) {
        g_keyDownState[u] = isDown;
        if (g_keyboardCallback)
            g_keyboardCallback(u, isDown, g_keyboardContext);
    }
    // Nothing to pass on: the sources only observe, the event reaches its target regardless.
}

void InputHooks::mouseProc(int /*code*/, quint32 message, int x, int y)
{
    bool pressed = false;
    const quint8 button = mouseButtonCode(message, &pressed);
    if (button != 0 && g_mouseCallback)
        g_mouseCallback(button, pressed, x, y, g_mouseContext);
}

const QMap<quint16, quint8> &InputHooks::scanCodeMap()
{
    return g_scanCodeMap;
}

const QMap<quint8, quint8> &InputHooks::usageCodeMap()
{
    return g_usageCodeMap;
}

bool InputHooks::keyDownState(quint8 usageCode)
{
    return g_keyDownState[usageCode];
}

void InputHooks::clearKeyDownState()
{
    g_keyDownState.fill(false);
}

quint8 InputHooks::mouseButtonCode(quint32 message, bool *pressed)
{
    struct Row
    {
        quint8 code;
        bool pressed;
    };
    static const Row table[8] = {{0xF0, true},  {0xF0, false}, {0, false},   {0xF1, true},
                                 {0xF1, false}, {0, false},    {0xF2, true}, {0xF2, false}};
    if (message < 0x201 || message > 0x208)
        return 0;
    const Row &row = table[message - 0x201];
    if (pressed)
        *pressed = row.pressed;
    return row.code;
}
