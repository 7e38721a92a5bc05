// The unchanged program in a temporary installation, on a private Xvfb (or a private Wayland desktop),
// with the virtual mouse and the scene probe preloaded; real pointer and key input through xdotool;
// polling waits.
#pragma once

#include "AppTestSupport.h"
#include "WestonDesktop.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// A list setting as the settings files give it back (texts), as integers.
QList<int> intList(const QVariant &v);

class Journey
{
public:
    Journey();
    ~Journey();
    Journey(const Journey &) = delete;
    Journey &operator=(const Journey &) = delete;

    // Whether Xvfb and xdotool are installed; journeys skip without them.
    static bool toolsPresent();

    // Installation and environment, before start().
    TempInstallation &installation() { return *inst; }
    void setGlobal(const QList<QPair<QString, QVariant>> &values) { inst->setGlobal(values); }
    void addEnvironment(const QString &name, const QString &value) { extraEnv.insert(name, value); }
    // Runs the program on a private Wayland desktop instead of a plain X server, with the session's
    // variables (WAYLAND_DISPLAY, and DISPLAY with XWayland) and no platform chosen for it.
    void useWayland(WestonDesktop::Mode mode) { weston = std::make_unique<WestonDesktop>(mode); }

    // Starts Xvfb and the program; false with the reason in error().
    bool start();
    // Waits until the main regions are shown and the busy lock has ended.
    bool waitForScene(int timeoutMs = 60000);
    // setGlobal, start and waitForScene in one; the reason (with the program's output) in error().
    bool launch(const QList<QPair<QString, QVariant>> &settings);
    QString error() const { return lastError; }
    QString output();

    // The scene, through the probe. Paths are id paths: "dpiSettingMain/dpi1".
    QJsonValue ask(const QString &request);
    QJsonValue eval(const QString &path, const QString &expression)
    {
        return ask("eval " + path + ' ' + expression);
    }
    QRect rect(const QString &path);
    QPoint center(const QString &path) { return rect(path).center(); }
    // The point at fractions fx, fy of the item's own width and height, rotation included.
    QPoint point(const QString &path, double fx, double fy);
    // The screen rectangle of the visible item below path showing exactly this text.
    QRect findText(const QString &path, const QString &text);

    // Where the window is on a Wayland desktop, where it alone knows: the pointer is put at inside
    // (desktop coordinates, a point over the window) and the scene says where it felt it. From then
    // on the points given to the input below are the scene's own, as on a plain X server.
    bool locateWindow(const QPoint &inside);
    // Desktop position of the scene's point (0, 0) as last located.
    QPoint windowOrigin() const { return offset; }

    // Real input on the X server.
    bool move(const QPoint &p);
    // A click of pointer button 1 (left), 2 (middle) or 3 (right).
    bool click(const QPoint &p, int button = 1);
    // Press at from, move there in steps, release at to.
    bool drag(const QPoint &from, const QPoint &to, int steps = 12);
    bool typeText(const QString &text);
    bool key(const QString &name);
    // One key held down or let go, for key strokes whose timing matters.
    bool keyDown(const QString &name);
    bool keyUp(const QString &name);

    // The program's own widget windows (its file dialogs), through the probe: "QFileDialog" or
    // "QFileDialog/fileNameEdit"; an empty object while none is shown.
    QJsonObject widget(const QString &target);
    // Answers the program's open or save dialog (Qt's own, not the desktop's): types the path into its
    // file name field and presses Enter until the dialog has gone.
    bool chooseFile(const QString &path);

    // Any xdotool command on the program's X server (windows of other programs, say).
    bool xdotool(const QStringList &args);
    // The X server the program and the input run on (":N").
    QString xDisplay() const { return inputDisplay; }

    // A line for the virtual mouse's control FIFO ("unplug", "plug", "dpi 3"); false when nothing reads it.
    bool control(const QString &line);

    // Polls until the condition holds or the deadline passes; keeps collecting the program's output.
    bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 30000);
    // Until the expression, evaluated on the item at path, is true.
    bool waitFor(const QString &path, const QString &expression);
    // A click in the middle of the item at path; false when it is not on screen.
    bool clickItem(const QString &path);
    // In the open macro editor: a new macro, selected; its name, or empty with the reason in error().
    QString newMacro();
    // Records `key` into the macro selected in the open editor: starts the recording, types the key,
    // waits for its press and release steps and stops; false with the failed step in error().
    bool recordKey(const QString &key);

    // What came out of the program's run.
    QString transcriptPath() const { return dir.filePath(QStringLiteral("transcript.jsonl")); }
    // A file in the journey's own temporary folder (for files the program is to export or import).
    QString filePath(const QString &name) const { return dir.filePath(name); }
    // The installation's settings folder (profile files, default profile, global settings).
    QString settingsFolder() const { return inst->path() + QStringLiteral("/modules/setting"); }
    // The steps of a macro as its file holds them, each "kind,key,…" as one text.
    QStringList macroSteps(const QString &macro) const;
    QList<HidCall> hidCalls() const { return hidCallsFromFile(transcriptPath()); }
    QJsonObject mouseState() const;
    // A value of the active profile's file as the program wrote it.
    QVariant profileValue(const QString &key) const;
    QString profileFile() const;
    // The program's private XDG_CONFIG_HOME, and the GSettings key file in it.
    QString configHome() const { return dir.filePath(QStringLiteral("config")); }
    QString gsettingsKeyFile() const { return configHome() + QStringLiteral("/glib-2.0/settings/keyfile"); }

    // Ends the program with SIGTERM; its exit code, or -1 when it had to be killed.
    int stop();

private:
    bool moveOnDesktop(const QPoint &p);
    int display = -1;
    QString inputDisplay;
    QPoint offset;
    std::unique_ptr<WestonDesktop> weston;

    std::unique_ptr<TempInstallation> inst;
    QTemporaryDir dir;
    std::unique_ptr<PrivateXServer> xvfb;
    QProcess program;
    QString collected;
    QString lastError;
    QMap<QString, QString> extraEnv;
};
