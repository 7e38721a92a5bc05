// The program under real X input: a private Xvfb, a temporary installation, the virtual mouse and
// the scene probe preloaded, and a private runtime, config and data folder.
#include "Journey.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

QJsonValue failed()
{
    return QJsonValue(QJsonValue::Undefined);
}

QRect rectOf(const QJsonValue &v)
{
    const QJsonArray a = v.toArray();
    return a.size() == 4 ? QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt()) : QRect();
}

} // namespace

Journey::Journey() : inst(std::make_unique<TempInstallation>()) {}

Journey::~Journey()
{
    if (program.state() != QProcess::NotRunning)
        stop();
    xvfb.reset();
}

bool Journey::toolsPresent()
{
    return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
}

bool Journey::start()
{
    if (!inst->isValid() || !dir.isValid() ||
        !inst->addExecutable(QStringLiteral(KC_INSTALLATION_DIR "/kestral-config"))) {
        lastError = QStringLiteral("no temporary installation with the program");
        return false;
    }
    if (weston) {
        if (!weston->start()) {
            lastError = weston->error();
            return false;
        }
        inputDisplay = weston->inputDisplay();
    } else {
        xvfb = std::make_unique<PrivateXServer>();
        if (!xvfb->isRunning()) {
            lastError = QStringLiteral("no Xvfb server could be started");
            return false;
        }
        display = xvfb->number();
        inputDisplay = xvfb->display();
    }
    for (const char *sub : {"runtime", "config", "data"})
        QDir(dir.path()).mkpath(QString::fromLatin1(sub));
    QFile(dir.filePath(QStringLiteral("runtime")))
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    if (weston) {
        e.insert("WAYLAND_DISPLAY", weston->waylandDisplay());
        e.insert("XDG_SESSION_TYPE", "wayland");
        if (weston->xDisplay().isEmpty())
            e.remove("DISPLAY");
        else
            e.insert("DISPLAY", weston->xDisplay());
        e.remove("QT_QPA_PLATFORM");
    } else {
        e.insert("DISPLAY", inputDisplay);
        e.insert("QT_QPA_PLATFORM", "xcb");
    }
    e.insert("KC_VIRTUAL_MOUSE_LIB", KC_VIRTUAL_MOUSE_LIB);
    e.insert("VIRTUAL_MOUSE_PRELOAD", KC_SCENE_PROBE_LIB);
    e.insert("KC_SCENE_PROBE_SOCKET", dir.filePath(QStringLiteral("probe.socket")));
    e.insert("VIRTUAL_MOUSE_TRANSCRIPT", transcriptPath());
    e.insert("VIRTUAL_MOUSE_STATE", dir.filePath(QStringLiteral("state.json")));
    e.insert("VIRTUAL_MOUSE_CONTROL", dir.filePath(QStringLiteral("control.fifo")));
    e.insert("XDG_RUNTIME_DIR", dir.filePath(QStringLiteral("runtime")));
    e.insert("XDG_CONFIG_HOME", configHome());
    e.insert("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")));
    e.insert("GSETTINGS_BACKEND", "keyfile");
    if (!weston)
        e.remove("WAYLAND_DISPLAY");
    e.remove("DBUS_SESSION_BUS_ADDRESS");
    // No desktop's platform theme: the file dialogs are Qt's own widgets, which the probe can see.
    for (const char *name : {"QT_QPA_PLATFORMTHEME", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
                             "GNOME_DESKTOP_SESSION_ID", "KDE_FULL_SESSION"})
        e.remove(QString::fromLatin1(name));
    for (auto it = extraEnv.cbegin(); it != extraEnv.cend(); ++it)
        e.insert(it.key(), it.value());
    program.setProcessEnvironment(e);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.setWorkingDirectory(QDir::tempPath()); // the program finds its own folder
    program.start(QStringLiteral(KC_SOURCE_DIR "/tools/with-virtual-mouse"),
                  {inst->path() + QStringLiteral("/kestral-config")});
    if (!program.waitForStarted(10000)) {
        lastError = QStringLiteral("the program did not start");
        return false;
    }
    return true;
}

QString Journey::output()
{
    collected += QString::fromLocal8Bit(program.readAll());
    return collected;
}

bool Journey::control(const QString &line)
{
    const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("control.fifo")));
    const QByteArray text = line.toUtf8() + '\n';
    // The mouse makes the FIFO and reads it from the program's first device call on.
    return waitUntil([&] {
        const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return false;
        const bool written = ::write(fd, text.constData(), size_t(text.size())) == text.size();
        ::close(fd);
        return written;
    });
}

bool Journey::waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        output();
        if (condition())
            return true;
        if (t.elapsed() > timeoutMs)
            return false;
        QTest::qWait(40);
    }
}

bool Journey::launch(const QList<QPair<QString, QVariant>> &settings)
{
    setGlobal(settings);
    if (!start())
        return false;
    if (waitForScene())
        return true;
    lastError += QLatin1Char('\n') + output();
    return false;
}

bool Journey::waitForScene(int timeoutMs)
{
    const bool up = waitUntil(
        [this] {
            if (program.state() != QProcess::Running)
                return false;
            return eval(QStringLiteral("."), QStringLiteral("panelRight.visible && !powerOnLogo.visible && "
                                                            "ui_View.enabled"))
                .toBool();
        },
        timeoutMs);
    if (!up)
        lastError = program.state() == QProcess::Running ? QStringLiteral("the scene did not come up")
                                                         : QStringLiteral("the program ended");
    return up;
}

QJsonValue Journey::ask(const QString &request)
{
    QLocalSocket socket;
    socket.connectToServer(dir.filePath(QStringLiteral("probe.socket")));
    if (!socket.waitForConnected(2000)) {
        lastError = QStringLiteral("no probe");
        return failed();
    }
    socket.write(request.toUtf8() + '\n');
    QByteArray line;
    while (!line.endsWith('\n')) {
        if (!socket.waitForReadyRead(20000)) {
            lastError = QStringLiteral("no answer to: ") + request;
            return failed();
        }
        line += socket.readAll();
    }
    const QJsonObject answer = QJsonDocument::fromJson(line).object();
    if (!answer.value(QStringLiteral("ok")).toBool()) {
        lastError = answer.value(QStringLiteral("error")).toString();
        return failed();
    }
    return answer.value(QStringLiteral("value"));
}

QRect Journey::rect(const QString &path)
{
    return rectOf(ask(QStringLiteral("rect ") + path));
}

QPoint Journey::point(const QString &path, double fx, double fy)
{
    const QJsonArray a = ask(QStringLiteral("point %1 %2 %3").arg(path).arg(fx).arg(fy)).toArray();
    return a.size() == 2 ? QPoint(a[0].toInt(), a[1].toInt()) : QPoint(-1, -1);
}

QRect Journey::findText(const QString &path, const QString &text)
{
    return rectOf(ask(QStringLiteral("find %1 %2").arg(path, text)));
}

bool Journey::xdotool(const QStringList &args)
{
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("DISPLAY", inputDisplay);
    p.setProcessEnvironment(e);
    p.start(QStringLiteral("xdotool"), args);
    // The program answers the probe only between its event loop's passes: once it has, it has seen
    // this input, and the next input is not merged into it (a press and a move arriving together
    // would start a drag without moving it).
    if (p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return ask(QStringLiteral("ready")).toBool();
    lastError = QStringLiteral("xdotool ") + args.join(QLatin1Char(' ')) + QStringLiteral(" failed");
    return false;
}

bool Journey::moveOnDesktop(const QPoint &p)
{
    return xdotool({"mousemove", QString::number(p.x()), QString::number(p.y())});
}

bool Journey::move(const QPoint &p)
{
    return moveOnDesktop(p + offset);
}

bool Journey::locateWindow(const QPoint &inside)
{
    // A passive hover handler over the whole scene: it reports the pointer and takes nothing away.
    if (!eval(QStringLiteral("."),
              QStringLiteral("(function() {"
                             "  for (var i = 0; i < mainIten.children.length; ++i)"
                             "    if (mainIten.children[i].objectName === 'kcLocator') return true;"
                             "  Qt.createQmlObject('import QtQuick\\nItem {"
                             "      objectName: \"kcLocator\"; anchors.fill: parent;"
                             "      property point at: hover.point.position;"
                             "      property bool inside: hover.hovered;"
                             "      HoverHandler { id: hover } }', mainIten, 'kcLocator');"
                             "  return true; })()"))
             .toBool())
        return false;
    // Where the scene felt the pointer last, in its own global coordinates.
    QPoint felt;
    const QRect scene = rect(QStringLiteral("."));
    const auto read = [&] {
        const QJsonArray at = ask(QStringLiteral("eval kcLocator [at.x, at.y, inside]")).toArray();
        if (at.size() != 3 || !at[2].toBool())
            return false;
        felt = scene.topLeft() + QPoint(qRound(at[0].toDouble()), qRound(at[1].toDouble()));
        return true;
    };
    // The pointer reaches the program some time after it moved: a position is taken as the answer
    // once a second move by a known step shows up as that step.
    const QPoint step(7, 5);
    for (int attempt = 0; attempt < 5; ++attempt) {
        // Leaving the desktop and coming back makes the compositor tell the window again that the
        // pointer entered it: a window that was still being set up may have missed the first time.
        if (weston && attempt > 0 && !moveOnDesktop(weston->outside()))
            return false;
        // A native Wayland window may also feel no hovering before its first press: a middle click,
        // which nothing of the scene takes.
        if (attempt > 0 && !(moveOnDesktop(inside) && xdotool({"click", "2"})))
            return false;
        if (!moveOnDesktop(inside + step) || !waitUntil(read, attempt == 0 ? 2000 : 5000))
            continue;
        const QPoint before = felt;
        if (!moveOnDesktop(inside))
            return false;
        if (waitUntil([&] { return read() && felt == before - step; }, 3000)) {
            offset = inside - felt;
            return true;
        }
    }
    lastError =
        QStringLiteral("the scene did not feel the pointer at %1, %2").arg(inside.x()).arg(inside.y());
    return false;
}

bool Journey::click(const QPoint &p, int button)
{
    return move(p) && xdotool({"click", QString::number(button)});
}

bool Journey::drag(const QPoint &from, const QPoint &to, int steps)
{
    if (!move(from) || !xdotool({"mousedown", "1"}))
        return false;
    for (int i = 1; i <= steps; ++i) {
        const QPoint p = from + (to - from) * i / steps;
        if (!move(p))
            return false;
    }
    return xdotool({"mouseup", "1"});
}

bool Journey::typeText(const QString &text)
{
    return xdotool({"type", "--delay", "30", text});
}

bool Journey::key(const QString &name)
{
    return xdotool({"key", name});
}

bool Journey::keyDown(const QString &name)
{
    return xdotool({"keydown", name});
}

bool Journey::keyUp(const QString &name)
{
    return xdotool({"keyup", name});
}

QJsonObject Journey::widget(const QString &target)
{
    const QString keep = lastError;
    const QJsonValue v = ask(QStringLiteral("widget ") + target);
    // Not finding one is an answer here, not an error.
    if (!v.isObject())
        lastError = keep;
    return v.toObject();
}

bool Journey::chooseFile(const QString &path)
{
    const QString field = QStringLiteral("QFileDialog/fileNameEdit");
    const auto shown = [&] { return !widget(QStringLiteral("QFileDialog")).isEmpty(); };
    if (!waitUntil([&] { return !widget(field).isEmpty(); })) {
        lastError = QStringLiteral("no file dialog came up");
        return false;
    }
    // A click on the field gives its window the keyboard; what the dialog suggested is replaced.
    if (!click(rectOf(widget(field).value(QStringLiteral("rect"))).center()))
        return false;
    if (!waitUntil([&] {
            const QJsonObject o = widget(field);
            return o.value(QStringLiteral("focus")).toBool() && o.value(QStringLiteral("active")).toBool();
        })) {
        lastError = QStringLiteral("the file dialog's name field took no focus");
        return false;
    }
    if (!key(QStringLiteral("ctrl+a")) || !typeText(path))
        return false;
    if (!waitUntil([&] { return widget(field).value(QStringLiteral("text")).toString() == path; })) {
        lastError = QStringLiteral("the file dialog's name field shows: ") +
                    widget(field).value(QStringLiteral("text")).toString();
        return false;
    }
    // An open completion list takes the first Enter for itself (it only closes), and the list may
    // open late, once the dialog has read the folder: Enter again while the dialog stays.
    for (int attempt = 0; attempt < 6 && shown(); ++attempt) {
        waitUntil([&] { return !widget(field).value(QStringLiteral("popup")).toBool(); }, 5000);
        if (!key(QStringLiteral("Return")))
            return false;
        waitUntil([&] { return !shown() || widget(field).value(QStringLiteral("popup")).toBool(); }, 5000);
    }
    if (shown()) {
        lastError = QStringLiteral("the file dialog did not take ") + path;
        return false;
    }
    return true;
}

QJsonObject Journey::mouseState() const
{
    QFile f(dir.filePath(QStringLiteral("state.json")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

QString Journey::profileFile() const
{
    QSettings global(inst->globalSettings(), QSettings::IniFormat);
    const int profileNo = global.value(QStringLiteral("mouse/profileNo"), 0).toInt();
    return inst->profileSettings(profileNo);
}

QVariant Journey::profileValue(const QString &key) const
{
    QSettings profile(profileFile(), QSettings::IniFormat);
    return profile.value(key);
}

int Journey::stop()
{
    if (program.state() == QProcess::NotRunning)
        return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    ::kill(pid_t(program.processId()), SIGTERM);
    if (!program.waitForFinished(15000)) {
        program.kill();
        program.waitForFinished(5000);
        return -1;
    }
    output();
    return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
}

QList<int> intList(const QVariant &v)
{
    QList<int> out;
    for (const QString &s : v.toStringList())
        out << s.trimmed().toInt();
    return out;
}

bool Journey::waitFor(const QString &path, const QString &expression)
{
    return waitUntil([&] { return eval(path, expression).toBool(); });
}

bool Journey::clickItem(const QString &path)
{
    const QRect r = rect(path);
    return r.isValid() && click(r.center());
}

QString Journey::newMacro()
{
    if (!clickItem(QStringLiteral("macroEditorMain/newButton")) ||
        !waitFor(QStringLiteral("macroEditorMain"), QStringLiteral("canEdit"))) {
        lastError = QStringLiteral("no new macro to edit");
        return QString();
    }
    const QString name = eval(QStringLiteral("macroEditorMain"), QStringLiteral("selectedName")).toString();
    if (name.isEmpty())
        lastError = QStringLiteral("the new macro has no name");
    return name;
}

bool Journey::recordKey(const QString &key)
{
    const QString editor = QStringLiteral("macroEditorMain");
    const QString recordButton = QStringLiteral("macroEditorMain/recordButton");
    const auto failed = [this](const QString &step) {
        lastError = step;
        return false;
    };
    if (!clickItem(recordButton) || !waitFor(editor, QStringLiteral("isInputting")))
        return failed(QStringLiteral("the recording did not start"));
    if (!this->key(key) || !waitFor(editor, QStringLiteral("stepModel.count >= 2")))
        return failed(QStringLiteral("no press and release of ") + key + QStringLiteral(" recorded"));
    if (!clickItem(recordButton) || !waitFor(editor, QStringLiteral("!isInputting")))
        return failed(QStringLiteral("the recording did not stop"));
    return true;
}

QStringList Journey::macroSteps(const QString &macro) const
{
    QSettings file(inst->path() + QStringLiteral("/modules/macro/") + macro + QStringLiteral(".bin"),
                   QSettings::IniFormat);
    QStringList steps;
    const int total = file.value(QStringLiteral("config/total")).toInt();
    for (int i = 0; i < total; ++i) {
        const QVariant v = file.value(QStringLiteral("macro/%1").arg(i));
        steps << (v.metaType().id() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(','))
                                                              : v.toString());
    }
    return steps;
}
