// The compositor on its own Xvfb: started, waited for by polling its files, stopped.
#include "WestonDesktop.h"

#include "ChildProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace {

const char *const kSocket = "kc-weston";

} // namespace

WestonDesktop::WestonDesktop(Mode m) : mode(m) {}

WestonDesktop::~WestonDesktop()
{
    // The compositor ends XWayland and its own clients with it.
    endChildProcess(weston);
    xvfb.reset();
}

QString WestonDesktop::missing(Mode m)
{
    QStringList absent;
    for (const char *tool : {"weston", "Xvfb", "xdotool"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            absent << QString::fromLatin1(tool);
    }
    if (m == Mode::WithXWayland && QStandardPaths::findExecutable(QStringLiteral("Xwayland")).isEmpty())
        absent << QStringLiteral("Xwayland");
    return absent.join(QStringLiteral(", "));
}

QString WestonDesktop::waylandDisplay() const
{
    return dir.filePath(QStringLiteral("runtime/") + QLatin1String(kSocket));
}

QString WestonDesktop::log() const
{
    QFile f(dir.filePath(QStringLiteral("weston.log")));
    return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
}

bool WestonDesktop::start()
{
    if (!dir.isValid() || !QDir(dir.path()).mkpath(QStringLiteral("runtime"))) {
        lastError = QStringLiteral("no temporary folder");
        return false;
    }
    QFile(dir.filePath(QStringLiteral("runtime")))
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Displays apart from the plain journeys' own, so both kinds can run side by side.
    const QString size = QStringLiteral("%1x%2x24").arg(Width + Margin).arg(Height + Margin);
    xvfb = std::make_unique<PrivateXServer>(size, 360);
    if (!xvfb->isRunning()) {
        lastError = QStringLiteral("no Xvfb server could be started");
        return false;
    }

    // Nothing on the desktop but the clients: no panel, no animations, no lock, one plain colour.
    QFile ini(dir.filePath(QStringLiteral("weston.ini")));
    if (!ini.open(QIODevice::WriteOnly)) {
        lastError = QStringLiteral("cannot write the compositor's configuration");
        return false;
    }
    ini.write(QByteArray("[core]\nxwayland=") + (mode == Mode::WithXWayland ? "true" : "false") +
              "\n[shell]\npanel-position=none\nbackground-color=0xff204060\nlocking=false\n"
              "animation=none\nstartup-animation=none\nclose-animation=none\nfocus-animation=none\n");
    ini.close();

    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("DISPLAY", inputDisplay());
    e.insert("XDG_RUNTIME_DIR", dir.filePath(QStringLiteral("runtime")));
    e.remove("WAYLAND_DISPLAY");
    e.remove("WAYLAND_SOCKET");
    weston.setProcessEnvironment(e);
    weston.setProcessChannelMode(QProcess::MergedChannels);
    weston.setStandardOutputFile(dir.filePath(QStringLiteral("weston.out")));
    weston.start(QStringLiteral("weston"),
                 {"--backend=x11-backend.so", "--use-pixman", "--config=" + ini.fileName(),
                  QStringLiteral("--socket=") + QLatin1String(kSocket),
                  QStringLiteral("--width=%1").arg(Width), QStringLiteral("--height=%1").arg(Height),
                  "--idle-time=0", "--log=" + dir.filePath(QStringLiteral("weston.log"))});
    if (!weston.waitForStarted(10000)) {
        lastError = QStringLiteral("the compositor did not start");
        return false;
    }

    static const QRegularExpression listening(QStringLiteral("xserver listening on display (:\\d+)"));
    QElapsedTimer t;
    t.start();
    bool up = false;
    while (weston.state() == QProcess::Running && t.elapsed() < 30000) {
        if (QFileInfo::exists(waylandDisplay())) {
            if (mode == Mode::WaylandOnly) {
                up = true;
                break;
            }
            const QRegularExpressionMatch m = listening.match(log());
            if (m.hasMatch()) {
                xwayland = m.captured(1);
                up = true;
                break;
            }
        }
        QThread::msleep(20);
    }
    if (!up) {
        lastError = QStringLiteral("the compositor did not come up:\n") + log();
        return false;
    }

    // The pointer rests outside the compositor's window: its first move into it is an entry, which
    // tells the compositor where the pointer is (moves within the window only tell it how far).
    QProcess p;
    QProcessEnvironment pe = QProcessEnvironment::systemEnvironment();
    pe.insert("DISPLAY", inputDisplay());
    p.setProcessEnvironment(pe);
    p.start(QStringLiteral("xdotool"),
            {"mousemove", QString::number(outside().x()), QString::number(outside().y())});
    if (!p.waitForFinished(10000) || p.exitCode() != 0) {
        lastError = QStringLiteral("xdotool could not move the pointer");
        return false;
    }
    return true;
}
