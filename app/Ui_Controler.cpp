// The window controller: frameless translucent window, scene view, context properties, title.
#include "Ui_Controler.h"

#include "AppProfiles.h"
#include "InputHooks.h"
#include "myQQuickView.h"
#include "platform/CompositorProbe.h"

#include <QBitmap>
#include <QDebug>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QQmlContext>
#include <QQuickItem>
#include <QSettings>
#include <QSystemTrayIcon>
#include <QWidget>
#include <QWindow>

namespace {

const char *const kScene = "qrc:modules/qml/main.qml";
const char *const kBackground = ":/modules/img/background.png";

} // namespace

Ui_Controler::Ui_Controler(QWidget *window, QObject *hid)
{
    if (!window)
        return;
    if (window->objectName().isEmpty())
        window->setObjectName(QStringLiteral("Widget"));
    m_window = window;
    m_shown = window->isVisible() && !window->isMinimized();
    window->installEventFilter(this);

    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    window->setWindowOpacity(1.0);
    // Without a compositing manager transparent parts come out black: keep the window opaque and cut
    // it to the background picture's shape instead.
    m_translucent = CompositorProbe::translucencyWorks();
    window->setAttribute(Qt::WA_TranslucentBackground, m_translucent);
    window->setStyleSheet(QStringLiteral("background:transparent;"));

    m_view = new myQQuickView(window);
    m_view->setObjectName(QStringLiteral("ui_View"));
    if (m_translucent) {
        m_view->setAttribute(Qt::WA_AlwaysStackOnTop);
        m_view->setClearColor(Qt::transparent);
    } else {
        m_view->setClearColor(Qt::black);
    }
    // The pages read the backend while they are created: it is there before the scene.
    QQmlContext *context = m_view->rootContext();
    context->setContextProperty(QStringLiteral("ui_View"), m_view.data());
    context->setContextProperty(QStringLiteral("hid"), hid);
    context->setContextProperty(QStringLiteral("ui_Ctl"), this);
    m_appProfiles = new AppProfiles(m_view->settingsStore(), this);
    context->setContextProperty(QStringLiteral("appProfiles"), m_appProfiles);
    m_view->setSource(QUrl(QString::fromLatin1(kScene)));
    m_viewObject = m_view.data();
    m_view->installEventFilter(this);

    const QSize size = m_view->rootObject()
                           ? QSize(int(m_view->rootObject()->width()), int(m_view->rootObject()->height()))
                           : m_view->size();
    m_view->resize(size);
    window->resize(size);

    if (!m_translucent) {
        const QImage background(QString::fromLatin1(kBackground));
        if (!background.isNull() && background.hasAlphaChannel())
            window->setMask(QBitmap::fromImage(background.scaled(size).createAlphaMask()));
    }

    QSettings settings(QStringLiteral("./modules/setting/apConfig.bin"), QSettings::IniFormat);
    window->setWindowTitle(settings.value(QStringLiteral("common/name"), QString()).toString());
}

Ui_Controler::~Ui_Controler()
{
    if (m_capturing)
        InputHooks::setCapturing(false);
}

void Ui_Controler::setCaptureActive(bool active)
{
    m_captureWanted = active;
    updateCapture();
}

// Hidden (the close button, the tray) or minimised, the window waits for nobody's keys.
bool Ui_Controler::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_viewObject) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            // Every press starts a drag afresh; a release ends the one that ran.
            m_drag = Drag::Idle;
            m_pointerAt = static_cast<QMouseEvent *>(event)->position();
            break;
        case QEvent::MouseMove:
            m_pointerAt = static_cast<QMouseEvent *>(event)->position();
            break;
        default:
            break;
        }
    }
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Hide:
            m_shown = false;
            updateCapture();
            break;
        case QEvent::Show:
        case QEvent::WindowStateChange:
            m_shown = m_window->isVisible() && !m_window->isMinimized();
            updateCapture();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void Ui_Controler::updateCapture()
{
    const bool capture = m_captureWanted && m_shown;
    if (capture == m_capturing)
        return;
    m_capturing = capture;
    InputHooks::setCapturing(capture);
}

void Ui_Controler::onMinimize()
{
    if (m_window)
        m_window->showMinimized();
}

void Ui_Controler::onClose()
{
    if (!m_window)
        return;
    // A hidden window comes back only through its tray icon. Where no tray host shows that icon (many
    // Wayland desktops have none) hiding would leave it out of reach: the task bar keeps it instead.
    const auto *tray = m_window->findChild<QSystemTrayIcon *>();
    if (tray && !QSystemTrayIcon::isSystemTrayAvailable()) {
        qDebug("No tray: the window is minimised instead of hidden");
        m_window->showMinimized();
        return;
    }
    m_window->setVisible(false);
}

bool Ui_Controler::movedBySystem()
{
    if (m_drag == Drag::Idle) {
        // The window system follows the pointer itself from here until the button is let go.
        // Without a button held it would start a move that nothing ends.
        QWindow *handle = m_window->windowHandle();
        const bool held = QGuiApplication::mouseButtons() & Qt::LeftButton;
        m_drag = held && handle && handle->startSystemMove() ? Drag::System : Drag::Own;
        // A compositor keeps the release of a button that moved a window to itself; the scene's
        // press would stay on and the pointer would reach nothing else until the next click.
        if (m_drag == Drag::System && m_view)
            QCoreApplication::postEvent(m_view,
                                        new QMouseEvent(QEvent::MouseButtonRelease, m_pointerAt,
                                                        m_view->mapToGlobal(m_pointerAt), Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier));
    }
    return m_drag == Drag::System;
}

void Ui_Controler::onXChanged(int x)
{
    if (m_window && !movedBySystem())
        m_window->move(m_window->x() + x, m_window->y());
}

void Ui_Controler::onYChanged(int y)
{
    if (m_window && !movedBySystem())
        m_window->move(m_window->x(), m_window->y() + y);
}

void Ui_Controler::setBusy(int busyTime)
{
    if (!m_window || !m_view || !m_view->rootObject())
        return;
    QMetaObject::invokeMethod(m_view->rootObject(), "setProtectUI", Qt::DirectConnection,
                              Q_ARG(QVariant, QVariant(busyTime)));
}
