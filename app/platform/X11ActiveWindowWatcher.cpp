// The window in front on an X server.
#include "X11ActiveWindowWatcher.h"

#include "ProcessExecutable.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>

#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

// What is read of a window: enough for any real class or title, and no more from a hostile one.
constexpr uint32_t MaxClassBytes = 1024;
constexpr uint32_t MaxTitleBytes = 1024;
constexpr int MaxTitleLength = 200;
constexpr uint32_t MaxWindows = 1024;
// Deeper than any window manager's frames.
constexpr int MaxDepth = 32;

template <typename Reply> struct Freed
{
    Reply *reply;
    ~Freed() { std::free(reply); }
    Reply *operator->() const { return reply; }
    explicit operator bool() const { return reply != nullptr; }
};

} // namespace

X11ActiveWindowWatcher::X11ActiveWindowWatcher(Coverage coverage, const QByteArray &display, QObject *parent)
    : ActiveWindowWatcher(parent), m_coverage(coverage)
{
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0)
        m_host = QByteArray(host);
    int screenNumber = 0;
    m_connection = xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screenNumber);
    if (xcb_connection_has_error(m_connection)) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        m_coverage = Coverage::None;
        return;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    m_root = it.data ? it.data->root : 0;

    m_atoms.activeWindow = atom("_NET_ACTIVE_WINDOW");
    m_atoms.supported = atom("_NET_SUPPORTED");
    m_atoms.clientList = atom("_NET_CLIENT_LIST");
    m_atoms.wmPid = atom("_NET_WM_PID");
    m_atoms.wmName = atom("_NET_WM_NAME");
    m_atoms.utf8 = atom("UTF8_STRING");
    m_atoms.wmState = atom("WM_STATE");
    m_atoms.window = XCB_ATOM_WINDOW;
    m_atoms.cardinal = XCB_ATOM_CARDINAL;
    m_atoms.string = XCB_ATOM_STRING;
    m_atoms.wmClass = XCB_ATOM_WM_CLASS;
    m_atoms.legacyName = XCB_ATOM_WM_NAME;
    m_atoms.clientMachine = XCB_ATOM_WM_CLIENT_MACHINE;
    m_atoms.anyType = XCB_ATOM_ANY;

    // The root's properties say which window the manager made active; its children come and go.
    const uint32_t rootEvents =
        XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_FOCUS_CHANGE;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &rootEvents);
    updateMode();
    xcb_flush(m_connection);

    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11ActiveWindowWatcher::readEvents);
    // The window in front at the start is reported too.
    QTimer::singleShot(0, this, [this] {
        check();
        readEvents();
    });
}

X11ActiveWindowWatcher::~X11ActiveWindowWatcher()
{
    delete m_notifier;
    if (m_connection)
        xcb_disconnect(m_connection);
}

bool X11ActiveWindowWatcher::isConnected() const
{
    return m_connection && !xcb_connection_has_error(m_connection);
}

uint32_t X11ActiveWindowWatcher::atom(const char *name)
{
    Freed<xcb_intern_atom_reply_t> reply{xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, uint16_t(qstrlen(name)), name), nullptr)};
    return reply ? reply->atom : 0;
}

QByteArray X11ActiveWindowWatcher::property(uint32_t window, uint32_t atom, uint32_t type, uint32_t maxBytes,
                                            uint32_t *gotType)
{
    if (!window || !atom)
        return QByteArray();
    Freed<xcb_get_property_reply_t> reply{xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, atom, type, 0, (maxBytes + 3) / 4), nullptr)};
    if (!reply || reply->type == XCB_NONE)
        return QByteArray();
    if (gotType)
        *gotType = reply->type;
    const int length = xcb_get_property_value_length(reply.reply);
    if (length <= 0)
        return QByteArray();
    return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.reply)),
                      qMin(length, int(maxBytes)));
}

QList<uint32_t> X11ActiveWindowWatcher::windowList(uint32_t window, uint32_t atom, uint32_t maxCount)
{
    QList<uint32_t> out;
    if (!window || !atom)
        return out;
    Freed<xcb_get_property_reply_t> reply{xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, atom, XCB_ATOM_ANY, 0, maxCount), nullptr)};
    // Only 32-bit values of the types a window or atom list has.
    if (!reply || reply->format != 32 || (reply->type != XCB_ATOM_WINDOW && reply->type != XCB_ATOM_ATOM))
        return out;
    const int count = xcb_get_property_value_length(reply.reply) / 4;
    const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply.reply));
    for (int i = 0; i < count && uint32_t(i) < maxCount; ++i)
        out << values[i];
    return out;
}

void X11ActiveWindowWatcher::updateMode()
{
    const bool managed = windowList(m_root, m_atoms.supported, 4096).contains(m_atoms.activeWindow);
    if (managed == m_managed && m_reported)
        return;
    m_managed = managed;
    if (m_managed)
        return;
    // No manager keeps the active window: the focus is followed on every top-level window.
    Freed<xcb_query_tree_reply_t> tree{
        xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr)};
    if (!tree)
        return;
    const xcb_window_t *children = xcb_query_tree_children(tree.reply);
    const int count = qMin(xcb_query_tree_children_length(tree.reply), int(MaxWindows));
    for (int i = 0; i < count; ++i)
        watchFocusOf(children[i]);
}

void X11ActiveWindowWatcher::watchFocusOf(uint32_t window)
{
    const uint32_t events = XCB_EVENT_MASK_FOCUS_CHANGE;
    xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &events);
}

void X11ActiveWindowWatcher::readEvents()
{
    if (!isConnected()) {
        if (m_notifier)
            m_notifier->setEnabled(false);
        return;
    }
    // check() asks the server for the window in front; events that arrive meanwhile are kept in the
    // connection's queue, and the socket notifier does not announce them again: read until none is left.
    for (;;) {
        if (!readQueuedEvents())
            return;
        check();
    }
}

bool X11ActiveWindowWatcher::readQueuedEvents()
{
    bool changed = false;
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
        switch (event->response_type & 0x7f) {
        case XCB_PROPERTY_NOTIFY: {
            const auto *e = reinterpret_cast<xcb_property_notify_event_t *>(event);
            if (e->window == m_root && e->atom == m_atoms.supported)
                updateMode();
            changed = changed || (e->window == m_root && e->atom == m_atoms.activeWindow);
            break;
        }
        case XCB_CREATE_NOTIFY:
            if (!m_managed)
                watchFocusOf(reinterpret_cast<xcb_create_notify_event_t *>(event)->window);
            break;
        case XCB_FOCUS_IN:
        case XCB_FOCUS_OUT:
        case XCB_DESTROY_NOTIFY:
        case XCB_UNMAP_NOTIFY:
            changed = changed || !m_managed;
            break;
        default:
            break;
        }
        std::free(event);
    }
    xcb_flush(m_connection);
    return changed;
}

uint32_t X11ActiveWindowWatcher::activeWindow()
{
    if (m_managed) {
        const QList<uint32_t> active = windowList(m_root, m_atoms.activeWindow, 1);
        return active.isEmpty() ? 0 : clientOf(active.first());
    }
    Freed<xcb_get_input_focus_reply_t> focus{
        xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr)};
    if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT ||
        focus->focus == m_root)
        return 0;
    return clientOf(focus->focus);
}

bool X11ActiveWindowWatcher::hasClass(uint32_t window)
{
    return !property(window, m_atoms.wmClass, XCB_ATOM_STRING, 4).isEmpty();
}

uint32_t X11ActiveWindowWatcher::clientOf(uint32_t window)
{
    // Up to the top-level window, stopping at the first that has a class.
    uint32_t w = window;
    for (int depth = 0; depth < MaxDepth && w && w != m_root; ++depth) {
        if (hasClass(w))
            return w;
        Freed<xcb_query_tree_reply_t> tree{
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, w), nullptr)};
        if (!tree)
            return 0;
        if (tree->parent == m_root || !tree->parent)
            break;
        w = tree->parent;
    }
    // A window manager's frame: the application window is the child that has a state.
    QList<uint32_t> level{w};
    for (int depth = 0; depth < 3 && !level.isEmpty(); ++depth) {
        QList<uint32_t> next;
        for (uint32_t candidate : level) {
            if (!property(candidate, m_atoms.wmState, XCB_ATOM_ANY, 4).isEmpty() || hasClass(candidate))
                return candidate;
            Freed<xcb_query_tree_reply_t> tree{
                xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, candidate), nullptr)};
            if (!tree)
                continue;
            const xcb_window_t *children = xcb_query_tree_children(tree.reply);
            const int count = qMin(xcb_query_tree_children_length(tree.reply), 64);
            for (int i = 0; i < count; ++i)
                next << children[i];
        }
        level = next;
    }
    return w;
}

QString X11ActiveWindowWatcher::executableOf(uint32_t window)
{
    // Only a process of this machine: a remote client's number names some local process.
    const QByteArray machine = property(window, m_atoms.clientMachine, XCB_ATOM_STRING, 256);
    if (!machine.isEmpty() && QByteArray(machine.constData()) != m_host)
        return QString();
    const QByteArray pidBytes = property(window, m_atoms.wmPid, XCB_ATOM_CARDINAL, 4);
    if (pidBytes.size() != 4)
        return QString();
    uint32_t pid = 0;
    memcpy(&pid, pidBytes.constData(), 4);
    return ProcessExecutable::nameOf(pid);
}

FocusedProgram X11ActiveWindowWatcher::describe(uint32_t window)
{
    FocusedProgram p;
    p.window = window;
    if (!window)
        return p;
    const QByteArray wmClass = property(window, m_atoms.wmClass, XCB_ATOM_STRING, MaxClassBytes);
    // Two NUL-terminated Latin-1 strings, instance then class; either may be missing.
    const QList<QByteArray> parts = wmClass.split('\0');
    p.instanceName = FocusedProgram::cleaned(QString::fromLatin1(parts.value(0)), 255);
    p.className = FocusedProgram::cleaned(QString::fromLatin1(parts.value(1)), 255);
    QByteArray title = property(window, m_atoms.wmName, m_atoms.utf8, MaxTitleBytes);
    if (!title.isEmpty()) {
        p.title = FocusedProgram::cleaned(QString::fromUtf8(title), MaxTitleLength);
    } else {
        uint32_t type = 0;
        title = property(window, m_atoms.legacyName, XCB_ATOM_ANY, MaxTitleBytes, &type);
        p.title = FocusedProgram::cleaned(
            type == m_atoms.utf8 ? QString::fromUtf8(title) : QString::fromLatin1(title), MaxTitleLength);
    }
    p.executable = executableOf(window);
    // This program's own windows: by its process, or by the windows it has here.
    const QByteArray pidBytes = property(window, m_atoms.wmPid, XCB_ATOM_CARDINAL, 4);
    uint32_t pid = 0;
    if (pidBytes.size() == 4)
        memcpy(&pid, pidBytes.constData(), 4);
    const QByteArray machine = property(window, m_atoms.clientMachine, XCB_ATOM_STRING, 256);
    p.own = pid == uint32_t(QCoreApplication::applicationPid()) &&
            (machine.isEmpty() || QByteArray(machine.constData()) == m_host);
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) &&
        QGuiApplication::platformName() == QLatin1String("xcb")) {
        for (QWindow *w : QGuiApplication::allWindows())
            p.own = p.own || (w->handle() && w->winId() == window);
    }
    return p;
}

FocusedProgram X11ActiveWindowWatcher::current()
{
    if (!isConnected())
        return FocusedProgram();
    const FocusedProgram p = describe(activeWindow());
    QTimer::singleShot(0, this, &X11ActiveWindowWatcher::readEvents);
    return p;
}

void X11ActiveWindowWatcher::check()
{
    if (!isConnected())
        return;
    const uint32_t window = activeWindow();
    if (m_reported && window == m_last)
        return;
    m_reported = true;
    m_last = window;
    emit focusChanged(describe(window));
}

QList<FocusedProgram> X11ActiveWindowWatcher::openWindows()
{
    QList<FocusedProgram> out;
    if (!isConnected())
        return out;
    QList<uint32_t> windows;
    if (m_managed) {
        windows = windowList(m_root, m_atoms.clientList, MaxWindows);
    } else {
        Freed<xcb_query_tree_reply_t> tree{
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr)};
        if (tree) {
            const xcb_window_t *children = xcb_query_tree_children(tree.reply);
            const int count = qMin(xcb_query_tree_children_length(tree.reply), int(MaxWindows));
            for (int i = 0; i < count; ++i) {
                Freed<xcb_get_window_attributes_reply_t> attributes{xcb_get_window_attributes_reply(
                    m_connection, xcb_get_window_attributes(m_connection, children[i]), nullptr)};
                if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
                    !attributes->override_redirect)
                    windows << children[i];
            }
        }
    }
    for (uint32_t w : windows) {
        const FocusedProgram p = describe(w);
        if (!p.own && !p.programName().isEmpty())
            out << p;
    }
    // Replies may have brought events along.
    QTimer::singleShot(0, this, &X11ActiveWindowWatcher::readEvents);
    return out;
}
