// The main window: device discovery, tray icon and notifications.
#include "Widget.h"

#include "AppProfileFollower.h"
#include "AppProfiles.h"
#include "DeviceDiscovery.h"
#include "LanguageStrings.h"
#include "SceneRules.h"
#include "SceneStartEvent.h"
#include "SettingsNotice.h"
#include "StartUp.h"
#include "Ui_Controler.h"
#include "myQQuickView.h"
#include "platform/SystemTrayNotifier.h"
#include "platform/TrayActivation.h"
#include "platform/UdevDeviceChangeMonitor.h"
#include "platform/WidgetWindowRestorer.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDebug>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>
#include <QQuickItem>

bool isDeviceConnected = false;

const char *const Widget::TrayToolTip = "ORVANTE KESTRAL MOUSE K700";
const char *const Widget::TrayMenuStyleSheet =
    "QMenu { border: 1px solid rgb(100, 100, 100); background: rgb(68, 69, 73); } QMenu::item { height: "
    "22px; "
    "padding: 0px 25px 0px 20px; } QMenu::item:enabled { color: rgb(225, 225, 225); } QMenu::item:!enabled { "
    "color: rgb(155, 155, 155); } QMenu::item:enabled:selected { color: rgb(230, 230, 230); background: "
    "rgba(255, "
    "255, 255, 40); } QMenu::separator { height: 1px; background: rgb(100, 100, 100); } QMenu::indicator { "
    "width: 13px; height: 13px; } QMenu::icon { padding-left: 2px; padding-right: 2px; } ";

namespace {

const char *const NoticeStyleSheet =
    "QMessageBox { background: rgb(68, 69, 73); } QLabel { background: transparent; color: rgb(225, 225, "
    "225); "
    "} QPushButton { background: rgb(90, 91, 96); color: rgb(230, 230, 230); border: 1px solid rgb(100, 100, "
    "100); padding: 4px 20px; } QPushButton:hover { background: rgb(110, 111, 116); }";

// The texts of Widget::MouseText for an installation whose language files do not have them.
const char *const DefaultMouseTexts[Widget::MouseTextCount] = {
    "No mouse connected",
    ("The mouse is not connected. What you changed is saved and will be sent to the mouse when it is "
     "connected."),
    "%1 connected",
    "%1 disconnected",
    "DPI stage %1: %2",
    "DPI stage %1",
    "Quit (&Q)",
    "Profile “%1” for %2",
    "Profile “%1”",
};

} // namespace

Widget::Widget(QWidget *parent) : Widget(Platform(), parent) {}

Widget::Widget(const Platform &platform, QWidget *parent) : QWidget(parent), m_platform(platform)
{
    m_controller = new Ui_Controler(this, &m_hid);
    if (myQQuickView *v = view())
        v->setWorker(&m_hid);

    // Problems the view met opening the settings files are shown once the window is up, later ones
    // as they come.
    SettingsNotice &notice = SettingsNotice::instance();
    connect(&notice, &SettingsNotice::announced, this, &Widget::showSettingsNotice, Qt::QueuedConnection);
    for (const QString &text : notice.takePending())
        QMetaObject::invokeMethod(
            this, [this, text] { showSettingsNotice(text); }, Qt::QueuedConnection);

    m_deviceCheckTimer.setInterval(DeviceCheckIntervalMs);
    m_deviceCheckTimer.setSingleShot(true);
    connect(&m_deviceCheckTimer, &QTimer::timeout, this, &Widget::checkDevice);

    m_trayIcon = new QSystemTrayIcon(this);
    m_quitAction = new QAction(tr("Quit (&Q)"), this);
    connect(m_quitAction, &QAction::triggered, this, &Widget::quitRequested);
    m_trayMenu = new QMenu(this);
    m_trayMenu->addAction(m_quitAction);
    m_trayMenu->setStyleSheet(QString::fromLatin1(TrayMenuStyleSheet));
    m_trayIcon->setContextMenu(m_trayMenu);
    m_trayIcon->setToolTip(QString::fromLatin1(TrayToolTip));
    m_trayIcon->setIcon(StartUp::programIcon());
    connect(m_trayIcon, &QSystemTrayIcon::activated, this, &Widget::trayIconActivated);
    m_trayIcon->setVisible(true);
    // The language may have changed since the menu was last shown.
    connect(m_trayMenu, &QMenu::aboutToShow, this, &Widget::updateTrayTexts);

    if (!m_platform.tray) {
        m_ownTray = std::make_unique<SystemTrayNotifier>(m_trayIcon);
        m_platform.tray = m_ownTray.get();
    }
    if (!m_platform.restorer) {
        m_ownRestorer = std::make_unique<WidgetWindowRestorer>();
        m_platform.restorer = m_ownRestorer.get();
    }
    if (!m_platform.deviceChanges) {
        m_ownDeviceChanges = std::make_unique<UdevDeviceChangeMonitor>();
        m_platform.deviceChanges = m_ownDeviceChanges.get();
    }
    connect(m_platform.deviceChanges, &DeviceChangeMonitor::deviceChanged, this,
            &Widget::deviceChangeNotified);
    m_platform.deviceChanges->start();

    // The listener's events are handled on this (the GUI) thread, in the order they were raised. Its
    // DPI balloon is told here, where the profile's values are known.
    connect(&m_hid, &Hid_Thread::dpiStageChanged, this, &Widget::showDpiStage, Qt::QueuedConnection);
    connect(&m_hid, &Hid_Thread::deviceRemoved, this, &Widget::deviceLost, Qt::QueuedConnection);
    connect(&m_hid, &Hid_Thread::setCommandFailed, this, &Widget::settingNotDelivered);
    if (myQQuickView *v = view())
        connect(v, &myQQuickView::mouseConnectedChanged, this, &Widget::updateTrayTexts);
    updateTrayTexts();
    startFollowing();
}

Widget::~Widget()
{
    m_hid.stopListen();
    m_controller->deleteLater();
    // Hid_Thread's destructor waits for a listener that is still inside its last read.
}

myQQuickView *Widget::view() const
{
    return m_controller ? m_controller->view() : nullptr;
}

AppProfiles *Widget::appProfiles() const
{
    return m_controller ? m_controller->appProfiles() : nullptr;
}

void Widget::startFollowing()
{
    AppProfiles *profiles = appProfiles();
    if (!profiles)
        return;
    if (!m_platform.windows) {
        m_ownWindows = ActiveWindowWatcher::forThisDesktop();
        m_platform.windows = m_ownWindows.get();
    }
    profiles->setWatcher(m_platform.windows);
    m_follower = new AppProfileFollower(*profiles, this);
    m_follower->sceneState = [this] {
        AppProfileFollower::Scene scene;
        myQQuickView *v = view();
        QQuickItem *root = v ? v->rootObject() : nullptr;
        if (!root)
            return scene;
        scene.ready = root->property("isPownOn").toBool();
        // The view is disabled while the scene sends or starts up.
        scene.busy = !m_hid.hidFree() || !v->isEnabled();
        scene.unsaved = root->property("hasUnsavedEdits").toBool();
        bool boxShown = false;
        for (const QMessageBox *box : findChildren<QMessageBox *>())
            boxShown = boxShown || box->isVisible();
        scene.dialogOpen =
            root->property("dialogOpen").toBool() || QApplication::activeModalWidget() || boxShown;
        scene.activeProfile = v->settingsStore().currentProfile();
        return scene;
    };
    // As the title bar applies a profile.
    m_follower->applyProfile = [this](int profile) {
        myQQuickView *v = view();
        if (QQuickItem *root = v ? v->rootObject() : nullptr)
            QMetaObject::invokeMethod(root, "applyProfile", Qt::DirectConnection, Q_ARG(QVariant, profile));
    };
    connect(m_platform.windows, &ActiveWindowWatcher::focusChanged, m_follower,
            &AppProfileFollower::focusChanged);
    connect(m_follower, &AppProfileFollower::switched, this, &Widget::showProfileSwitch);
}

void Widget::showProfileSwitch(int profile, const QString &program)
{
    AppProfiles *profiles = appProfiles();
    if (!profiles || !profiles->balloons())
        return;
    const QString name = profiles->profileName(profile);
    showInfo(program.isEmpty() ? mouseText(ProfileText).arg(name)
                               : mouseText(ProfileForProgramText).arg(name, program));
}

DeviceList Widget::readDeviceTable(const QString &fileName)
{
    return DeviceDiscovery::readDeviceTable(fileName);
}

void Widget::findInterfaces(DeviceList &list)
{
    DeviceDiscovery::findInterfaces(list);
}

void Widget::checkDevice()
{
    // A timer can fire while a command of the scene waits for the mouse; discovery replaces the device
    // list and probes, so it waits for that command to end.
    if (!m_hid.hidFree()) {
        m_deviceCheckTimer.start();
        return;
    }
    m_deviceCheckTimer.stop();
    m_looked = true;
    const bool wasConnected = isDeviceConnected;
    const bool accepted = DeviceDiscovery::accept(m_hid);

    myQQuickView *v = view();
    if (accepted) {
        qDebug("Device Connect");
        if (v)
            v->clearHidBusy();
        isDeviceConnected = true;
        m_toldAway = false;
        showInfo(mouseText(ConnectedText).arg(QString::fromLatin1(TrayToolTip)));
        m_hid.startListen(m_hid.currentIndex());
        if (v)
            DeviceDiscovery::loadProfileImage(m_hid);
        if (v) {
            v->setEnabled(true);
            v->setMouseConnected(true);
        }
        updateTrayTexts();
    } else {
        qDebug("Device DisConnect");
        markAway(wasConnected);
    }
    startScene();
    // What was changed while the mouse was away goes to it whole, once the scene has started again.
    if (accepted && m_unsent)
        QMetaObject::invokeMethod(this, &Widget::resendActiveProfile, Qt::QueuedConnection);
}

void Widget::deviceLost()
{
    // A discovery may have found the mouse again before this arrived.
    if (m_hid.isListening())
        return;
    markAway(isDeviceConnected);
}

void Widget::markAway(bool wasConnected)
{
    isDeviceConnected = false;
    if (myQQuickView *v = view())
        v->setMouseConnected(false);
    updateTrayTexts();
    if (wasConnected)
        showInfo(mouseText(DisconnectedText).arg(QString::fromLatin1(TrayToolTip)));
    if (m_unsent)
        tellStoredWhileAway();
}

void Widget::settingNotDelivered()
{
    m_unsent = true;
    // While connected, the listener's word on a removal decides; a failure alone may be passing.
    if (!isDeviceConnected)
        tellStoredWhileAway();
}

void Widget::tellStoredWhileAway()
{
    if (m_toldAway)
        return;
    m_toldAway = true;
    showNotice(mouseText(StoredWhileAwayText), false);
}

void Widget::resendActiveProfile()
{
    myQQuickView *v = view();
    QQuickItem *root = v ? v->rootObject() : nullptr;
    if (!isDeviceConnected || !root)
        return;
    m_unsent = false;
    const QVariant profile = v->getGlobalData(QStringLiteral("mouse/profileNo")).toInt();
    // As a profile change sends it; what fails now is marked again.
    QMetaObject::invokeMethod(root, "applyProfile", Qt::DirectConnection, Q_ARG(QVariant, profile));
}

QString Widget::mouseText(MouseText which)
{
    QString language = QStringLiteral("English");
    if (myQQuickView *v = view())
        language = v->getGlobalData(QStringLiteral("common/language")).toString();
    const QStringList texts = LanguageStrings().getLangStrings(QStringLiteral("device"), language);
    const QString text = texts.value(which);
    return text.isEmpty() ? QString::fromUtf8(DefaultMouseTexts[which]) : text;
}

void Widget::updateTrayTexts()
{
    QString tip = QString::fromLatin1(TrayToolTip);
    // Before the first discovery nothing is known either way.
    if (m_looked && !isDeviceConnected)
        tip += QStringLiteral(" - ") + mouseText(NoMouseText);
    m_trayIcon->setToolTip(tip);
    m_quitAction->setText(mouseText(QuitText));
}

void Widget::showDpiStage(int stage)
{
    myQQuickView *v = view();
    int value = 0;
    if (v) {
        if (!m_rules)
            m_rules = std::make_unique<SceneRules>();
        value = m_rules->dpiStages(v->settingsStore()).values.value(stage - 1);
    }
    showInfo(value > 0 ? mouseText(DpiStageValueText).arg(stage).arg(value)
                       : mouseText(DpiStageText).arg(stage));
}

void Widget::startScene()
{
    if (myQQuickView *v = view())
        v->initUI();
    QCoreApplication::postEvent(this, new SceneStartEvent(SceneStartEvent::RunCode));
}

void Widget::customEvent(QEvent *event)
{
    auto *start = dynamic_cast<SceneStartEvent *>(event);
    if (event->type() != QEvent::User || !start || start->code() != SceneStartEvent::RunCode)
        return;
    if (myQQuickView *v = view())
        v->runUI();
}

void Widget::deviceChangeNotified()
{
    // While listening the listener notices a removal itself; a burst of changes gives one discovery.
    if (!m_hid.isListening())
        m_deviceCheckTimer.start();
}

void Widget::showSettingsNotice(const QString &text)
{
    showNotice(text, true);
}

void Widget::showNotice(const QString &text, bool modal)
{
    const QString title = windowTitle().isEmpty() ? QString::fromLatin1(TrayToolTip) : windowTitle();
    // In the tray a balloon; with the window open a box on it that holds nothing up.
    if (!isVisible()) {
        m_platform.tray->showMessage(title, text, QSystemTrayIcon::Warning, 10000);
        return;
    }
    auto *box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // The window's style sheet makes every child transparent; the box takes the tray menu's colours.
    box->setStyleSheet(QString::fromLatin1(NoticeStyleSheet));
    if (modal) {
        box->open();
        return;
    }
    // A word on the mouse leaves the window usable meanwhile.
    box->setWindowModality(Qt::NonModal);
    box->show();
}

// The window comes back with or without a mouse: hidden, it could otherwise never be reached again.
void Widget::trayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (TrayActivation::restores(reason, TrayActivation::statusNotifierHost()))
        requestRestore();
}

void Widget::receiveMessage(QString)
{
    // The window is usable without a mouse: a second start always means "show it to me".
    requestRestore();
}

void Widget::exitSYS()
{
    m_hid.stopListen();
    QCoreApplication::exit(0);
}

void Widget::quitRequested()
{
    myQQuickView *v = view();
    QQuickItem *root = v ? v->rootObject() : nullptr;
    QVariant asked;
    if (!root || !QMetaObject::invokeMethod(root, "askUnsaved", Q_RETURN_ARG(QVariant, asked)) ||
        !asked.toBool()) {
        exitSYS();
        return;
    }
    if (!m_answerConnected)
        m_answerConnected = connect(root, SIGNAL(unsavedAnswered(int)), this, SLOT(unsavedAnswered(int)));
    m_quitAsked = true;
    // The question is in the window, which may be hidden in the tray.
    requestRestore();
}

void Widget::unsavedAnswered(int answer)
{
    if (!m_quitAsked)
        return;
    m_quitAsked = false;
    // Saved or discarded: the quit goes on. Cancelled: the program stays.
    if (answer != 2)
        exitSYS();
}

void Widget::requestRestore()
{
    m_platform.restorer->requestRestore(this);
}

void Widget::showInfo(const QString &text, int milliseconds)
{
    m_platform.tray->showMessage(QStringLiteral("Info"), text, QSystemTrayIcon::Information, milliseconds);
}
