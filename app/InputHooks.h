// System-wide key and mouse-button capture: translates PC scan codes to USB keyboard usages,
// drops repeats and hands press/release changes to callbacks; also owns the application's filter
// for native messages (copy-data). One set of process-wide state; events are only observed, never
// swallowed, and only asked of the system while an input of the program captures them.
#pragma once

#include <QMap>
#include <QtGlobal>

class HookBackend;
class QCoreApplication;

class InputHooks
{
public:
    using KeyboardCallback = void (*)(quint8 usageCode, bool isDown, void *context);
    using MouseCallback = void (*)(quint8 buttonCode, bool isDown, int x, int y, void *context);
    using NativeMessageCallback = void (*)(const void *lParam, void *context);

    // Builds both maps, then installs the keyboard hook and the mouse hook, all or nothing.
    static bool install();
    // Removes the keyboard hook, then the mouse hook.
    static void uninstall();
    static bool isKeyboardHookInstalled();
    static bool isMouseHookInstalled();

    // Whether the hooks deliver events: off at start, on only while an input waits for captured
    // keys. Starting forgets the keys seen pressed, whose releases went unseen meanwhile.
    static void setCapturing(bool on);
    static bool isCapturing();

    static void setKeyboardCallback(KeyboardCallback callback, void *context);
    static void setMouseCallback(MouseCallback callback, void *context);
    // Installs the module's filter on the application, dropping the one installed before.
    static void setNativeMessageFilter(NativeMessageCallback callback, QCoreApplication *application,
                                       void *context);

    // Where the events come from; null returns to the system-wide source of this platform.
    // The backend is not owned; set it while not capturing.
    static void setBackend(HookBackend *backend);
    static HookBackend *backend();

    // The hook procedures; backends call them for every event.
    static void keyboardProc(int code, quint32 message, quint32 scanCode, quint32 flags);
    static void mouseProc(int code, quint32 message, int x, int y);

    static const QMap<quint16, quint8> &scanCodeMap();
    static const QMap<quint8, quint8> &usageCodeMap();
    static bool keyDownState(quint8 usageCode);
    // Forgets every key seen pressed (a fresh process starts so).
    static void clearKeyDownState();

    // The button code and pressed flag of a mouse message 0x201 ... 0x208; code 0 is not reported.
    static quint8 mouseButtonCode(quint32 message, bool *pressed = nullptr);
};
