// The program's start-up and teardown around the event loop.
#include "StartUp.h"

#include "CopyDataMessages.h"
#include "InputHooks.h"
#include "RunningCopyCommands.h"
#include "myQQuickView.h"
#include "platform/InstanceChannel.h"
#include "platform/NativeMessage.h"
#include "platform/TerminationSignals.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QQuickItem>
#include <memory>

namespace {

QQuickItem *sceneRoot(void *context)
{
    auto *widget = static_cast<Widget *>(context);
    myQQuickView *view = widget ? widget->view() : nullptr;
    return view ? view->rootObject() : nullptr;
}

} // namespace

#ifndef KC_VERSION
#define KC_VERSION "unknown"
#endif
#ifndef KC_APP_ID
#define KC_APP_ID "kestral-config"
#endif
#ifndef KC_ICON_NAME
#define KC_ICON_NAME "kestral-config"
#endif

QIcon StartUp::programIcon()
{
    return QIcon::fromTheme(QStringLiteral(KC_ICON_NAME), QIcon(QStringLiteral("./modules/img/logo.ico")));
}

void StartUp::applyIdentity()
{
    QCoreApplication::setApplicationVersion(QStringLiteral(KC_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KC_APP_ID));
    QGuiApplication::setWindowIcon(programIcon());
}

QString StartUp::executableDirectory()
{
    QString path = QCoreApplication::applicationFilePath();
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0)
        path.truncate(slash);
    return path;
}

void StartUp::keyboardCallback(quint8 usageCode, bool isDown, void *context)
{
    if (QQuickItem *root = sceneRoot(context))
        QMetaObject::invokeMethod(root, "detectKeyboard", Qt::QueuedConnection,
                                  Q_ARG(QVariant, QVariant(isDown)),
                                  Q_ARG(QVariant, QVariant(int(usageCode))));
}

void StartUp::mouseCallback(quint8 buttonCode, bool isDown, int x, int y, void *context)
{
    if (QQuickItem *root = sceneRoot(context))
        QMetaObject::invokeMethod(root, "detectMouse", Qt::QueuedConnection,
                                  Q_ARG(QVariant, QVariant(isDown)),
                                  Q_ARG(QVariant, QVariant(int(buttonCode))), Q_ARG(QVariant, QVariant(x)),
                                  Q_ARG(QVariant, QVariant(y)));
}

void StartUp::copyDataHandler(const void *lParam, void *context)
{
    const auto *data = static_cast<const NativeMessage::CopyDataStruct *>(lParam);
    if (!context || !data || data->dwData != NativeMessage::CopyDataTag || !data->lpData)
        return;
    // The text ends at its first NUL; the buffer always carries one after the bytes sent.
    const QString text = QString::fromUtf8(data->lpData);
    if (quint64(text.toUtf8().size()) != data->cbData)
        return;
    CopyDataMessages::of(static_cast<Widget *>(context))->show(text);
}

int StartUp::run(QApplication &app, InstanceChannel &instance, const Widget::Platform &platform,
                 const QString &workingDirectory)
{
    if (instance.isRunning()) {
        instance.sendMessage(QString(), SecondStartTimeoutMs);
        return 1;
    }

    // SIGTERM, SIGINT and SIGHUP end the program like the tray's quit command, from here on.
    TerminationSignals signalsWatcher;
    const bool watching = signalsWatcher.install();

    QDir::setCurrent(workingDirectory.isEmpty() ? executableDirectory() : workingDirectory);
    applyIdentity();

    auto widget = std::make_unique<Widget>(platform);
    QObject::connect(&instance, &InstanceChannel::messageReceived, widget.get(), &Widget::receiveMessage);
    // Commands of the command line are carried out here while the window runs.
    auto commands = std::make_unique<RunningCopyCommands>(instance, *widget);

    InputHooks::install();
    InputHooks::setKeyboardCallback(&StartUp::keyboardCallback, widget.get());
    InputHooks::setMouseCallback(&StartUp::mouseCallback, widget.get());
    InputHooks::setNativeMessageFilter(&StartUp::copyDataHandler, &app, widget.get());

    if (watching)
        QObject::connect(&signalsWatcher, &TerminationSignals::terminationRequested, widget.get(),
                         &Widget::exitSYS);

    widget->showNormal();
    widget->checkDevice();

    // The device exchanges above let waiting events through, and a quit before the loop runs is lost.
    const int code = signalsWatcher.isRequested() ? 0 : app.exec();

    InputHooks::uninstall();
    // Nothing may reach the window once it is gone.
    InputHooks::setKeyboardCallback(nullptr, nullptr);
    InputHooks::setMouseCallback(nullptr, nullptr);
    InputHooks::setNativeMessageFilter(nullptr, nullptr, nullptr);
    commands.reset();
    widget.reset();
    // The window controller was scheduled for deletion; no event loop runs any more to do it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}
