// System-wide capture through XInput2 raw events on a private Xvfb server, driven by xdotool: keys
// and buttons pressed anywhere on the X server reach the callbacks as usages and button codes while
// capturing; otherwise the server is asked for none and sends none. The pointer speed reaches the
// server's pointer devices through their XInput properties.
#include "InputHooks.h"
#include "LinuxPointerSettings.h"
#include "PrivateXServer.h"
#include "XInputPointerSpeed.h"
#include "platform/XInputHookBackend.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QtGui/qguiapplication_platform.h>
#include <QtTest>

#include <xcb/xinput.h>

#include <cstdlib>
#include <cstring>

namespace {

QList<QPair<int, bool>> g_keys;
QList<QPair<int, bool>> g_buttons;

void onKey(quint8 usage, bool down, void *)
{
    g_keys.append({usage, down});
}

void onButton(quint8 button, bool down, int, int, void *)
{
    g_buttons.append({button, down});
}

bool xdotool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    return p.waitForFinished(5000) && p.exitCode() == 0;
}

// The raw key and button events this client has selected on the root window, as the server says.
uint32_t selectedRawEvents()
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    if (!c)
        return ~0u;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_input_xi_get_selected_events_reply_t *reply =
        xcb_input_xi_get_selected_events_reply(c, xcb_input_xi_get_selected_events(c, root), nullptr);
    if (!reply)
        return ~0u;
    const uint32_t raw = XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE |
                         XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS |
                         XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE;
    uint32_t bits = 0;
    for (auto it = xcb_input_xi_get_selected_events_masks_iterator(reply); it.rem;
         xcb_input_event_mask_next(&it)) {
        if (it.data->mask_len > 0)
            bits |= xcb_input_event_mask_mask(it.data)[0] & raw;
    }
    std::free(reply);
    return bits;
}

// The float property `name` of every slave pointer device that has it, as the server holds it.
QList<float> pointerProperty(const char *name)
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    QList<float> values;
    if (!c)
        return values;
    xcb_intern_atom_reply_t *a =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t property = a ? a->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(a);
    if (property == XCB_ATOM_NONE)
        return values;
    xcb_input_xi_query_device_reply_t *devices =
        xcb_input_xi_query_device_reply(c, xcb_input_xi_query_device(c, XCB_INPUT_DEVICE_ALL), nullptr);
    for (auto it = xcb_input_xi_query_device_infos_iterator(devices); devices && it.rem;
         xcb_input_xi_device_info_next(&it)) {
        if (it.data->type != XCB_INPUT_DEVICE_TYPE_SLAVE_POINTER)
            continue;
        xcb_input_xi_get_property_reply_t *reply = xcb_input_xi_get_property_reply(
            c, xcb_input_xi_get_property(c, it.data->deviceid, 0, property, XCB_ATOM_ANY, 0, 1), nullptr);
        if (reply && reply->format == 32 && reply->num_items == 1) {
            float v = 0;
            memcpy(&v, xcb_input_xi_get_property_items(reply), sizeof v);
            values << v;
        }
        std::free(reply);
    }
    std::free(devices);
    return values;
}

} // namespace

class TestXInput : public QObject
{
    Q_OBJECT

private:
    XInputHookBackend *backend = nullptr;

private slots:
    void initTestCase()
    {
        backend = new XInputHookBackend;
        InputHooks::setBackend(backend);
        QVERIFY(InputHooks::install());
        QVERIFY(backend->isSystemWide());
        QCOMPARE(selectedRawEvents(), 0u); // installed, but nothing waits for keys yet
        InputHooks::setCapturing(true);
        InputHooks::setKeyboardCallback(onKey, nullptr);
        InputHooks::setMouseCallback(onButton, nullptr);
    }
    void cleanupTestCase()
    {
        InputHooks::setCapturing(false);
        InputHooks::uninstall();
        InputHooks::setBackend(nullptr);
        delete backend;
    }
    void init()
    {
        InputHooks::clearKeyDownState();
        g_keys.clear();
        g_buttons.clear();
    }

    // Xvfb's pointers have the server's own acceleration and no libinput driver: the speed goes to their
    // constant deceleration, except on a desktop that applies it itself.
    void pointerSpeedReachesTheDevices()
    {
        const QList<float> before = pointerProperty(XInputPointerSpeed::deceleration);
        QVERIFY(!before.isEmpty());
        QVERIFY(pointerProperty(XInputPointerSpeed::libinputSpeed).isEmpty());
        const QByteArray desktop = qgetenv("XDG_CURRENT_DESKTOP");
        qputenv("XDG_CURRENT_DESKTOP", "XFCE");
        LinuxPointerSettings settings(QStringLiteral("org.example.not.installed"), {});
        QVERIFY(settings.setPointerSpeed(20));
        QCOMPARE(settings.lastTargets(), QStringList{"xaccel"});
        QCOMPARE(pointerProperty(XInputPointerSpeed::deceleration), QList<float>(before.size(), 0.25f));
        QVERIFY(settings.setPointerSpeed(1));
        QCOMPARE(pointerProperty(XInputPointerSpeed::deceleration), QList<float>(before.size(), 4.0f));
        QVERIFY(settings.setPointerSpeed(10));
        QCOMPARE(pointerProperty(XInputPointerSpeed::deceleration), QList<float>(before.size(), 1.0f));

        qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
        QVERIFY(!settings.setPointerSpeed(20));
        QCOMPARE(settings.lastTargets(), QStringList());
        QCOMPARE(pointerProperty(XInputPointerSpeed::deceleration), QList<float>(before.size(), 1.0f));
        qputenv("XDG_CURRENT_DESKTOP", desktop);
    }

    void keysAnywhereAreReported_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("usage");
        QTest::newRow("a") << "a" << 0x04;
        QTest::newRow("Return") << "Return" << 0x28;
        QTest::newRow("KP_Enter") << "KP_Enter" << 0x58;
        QTest::newRow("Pause") << "Pause" << 0x48;
        QTest::newRow("Num_Lock") << "Num_Lock" << 0x53;
        QTest::newRow("Print") << "Print" << 0x46;
        QTest::newRow("Control_R") << "Control_R" << 0xE4;
        QTest::newRow("Control_L") << "Control_L" << 0xE0;
        QTest::newRow("Super_L") << "Super_L" << 0xE3;
        QTest::newRow("F12") << "F12" << 0x45;
        QTest::newRow("Home") << "Home" << 0x4A;
    }
    void keysAnywhereAreReported()
    {
        QFETCH(QString, key);
        QFETCH(int, usage);
        QVERIFY(xdotool({"key", key}));
        // xdotool may add a modifier of its own around modifier keys: look at this key's reports.
        auto reportsOf = [usage] {
            QList<bool> states;
            for (const auto &k : g_keys) {
                if (k.first == usage)
                    states << k.second;
            }
            return states;
        };
        QTRY_COMPARE(reportsOf(), QList<bool>({true, false}));
    }

    void heldKeyIsReportedOnce()
    {
        QVERIFY(xdotool({"keydown", "b"}));
        QVERIFY(xdotool({"keydown", "b"}));
        QVERIFY(xdotool({"keyup", "b"}));
        QTRY_COMPARE(g_keys.size(), 2);
        QTest::qWait(50);
        QCOMPARE(g_keys.size(), 2);
    }

    void buttonsAreReported()
    {
        QVERIFY(xdotool({"mousemove", "40", "50"}));
        QVERIFY(xdotool({"click", "1"}));
        QVERIFY(xdotool({"click", "3"}));
        QVERIFY(xdotool({"click", "2"}));
        QVERIFY(xdotool({"click", "4"})); // the wheel is not reported
        QTRY_COMPARE(g_buttons.size(), 6);
        const QList<QPair<int, bool>> expected = {{0xF0, true},  {0xF0, false}, {0xF1, true},
                                                  {0xF1, false}, {0xF2, true},  {0xF2, false}};
        QCOMPARE(g_buttons, expected);
    }

    // Not capturing, the server is asked for no raw events and nothing is reported; the key of the
    // capture that follows is the only report, so nothing earlier was merely late.
    void nothingWhileNotCapturing()
    {
        QVERIFY(selectedRawEvents() != 0);
        InputHooks::setCapturing(false);
        QCOMPARE(selectedRawEvents(), 0u);
        QVERIFY(xdotool({"key", "c"}));
        QVERIFY(xdotool({"click", "1"}));
        InputHooks::setCapturing(true);
        QVERIFY(selectedRawEvents() != 0);
        QVERIFY(xdotool({"key", "d"}));
        QTRY_COMPARE(g_keys.size(), 2);
        QCOMPARE(g_keys.first().first, 0x07);
        QVERIFY(g_buttons.isEmpty());
    }

    // A key held while a capture ends and released meanwhile counts as pressed in the next capture.
    void keyReleasedBetweenCapturesIsSeenAgain()
    {
        QVERIFY(xdotool({"keydown", "e"}));
        QTRY_COMPARE(g_keys.size(), 1);
        InputHooks::setCapturing(false);
        QVERIFY(xdotool({"keyup", "e"}));
        InputHooks::setCapturing(true);
        QVERIFY(xdotool({"key", "e"}));
        QTRY_COMPARE(g_keys.size(), 3);
        QCOMPARE(g_keys.at(1), qMakePair(0x08, true));
        QCOMPARE(g_keys.at(2), qMakePair(0x08, false));
    }

    void nothingAfterRemoval()
    {
        InputHooks::uninstall();
        QVERIFY(xdotool({"key", "c"}));
        QVERIFY(xdotool({"click", "1"}));
        QTest::qWait(200);
        QVERIFY(g_keys.isEmpty());
        QVERIFY(g_buttons.isEmpty());
        QVERIFY(InputHooks::install());
        QVERIFY(xdotool({"key", "c"}));
        QTRY_COMPARE(g_keys.size(), 2);
    }
};

// Starts a private X server before the application connects to it.
int main(int argc, char *argv[])
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
        QStandardPaths::findExecutable("xdotool").isEmpty()) {
        std::printf("SKIP: Xvfb or xdotool missing\n");
        return 0;
    }
    PrivateXServer server(QStringLiteral("640x480x24"));
    if (!server.isRunning()) {
        std::printf("FAIL: no Xvfb server could be started\n");
        return 1;
    }
    qputenv("DISPLAY", server.display().toLatin1());
    qputenv("QT_QPA_PLATFORM", "xcb");
    int result = 0;
    {
        QApplication app(argc, argv);
        TestXInput test;
        result = QTest::qExec(&test, argc, argv);
    }
    return result;
}

#include "tst_xinput.moc"
