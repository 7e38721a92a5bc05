// Key and button capture: both key tables row by row through the keyboard procedure, repeats and
// special keys, the mouse table, all-or-nothing installation, switching the capture on and off, the
// native message filter, the translation of X key codes, and the own-window fallback.
#include "InputHooks.h"
#include "platform/NativeMessage.h"
#include "platform/PcKeyTranslator.h"
#include "platform/RecordingHookBackend.h"
#include "platform/XInputHookBackend.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QKeyEvent>
#include <QWindow>
#include <QtTest>

// Delivers an event as if it came from the platform (QCoreApplication befriends this function).
bool qt_sendSpontaneousEvent(QObject *receiver, QEvent *event)
{
    return QCoreApplication::sendSpontaneousEvent(receiver, event);
}

namespace {

struct Report
{
    int usage;
    bool down;
};
QList<Report> g_keys;
struct Click
{
    int button;
    bool down;
    int x, y;
};
QList<Click> g_clicks;
int g_native = 0;
const void *g_nativeParam = nullptr;

void onKey(quint8 usage, bool down, void *context)
{
    QCOMPARE(context, reinterpret_cast<void *>(0x1234)); // reported with the registered context
    g_keys.append({usage, down});
}

void onClick(quint8 button, bool down, int x, int y, void *)
{
    g_clicks.append({button, down, x, y});
}

void onNative(const void *lParam, void *)
{
    ++g_native;
    g_nativeParam = lParam;
}

// (scan code, extended) → virtual key, written as the tables are given, range by range.
QList<std::tuple<int, bool, int>> expectedScanRows()
{
    QList<std::tuple<int, bool, int>> rows;
    auto range = [&](int s0, int s1, bool e, int v0) {
        for (int s = s0; s <= s1; ++s)
            rows.append({s, e, v0 + s - s0});
    };
    range(0x01, 0x01, false, 0x1B);
    range(0x02, 0x0A, false, 0x31);
    const int singles[][2] = {
        {0x0B, 0x30}, {0x0C, 0xBD}, {0x0D, 0xBB}, {0x0E, 0x08}, {0x0F, 0x09}, {0x10, 0x51}, {0x11, 0x57},
        {0x12, 0x45}, {0x13, 0x52}, {0x14, 0x54}, {0x15, 0x59}, {0x16, 0x55}, {0x17, 0x49}, {0x18, 0x4F},
        {0x19, 0x50}, {0x1A, 0xDB}, {0x1B, 0xDD}, {0x1C, 0x0D}, {0x1D, 0xA2}, {0x1E, 0x41}, {0x1F, 0x53},
        {0x20, 0x44}, {0x27, 0xBA}, {0x28, 0xDE}, {0x29, 0xC0}, {0x2A, 0xA0}, {0x2B, 0xDC}, {0x2C, 0x5A},
        {0x2D, 0x58}, {0x2E, 0x43}, {0x2F, 0x56}, {0x30, 0x42}, {0x31, 0x4E}, {0x32, 0x4D}, {0x33, 0xBC},
        {0x34, 0xBE}, {0x35, 0xBF}, {0x37, 0x6A}, {0x38, 0xA4}, {0x39, 0x20}, {0x3A, 0x14}, {0x45, 0x13},
        {0x46, 0x91}, {0x4A, 0x6D}, {0x4E, 0x6B}, {0x52, 0x60}, {0x53, 0x6E}, {0x56, 0xE2}, {0x57, 0x7A},
        {0x58, 0x7B}, {0x6E, 0x86}};
    for (const auto &s : singles)
        rows.append({s[0], false, s[1]});
    range(0x21, 0x23, false, 0x46);
    range(0x24, 0x26, false, 0x4A);
    range(0x3B, 0x44, false, 0x70);
    range(0x47, 0x49, false, 0x67);
    range(0x4B, 0x4D, false, 0x64);
    range(0x4F, 0x51, false, 0x61);
    const int extended[][2] = {{0x1C, 0x0E}, {0x1D, 0xA3}, {0x35, 0x6F}, {0x36, 0xA1}, {0x37, 0x2C},
                               {0x38, 0xA5}, {0x45, 0x90}, {0x47, 0x24}, {0x48, 0x26}, {0x49, 0x21},
                               {0x4B, 0x25}, {0x4D, 0x27}, {0x4F, 0x23}, {0x50, 0x28}, {0x51, 0x22},
                               {0x52, 0x2D}, {0x53, 0x2E}, {0x5B, 0x5B}, {0x5D, 0x5D}};
    for (const auto &s : extended)
        rows.append({s[0], true, s[1]});
    return rows;
}

QMap<int, int> expectedUsageRows()
{
    QMap<int, int> rows;
    auto range = [&](int v0, int v1, int u0) {
        for (int v = v0; v <= v1; ++v)
            rows.insert(v, u0 + v - v0);
    };
    const int singles[][2] = {
        {0x08, 0x2A}, {0x09, 0x2B}, {0x0D, 0x28}, {0x0E, 0x58}, {0x13, 0x48}, {0x14, 0x39}, {0x1B, 0x29},
        {0x20, 0x2C}, {0x21, 0x4B}, {0x22, 0x4E}, {0x23, 0x4D}, {0x24, 0x4A}, {0x25, 0x50}, {0x26, 0x52},
        {0x27, 0x4F}, {0x28, 0x51}, {0x2C, 0x46}, {0x2D, 0x49}, {0x2E, 0x4C}, {0x30, 0x27}, {0x5B, 0xE3},
        {0x5C, 0xE7}, {0x5D, 0x65}, {0x60, 0x62}, {0x6A, 0x55}, {0x6B, 0x57}, {0x6D, 0x56}, {0x6E, 0x63},
        {0x6F, 0x54}, {0x90, 0x53}, {0x91, 0x47}, {0xA0, 0xE1}, {0xA1, 0xE5}, {0xA2, 0xE0}, {0xA3, 0xE4},
        {0xA4, 0xE2}, {0xA5, 0xE6}, {0xBA, 0x33}, {0xBB, 0x2E}, {0xBC, 0x36}, {0xBD, 0x2D}, {0xBE, 0x37},
        {0xBF, 0x38}, {0xC0, 0x35}, {0xC1, 0x87}, {0xC2, 0x85}, {0xDB, 0x2F}, {0xDC, 0x31}, {0xDD, 0x30},
        {0xDE, 0x34}, {0xE2, 0x64}, {0xEB, 0x8B}, {0xFF, 0x66}};
    for (const auto &s : singles)
        rows.insert(s[0], s[1]);
    range(0x31, 0x39, 0x1E);
    range(0x41, 0x5A, 0x04);
    range(0x61, 0x69, 0x59);
    range(0x70, 0x7B, 0x3A);
    range(0x7C, 0x87, 0x68);
    return rows;
}

void press(int scan, quint32 flags = 0, quint32 message = 0x100)
{
    InputHooks::keyboardProc(0, message, quint32(scan), flags);
}

void release(int scan, quint32 flags = 0)
{
    InputHooks::keyboardProc(0, 0x101, quint32(scan), flags | 0x80);
}

} // namespace

class TestInputHooks : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        InputHooks::setBackend(&backend);
        InputHooks::install();
        InputHooks::clearKeyDownState();
        InputHooks::setKeyboardCallback(onKey, reinterpret_cast<void *>(0x1234));
        InputHooks::setMouseCallback(onClick, nullptr);
        g_keys.clear();
        g_clicks.clear();
    }
    void cleanup()
    {
        InputHooks::setCapturing(false);
        InputHooks::uninstall();
        InputHooks::setBackend(nullptr);
        backend = RecordingHookBackend();
    }

    void tablesHaveTheirSizes()
    {
        QCOMPARE(InputHooks::scanCodeMap().size(), 105);
        QCOMPARE(InputHooks::usageCodeMap().size(), 121);
        QCOMPARE(expectedScanRows().size(), 105);
        QCOMPARE(expectedUsageRows().size(), 121);
    }

    // Every scan row, pressed and released, reaches the callback as the usage its virtual key maps to.
    void everyScanRowReportsItsUsage()
    {
        const QMap<int, int> usages = expectedUsageRows();
        for (const auto &[scan, extended, vk] : expectedScanRows()) {
            g_keys.clear();
            press(scan, extended ? 1 : 0);
            release(scan, extended ? 1 : 0);
            const int usage = usages.value(vk, 0);
            QVERIFY2(usage != 0, qPrintable(QString::number(vk, 16)));
            QCOMPARE(g_keys.size(), 2);
            QCOMPARE(g_keys[0].usage, usage);
            QVERIFY(g_keys[0].down);
            QCOMPARE(g_keys[1].usage, usage);
            QVERIFY(!g_keys[1].down);
        }
    }

    // The usage table as such, for keys that no scan code reaches.
    void usageTableRows()
    {
        const QMap<int, int> expected = expectedUsageRows();
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(int(InputHooks::usageCodeMap().value(quint8(it.key()))), it.value());
    }

    void repeatsAndStrayReleasesReportNothing()
    {
        press(0x1E);
        press(0x1E);
        press(0x1E, 0, 0x104);
        release(0x1E);
        release(0x1E);
        QCOMPARE(g_keys.size(), 2);
        QVERIFY(g_keys[0].down && !g_keys[1].down);

        g_keys.clear();
        release(0x30); // held before start-up
        QVERIFY(g_keys.isEmpty());
        // A non-zero hook code counts as a release.
        InputHooks::keyboardProc(1, 0x100, 0x30, 0);
        QVERIFY(g_keys.isEmpty());
    }

    void specialKeys()
    {
        auto usageOf = [](int scan, quint32 flags) {
            g_keys.clear();
            press(scan, flags);
            release(scan, flags);
            return g_keys.isEmpty() ? 0 : g_keys.first().usage;
        };
        QCOMPARE(usageOf(0x1D, 0), 0xE0);    // left Ctrl
        QCOMPARE(usageOf(0x1D, 1), 0xE4);    // right Ctrl
        QCOMPARE(usageOf(0x1C, 1), 0x58);    // keypad Enter
        QCOMPARE(usageOf(0x1C, 0), 0x28);    // Enter
        QCOMPARE(usageOf(0x45, 0), 0x48);    // Pause
        QCOMPARE(usageOf(0x45, 1), 0x53);    // Num Lock
        QCOMPARE(usageOf(0x46, 1), 0x48);    // Ctrl+Break
        QCOMPARE(usageOf(0x46, 0), 0x47);    // Scroll Lock
        QCOMPARE(usageOf(0x54, 0x20), 0x46); // Alt+Print Screen
        QCOMPARE(usageOf(0x37, 1), 0x46);    // Print Screen
        QCOMPARE(usageOf(0x36, 1), 0xE5);    // right Shift comes extended
        QCOMPARE(usageOf(0x36, 0), 0);
        QCOMPARE(usageOf(0x5C, 1), 0); // right Windows key: no scan row
        QCOMPARE(usageOf(0x54, 0), 0);
        QCOMPARE(usageOf(0x7F, 0), 0);
        QCOMPARE(usageOf(0x1E00, 0), 0); // scan codes above 255 count as 0
    }

    void silencedCallbackStillTracksState()
    {
        InputHooks::setKeyboardCallback(nullptr, nullptr);
        press(0x1E);
        QVERIFY(g_keys.isEmpty());
        QVERIFY(InputHooks::keyDownState(0x04));
    }

    void mouseTable()
    {
        for (quint32 m = 0x200; m <= 0x20A; ++m)
            InputHooks::mouseProc(0, m, int(m), -5);
        QCOMPARE(g_clicks.size(), 6);
        const int expected[][3] = {{0xF0, 1, 0x201}, {0xF0, 0, 0x202}, {0xF1, 1, 0x204},
                                   {0xF1, 0, 0x205}, {0xF2, 1, 0x207}, {0xF2, 0, 0x208}};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(g_clicks[i].button, expected[i][0]);
            QCOMPARE(g_clicks[i].down, bool(expected[i][1]));
            QCOMPARE(g_clicks[i].x, expected[i][2]);
            QCOMPARE(g_clicks[i].y, -5);
        }
        // Reported every time, whatever the hook code.
        InputHooks::mouseProc(3, 0x201, 0, 0);
        InputHooks::mouseProc(3, 0x201, 0, 0);
        QCOMPARE(g_clicks.size(), 8);
    }

    void installationIsAllOrNothing()
    {
        InputHooks::uninstall();
        RecordingHookBackend refusing;
        refusing.mouseAvailable = false;
        InputHooks::setBackend(&refusing);
        QVERIFY(!InputHooks::install());
        QVERIFY(!refusing.keyboardInstalled);
        QVERIFY(!InputHooks::isKeyboardHookInstalled());
        QVERIFY(!InputHooks::isMouseHookInstalled());

        RecordingHookBackend fine;
        InputHooks::setBackend(&fine);
        QVERIFY(InputHooks::install());
        QVERIFY(InputHooks::install()); // a second install replaces the hooks
        InputHooks::uninstall();
        QCOMPARE(fine.calls,
                 QStringList({"installKeyboard", "installMouse", "removeKeyboard", "removeMouse",
                              "installKeyboard", "installMouse", "removeKeyboard", "removeMouse"}));
        InputHooks::setBackend(&backend);
    }

    // Only changes reach the source, and installing or removing hooks does not touch the capture.
    void captureSwitchesReachTheSource()
    {
        QVERIFY(!InputHooks::isCapturing());
        InputHooks::setCapturing(false);
        InputHooks::setCapturing(true);
        InputHooks::setCapturing(true);
        QVERIFY(InputHooks::isCapturing());
        QVERIFY(InputHooks::install());
        InputHooks::uninstall();
        InputHooks::setCapturing(false);
        QCOMPARE(
            backend.calls,
            QStringList({"installKeyboard", "installMouse", "startCapture", "removeKeyboard", "removeMouse",
                         "installKeyboard", "installMouse", "removeKeyboard", "removeMouse", "stopCapture"}));
        QVERIFY(!backend.capturing);
    }

    // A key held when a capture ends is let go unseen; the next capture must still see it pressed.
    void keyReleasedBetweenCapturesIsPressedAgain()
    {
        InputHooks::setCapturing(true);
        press(0x1E);
        InputHooks::setCapturing(false); // its release is never delivered
        InputHooks::setCapturing(true);
        press(0x1E);
        release(0x1E);
        QCOMPARE(g_keys.size(), 3);
        QVERIFY(g_keys[1].down);
        QVERIFY(!g_keys[2].down);
    }

    void nativeFilterConsumesCopyDataOnly()
    {
        auto *dispatcher = QAbstractEventDispatcher::instance();
        NativeMessage::CopyDataStruct data;
        NativeMessage::Message copy{NativeMessage::CopyData, 0, &data};
        NativeMessage::Message other{0x0219, 0, nullptr};
        qintptr result = 0;

        g_native = 0;
        // Nothing registered yet: passed on.
        QVERIFY(!dispatcher->filterNativeEvent(NativeMessage::eventType(), &copy, &result));
        InputHooks::setNativeMessageFilter(onNative, qApp, nullptr);
        QVERIFY(dispatcher->filterNativeEvent(NativeMessage::eventType(), &copy, &result));
        QCOMPARE(result, qintptr(1));
        QCOMPARE(g_native, 1);
        QCOMPARE(g_nativeParam, static_cast<const void *>(&data));
        QVERIFY(!dispatcher->filterNativeEvent(NativeMessage::eventType(), &other, &result));
        QVERIFY(!dispatcher->filterNativeEvent("xcb_generic_event_t", &copy, &result));
        // Registering again replaces the filter rather than adding a second one.
        InputHooks::setNativeMessageFilter(onNative, qApp, nullptr);
        QVERIFY(dispatcher->filterNativeEvent(NativeMessage::eventType(), &copy, &result));
        QCOMPARE(g_native, 2);
        InputHooks::setNativeMessageFilter(nullptr, qApp, nullptr);
        QVERIFY(!dispatcher->filterNativeEvent(NativeMessage::eventType(), &copy, &result));
        InputHooks::setNativeMessageFilter(nullptr, nullptr, nullptr);
    }

    void xKeyCodesBecomePcScanCodes()
    {
        PcKeyTranslator t;
        auto key = [&](int linuxKey, bool down = true) { return t.translate(quint32(linuxKey + 8), down); };
        QCOMPARE(key(30).scanCode, 0x1Eu); // A
        QCOMPARE(key(30).flags, 0u);
        QCOMPARE(key(30).message, PcKeyTranslator::KeyDown);
        QCOMPARE(key(69).scanCode, 0x45u); // Num Lock, extended
        QCOMPARE(key(69).flags & 1, 1u);
        QCOMPARE(key(119).scanCode, 0x45u); // Pause, plain
        QCOMPARE(key(119).flags & 1, 0u);
        QCOMPARE(key(99).scanCode, 0x37u); // Print Screen, extended
        QCOMPARE(key(99).flags & 1, 1u);
        QCOMPARE(key(96).scanCode, 0x1Cu); // keypad Enter, extended
        QCOMPARE(key(96).flags & 1, 1u);
        QCOMPARE(key(97).scanCode, 0x1Du);  // right Ctrl
        QCOMPARE(key(100).scanCode, 0x38u); // right Alt
        QCOMPARE(key(125).scanCode, 0x5Bu); // Windows keys
        QCOMPARE(key(126).scanCode, 0x5Cu);
        QCOMPARE(key(127).scanCode, 0x5Du); // Menu
        QCOMPARE(key(54).scanCode, 0x36u);  // right Shift
        QCOMPARE(key(54).flags & 1, 1u);
        QCOMPARE(key(240).scanCode, 0u); // no PC key
        QCOMPARE(t.translate(3, true).scanCode, 0u);

        // Alt held: system-key messages and the Alt-down flag, until it is released.
        PcKeyTranslator alt;
        alt.translate(56 + 8, true);
        const auto withAlt = alt.translate(99 + 8, true);
        QCOMPARE(withAlt.message, PcKeyTranslator::SysKeyDown);
        QCOMPARE(withAlt.flags & PcKeyTranslator::FlagAltDown, PcKeyTranslator::FlagAltDown);
        alt.translate(56 + 8, false);
        const auto up = alt.translate(99 + 8, false);
        QCOMPARE(up.message, PcKeyTranslator::KeyUp);
        QCOMPARE(up.flags & PcKeyTranslator::FlagAltDown, 0u);
        QCOMPARE(up.flags & PcKeyTranslator::FlagUp, PcKeyTranslator::FlagUp);
    }

    // Translated X codes through the procedure: the pieces agree with each other.
    void translatedKeysReachTheirUsages()
    {
        PcKeyTranslator t;
        auto usageOf = [&](int linuxKey) {
            g_keys.clear();
            auto down = t.translate(quint32(linuxKey + 8), true);
            InputHooks::keyboardProc(0, down.message, down.scanCode, down.flags);
            auto up = t.translate(quint32(linuxKey + 8), false);
            InputHooks::keyboardProc(0, up.message, up.scanCode, up.flags);
            return g_keys.size() == 2 ? g_keys.first().usage : -1;
        };
        QCOMPARE(usageOf(30), 0x04);  // A
        QCOMPARE(usageOf(28), 0x28);  // Enter
        QCOMPARE(usageOf(96), 0x58);  // keypad Enter
        QCOMPARE(usageOf(69), 0x53);  // Num Lock
        QCOMPARE(usageOf(119), 0x48); // Pause
        QCOMPARE(usageOf(99), 0x46);  // Print Screen
        QCOMPARE(usageOf(97), 0xE4);  // right Ctrl
        QCOMPARE(usageOf(100), 0xE6); // right Alt
        QCOMPARE(usageOf(125), 0xE3); // left Windows key
        QCOMPARE(usageOf(54), 0xE5);  // right Shift
        QCOMPARE(usageOf(102), 0x4A); // Home
        QCOMPARE(usageOf(72), 0x60);  // keypad 8
    }

    // Without an X server the keys and buttons of the program's own windows are reported once each,
    // and the events still reach the window.
    void ownWindowFallback()
    {
        InputHooks::uninstall();
        XInputHookBackend system;
        InputHooks::setBackend(&system);
        auto restore = qScopeGuard([this] {
            InputHooks::setCapturing(false);
            InputHooks::uninstall();
            InputHooks::setBackend(&backend);
        });
        QVERIFY(InputHooks::install());
        QVERIFY(!system.isSystemWide());
        InputHooks::setCapturing(true);

        class KeyWindow : public QWindow
        {
        public:
            int keys = 0;

        protected:
            void keyPressEvent(QKeyEvent *) override { ++keys; }
        } window;
        window.resize(100, 100);
        window.show();

        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 30 + 8, 0, 0, "a");
        qt_sendSpontaneousEvent(&window, &key);
        QKeyEvent forwarded(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, 48 + 8, 0, 0, "b");
        QCoreApplication::sendEvent(&window, &forwarded); // not from the platform: not counted
        QCOMPARE(window.keys, 2);
        QCOMPARE(g_keys.size(), 1);
        QCOMPARE(g_keys.first().usage, 0x04);

        QTest::mouseClick(&window, Qt::RightButton, Qt::NoModifier, QPoint(10, 20));
        QCOMPARE(g_clicks.size(), 2);
        QCOMPARE(g_clicks[0].button, 0xF1);
        QVERIFY(g_clicks[0].down);
        QVERIFY(!g_clicks[1].down);

        // Installed but not capturing: the window's own input is its own.
        InputHooks::setCapturing(false);
        g_keys.clear();
        g_clicks.clear();
        qt_sendSpontaneousEvent(&window, &key);
        QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, QPoint(10, 20));
        QVERIFY(g_keys.isEmpty());
        QVERIFY(g_clicks.isEmpty());
        QCOMPARE(window.keys, 3);

        InputHooks::setCapturing(true);
        InputHooks::uninstall();
        QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, QPoint(10, 20));
        QVERIFY(g_clicks.isEmpty());
    }

private:
    RecordingHookBackend backend;
};

QTEST_MAIN(TestInputHooks)
#include "tst_input_hooks.moc"
