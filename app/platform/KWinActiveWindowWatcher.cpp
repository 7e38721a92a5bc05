// The window in front on KDE Plasma (Wayland), through a KWin script.
#include "KWinActiveWindowWatcher.h"

#include "ProcessExecutable.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QFile>
#include <QGuiApplication>

namespace {

const char *const kKWin = "org.kde.KWin";
constexpr int MaxWindows = 256;

// Plasma 6 names windows "window", Plasma 5 "client"; both are handled.
const char *const kScript = R"(
var service = "%SERVICE%";
function listed() {
    var all = workspace.windowList ? workspace.windowList() : workspace.clientList();
    var out = [];
    for (var i = 0; i < all.length; ++i) {
        var w = all[i];
        if (w.normalWindow && !w.skipTaskbar)
            out.push(String(w.resourceClass) + "\t" + String(w.caption));
    }
    return out.join("\n");
}
function report(w) {
    if (w)
        callDBus(service, "%PATH%", "org.kestralconfig.ActiveWindow", "activated", String(w.resourceClass),
                 String(w.resourceName), String(w.caption), w.pid || 0, listed());
    else
        callDBus(service, "%PATH%", "org.kestralconfig.ActiveWindow", "activated", "", "", "", 0, listed());
}
if (workspace.windowActivated)
    workspace.windowActivated.connect(report);
else
    workspace.clientActivated.connect(report);
report(workspace.activeWindow !== undefined ? workspace.activeWindow : workspace.activeClient);
)";

} // namespace

KWinActiveWindowWatcher::KWinActiveWindowWatcher(const QDBusConnection &bus, QObject *parent)
    : ActiveWindowWatcher(parent), m_bus(bus)
{
    if (m_bus.isConnected() &&
        m_bus.registerObject(QString::fromLatin1(ObjectPath), this, QDBusConnection::ExportScriptableSlots))
        m_running = load();
}

KWinActiveWindowWatcher::~KWinActiveWindowWatcher()
{
    if (!m_running)
        return;
    QDBusMessage unload = QDBusMessage::createMethodCall(
        QString::fromLatin1(kKWin), QStringLiteral("/Scripting"), QStringLiteral("org.kde.kwin.Scripting"),
        QStringLiteral("unloadScript"));
    unload << QString::fromLatin1(PluginName);
    m_bus.call(unload, QDBus::Block, 2000);
    m_bus.unregisterObject(QString::fromLatin1(ObjectPath));
}

QByteArray KWinActiveWindowWatcher::script(const QString &service)
{
    QByteArray text(kScript);
    text.replace("%SERVICE%", service.toUtf8());
    text.replace("%PATH%", ObjectPath);
    return text;
}

bool KWinActiveWindowWatcher::load()
{
    if (!m_folder.isValid())
        return false;
    const QString path = m_folder.filePath(QStringLiteral("active-window.js"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(script(m_bus.baseService())) < 0)
        return false;
    file.close();
    const QString kwin = QString::fromLatin1(kKWin);
    auto call = [&](const QString &objectPath, const QString &interface, const QString &method,
                    const QVariantList &arguments) {
        QDBusMessage m = QDBusMessage::createMethodCall(kwin, objectPath, interface, method);
        m.setArguments(arguments);
        return m_bus.call(m, QDBus::Block, 3000);
    };
    const QString scripting = QStringLiteral("org.kde.kwin.Scripting");
    // One left behind by a copy that ended without unloading it.
    call(QStringLiteral("/Scripting"), scripting, QStringLiteral("unloadScript"),
         {QString::fromLatin1(PluginName)});
    const QDBusMessage loaded = call(QStringLiteral("/Scripting"), scripting, QStringLiteral("loadScript"),
                                     {path, QString::fromLatin1(PluginName)});
    if (loaded.type() != QDBusMessage::ReplyMessage || loaded.arguments().isEmpty())
        return false;
    const int id = loaded.arguments().first().toInt();
    if (id < 0)
        return false;
    // Plasma 5.22 on and 6 name the script's object so; earlier Plasma 5 by its number alone.
    for (const QString &objectPath :
         {QStringLiteral("/Scripting/Script%1").arg(id), QStringLiteral("/%1").arg(id)}) {
        if (call(objectPath, QStringLiteral("org.kde.kwin.Script"), QStringLiteral("run"), {}).type() ==
            QDBusMessage::ReplyMessage)
            return true;
    }
    return false;
}

void KWinActiveWindowWatcher::activated(const QString &resourceClass, const QString &resourceName,
                                        const QString &caption, int pid, const QString &windows)
{
    // Any program of the session may call this; only KWin is believed.
    if (calledFromDBus()) {
        const QString kwinOwner = connection().interface()->serviceOwner(QString::fromLatin1(kKWin)).value();
        if (message().service() != kwinOwner)
            return;
    }
    m_open.clear();
    const QStringList lines = windows.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (int i = 0; i < lines.size() && i < MaxWindows; ++i) {
        FocusedProgram w;
        w.className = FocusedProgram::cleaned(lines.at(i).section(QLatin1Char('\t'), 0, 0));
        w.title = FocusedProgram::cleaned(lines.at(i).section(QLatin1Char('\t'), 1));
        // This program's own window goes by its desktop entry's name.
        if (!w.className.isEmpty() &&
            w.className.compare(QGuiApplication::desktopFileName(), Qt::CaseInsensitive) != 0 &&
            w.className.compare(QCoreApplication::applicationName(), Qt::CaseInsensitive) != 0)
            m_open << w;
    }
    FocusedProgram p;
    p.className = FocusedProgram::cleaned(resourceClass);
    p.instanceName = FocusedProgram::cleaned(resourceName);
    p.title = FocusedProgram::cleaned(caption);
    p.window = p.className.isEmpty() && p.instanceName.isEmpty() ? 0 : quint64(qMax(pid, 1));
    p.executable = ProcessExecutable::nameOf(pid);
    p.own = pid > 0 && qint64(pid) == QCoreApplication::applicationPid();
    emit focusChanged(p);
}
