// System-wide key and button events on Linux through XInput2 raw events.
#include "XInputHookBackend.h"

#include "../InputHooks.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDebug>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#if __has_include(<QtGui/qguiapplication_platform.h>)
#include <QtGui/qguiapplication_platform.h>
#endif

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <cstdlib>

namespace {

xcb_connection_t *qtConnection()
{
#if QT_CONFIG(xcb)
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (auto *x11 = app->nativeInterface<QNativeInterface::QX11Application>())
            return x11->connection();
    }
#endif
    return nullptr;
}

int defaultScreenNumber()
{
    const QByteArray display = qgetenv("DISPLAY");
    const int dot = display.lastIndexOf('.');
    const int colon = display.lastIndexOf(':');
    if (dot > colon && colon >= 0)
        return display.mid(dot + 1).toInt();
    return 0;
}

void reportButton(quint32 message, QPoint at)
{
    InputHooks::mouseProc(0, message, at.x(), at.y());
}

} // namespace

XInputHookBackend::XInputHookBackend() = default;

XInputHookBackend::~XInputHookBackend()
{
    if (m_mode == Mode::XInput && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void XInputHookBackend::decideMode()
{
    if (m_mode != Mode::Undecided || !QCoreApplication::instance())
        return;
    auto *connection = qtConnection();
    if (connection && !xcb_connection_has_error(connection)) {
        const xcb_query_extension_reply_t *ext = xcb_get_extension_data(connection, &xcb_input_id);
        if (ext && ext->present) {
            m_connection = connection;
            m_opcode = ext->major_opcode;
            xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
            for (int n = defaultScreenNumber(); n > 0 && it.rem > 1; --n)
                xcb_screen_next(&it);
            m_root = it.data ? it.data->root : 0;
            m_mode = Mode::XInput;
            QCoreApplication::instance()->installNativeEventFilter(this);
            return;
        }
    }
    m_mode = Mode::OwnWindow;
    QCoreApplication::instance()->installEventFilter(this);
    static bool said = false;
    if (!said) {
        said = true;
        qDebug() << "No X server: keys and mouse buttons are seen only in the program's own window";
    }
}

bool XInputHookBackend::selectRawEvents()
{
    if (m_mode != Mode::XInput || !m_root)
        return false;
    struct
    {
        xcb_input_event_mask_t head;
        uint32_t bits;
    } mask;
    mask.head.deviceid = XCB_INPUT_DEVICE_ALL_MASTER;
    mask.head.mask_len = 1;
    mask.bits = 0;
    // Installed and not capturing, the mask stays empty: the request still proves the server takes
    // our selections, and the server sends us nothing.
    if (m_keyboard && m_capturing)
        mask.bits |= XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE;
    if (m_mouse && m_capturing)
        mask.bits |= XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE;
    auto *connection = static_cast<xcb_connection_t *>(m_connection);
    xcb_void_cookie_t cookie = xcb_input_xi_select_events_checked(connection, m_root, 1, &mask.head);
    if (xcb_generic_error_t *error = xcb_request_check(connection, cookie)) {
        std::free(error);
        return false;
    }
    return true;
}

bool XInputHookBackend::installKeyboard()
{
    return install(m_keyboard);
}

bool XInputHookBackend::installMouse()
{
    return install(m_mouse);
}

// Turns one source on; with XInput the server must take the new selection, or it stays off.
bool XInputHookBackend::install(bool &source)
{
    decideMode();
    if (m_mode == Mode::Undecided)
        return false;
    source = true;
    if (m_mode == Mode::XInput && !selectRawEvents()) {
        source = false;
        return false;
    }
    return true;
}

void XInputHookBackend::removeKeyboard()
{
    m_keyboard = false;
    selectRawEvents();
}

void XInputHookBackend::removeMouse()
{
    m_mouse = false;
    selectRawEvents();
}

void XInputHookBackend::setCapturing(bool on)
{
    if (m_capturing == on)
        return;
    m_capturing = on;
    if (m_keyboard || m_mouse)
        selectRawEvents();
}

bool XInputHookBackend::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    // Raw events selected by someone else on Qt's connection are not ours to report.
    if (m_mode != Mode::XInput || !m_capturing || eventType != "xcb_generic_event_t" || !message)
        return false;
    auto *event = static_cast<xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7F) != XCB_GE_GENERIC)
        return false;
    auto *ge = reinterpret_cast<xcb_ge_generic_event_t *>(event);
    if (ge->extension != m_opcode)
        return false;
    switch (ge->event_type) {
    case XCB_INPUT_RAW_KEY_PRESS:
    case XCB_INPUT_RAW_KEY_RELEASE:
        if (m_keyboard) {
            auto *raw = reinterpret_cast<xcb_input_raw_key_press_event_t *>(event);
            const auto key = m_translator.translate(raw->detail, ge->event_type == XCB_INPUT_RAW_KEY_PRESS);
            InputHooks::keyboardProc(0, key.message, key.scanCode, key.flags);
        }
        break;
    case XCB_INPUT_RAW_BUTTON_PRESS:
    case XCB_INPUT_RAW_BUTTON_RELEASE:
        if (m_mouse) {
            auto *raw = reinterpret_cast<xcb_input_raw_button_press_event_t *>(event);
            const bool down = ge->event_type == XCB_INPUT_RAW_BUTTON_PRESS;
            quint32 message = 0;
            if (raw->detail == 1)
                message = down ? 0x201 : 0x202;
            else if (raw->detail == 3)
                message = down ? 0x204 : 0x205;
            else if (raw->detail == 2)
                message = down ? 0x207 : 0x208;
            if (message)
                reportButton(message, QCursor::pos());
        }
        break;
    default:
        break;
    }
    // Observed only: Qt and every other client still get their events.
    return false;
}

bool XInputHookBackend::eventFilter(QObject *watched, QEvent *event)
{
    // Each input event reaches a window once from the platform; copies forwarded inside the
    // program are not spontaneous and are skipped.
    if (m_mode != Mode::OwnWindow || !m_capturing || !watched->isWindowType() || !event->spontaneous())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (m_keyboard) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->nativeScanCode() != 0) {
                const auto pc =
                    m_translator.translate(key->nativeScanCode(), event->type() == QEvent::KeyPress);
                InputHooks::keyboardProc(0, pc.message, pc.scanCode, pc.flags);
            }
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (m_mouse) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            quint32 base = 0;
            if (mouse->button() == Qt::LeftButton)
                base = 0x201;
            else if (mouse->button() == Qt::RightButton)
                base = 0x204;
            else if (mouse->button() == Qt::MiddleButton)
                base = 0x207;
            if (base) {
                const int offset = event->type() == QEvent::MouseButtonPress     ? 0
                                   : event->type() == QEvent::MouseButtonRelease ? 1
                                                                                 : 2;
                reportButton(base + quint32(offset), mouse->globalPosition().toPoint());
            }
        }
        break;
    default:
        break;
    }
    return false;
}
