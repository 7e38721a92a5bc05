// Which program's window is in front: reported when it changes, by the window system's own events.
// One implementation per kind of desktop; forThisDesktop() picks the one that works here.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

struct FocusedProgram
{
    quint64 window = 0; // 0: no window is in front (the desktop, or one no watcher here can see)
    QString title;
    QString instanceName; // the window class's instance part ("xterm")
    QString className;    // its class part ("XTerm")
    QString executable;   // the file name of the program's executable, where it could be read safely
    bool own = false;     // a window of this program

    // The names a link may give for this program, most telling first.
    QStringList names() const;
    // The name a link made from this window takes.
    QString programName() const;
    // A text a window gave, as it is shown and compared: without control characters, at most
    // `length` characters.
    static QString cleaned(const QString &text, int length = 255);
};

class ActiveWindowWatcher : public QObject
{
    Q_OBJECT
public:
    // Which programs' windows can be followed here.
    enum class Coverage {
        None,    // none (a Wayland desktop that tells no program which window is in front)
        X11Only, // X11 programs (through XWayland), not native Wayland ones
        All,     // every program (an X11 session, or a desktop that reports all windows)
    };

    using QObject::QObject;
    virtual Coverage coverage() const = 0;
    // The windows open now, front-most or in the window manager's order.
    virtual QList<FocusedProgram> openWindows() = 0;

    // The watcher that works on this desktop; one with Coverage::None where none does.
    static std::unique_ptr<ActiveWindowWatcher> forThisDesktop(QObject *parent = nullptr);

signals:
    void focusChanged(const FocusedProgram &program);
};
