// The program's main window: device discovery, the tray icon and its notifications, and the
// owner of the device worker and the window controller.
#pragma once

#include "DeviceDiscovery.h"
#include "Hid_Thread.h"

#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <memory>

class ActiveWindowWatcher;
class AppProfileFollower;
class AppProfiles;
class DeviceChangeMonitor;
class SceneRules;
class TrayNotifier;
class Ui_Controler;
class WindowRestorer;
class myQQuickView;
class QAction;
class QMenu;

// Set by discovery: true from the acceptance of a device until a later discovery finds none.
extern bool isDeviceConnected;

class Widget : public QWidget
{
    Q_OBJECT
public:
    // The platform services the window uses; a null one is replaced by this system's own.
    // Given services are not owned.
    struct Platform
    {
        TrayNotifier *tray = nullptr;
        DeviceChangeMonitor *deviceChanges = nullptr;
        WindowRestorer *restorer = nullptr;
        // Which program's window is in front, for the profiles that follow programs.
        ActiveWindowWatcher *windows = nullptr;
    };

    static const char *const TrayToolTip;
    static const char *const TrayMenuStyleSheet;
    static constexpr int DeviceCheckIntervalMs = 2048;
    static constexpr int MaxDeviceEntries = DeviceDiscovery::MaxDeviceEntries;

    explicit Widget(QWidget *parent = nullptr);
    explicit Widget(const Platform &platform, QWidget *parent = nullptr);
    ~Widget() override;

    Hid_Thread &hid() { return m_hid; }
    Ui_Controler *controller() const { return m_controller; }
    myQQuickView *view() const;
    QSystemTrayIcon *trayIcon() const { return m_trayIcon; }
    QMenu *trayMenu() const { return m_trayMenu; }
    QAction *quitAction() const { return m_quitAction; }
    QTimer &deviceCheckTimer() { return m_deviceCheckTimer; }
    AppProfiles *appProfiles() const;
    AppProfileFollower *appProfileFollower() const { return m_follower; }

    // The texts of the mouse's coming and going, in the window's language (section "device" of the
    // language files; the English ones where an installation lacks it).
    enum MouseText {
        NoMouseText,
        StoredWhileAwayText,
        ConnectedText,     // %1 the mouse
        DisconnectedText,  // %1 the mouse
        DpiStageValueText, // %1 stage, %2 DPI
        DpiStageText,      // %1 stage
        QuitText,
        ProfileForProgramText, // %1 the profile, %2 the program
        ProfileText,           // %1 the profile
        MouseTextCount
    };
    QString mouseText(MouseText which);

    // DeviceDiscovery's, kept for the window's callers.
    static DeviceList readDeviceTable(const QString &fileName);
    static void findInterfaces(DeviceList &list);

public slots:
    void trayIconActivated(QSystemTrayIcon::ActivationReason reason);
    void checkDevice();
    void exitSYS();
    // The tray's Quit: with unsaved edits in the window it is shown and asks first (save, discard,
    // or cancel, which keeps the program running); otherwise exitSYS().
    void quitRequested();
    // A second start: the window comes to the front, with or without a mouse.
    void receiveMessage(QString message);

protected:
    void customEvent(QEvent *event) override;

private slots:
    void deviceChangeNotified();
    // The listener found the mouse gone.
    void deviceLost();
    // A setting did not reach the mouse: it is sent whole when the mouse is back.
    void settingNotDelivered();
    void showDpiStage(int stage);
    // The tray's tool tip and menu in the window's language and with the mouse's state.
    void updateTrayTexts();
    // What the person must know about the settings files (SettingsNotice).
    void showSettingsNotice(const QString &text);
    void unsavedAnswered(int answer);
    // A program in front switched the profile: a balloon says so, unless the person turned it off.
    void showProfileSwitch(int profile, const QString &program);

private:
    // The mouse is not there (any more): the scene and the tray say so, and a balloon when it was.
    void markAway(bool wasConnected);
    // Once per absence: what was changed is stored, and the mouse gets it when it is back.
    void tellStoredWhileAway();
    // A box on the window when it is shown, else a tray balloon.
    void showNotice(const QString &text, bool modal);
    void resendActiveProfile();
    void startScene();
    void requestRestore();
    void showInfo(const QString &text, int milliseconds = 10000);
    void startFollowing();

    // Members in this order.
    QTimer m_deviceCheckTimer;
    Ui_Controler *m_controller = nullptr;
    Hid_Thread m_hid;
    QSystemTrayIcon *m_trayIcon = nullptr;

    QMenu *m_trayMenu = nullptr;
    QAction *m_quitAction = nullptr;
    std::unique_ptr<TrayNotifier> m_ownTray;
    std::unique_ptr<DeviceChangeMonitor> m_ownDeviceChanges;
    std::unique_ptr<WindowRestorer> m_ownRestorer;
    std::unique_ptr<ActiveWindowWatcher> m_ownWindows;
    AppProfileFollower *m_follower = nullptr;
    Platform m_platform;
    bool m_quitAsked = false;
    bool m_answerConnected = false;
    std::unique_ptr<SceneRules> m_rules;
    bool m_looked = false;   // a discovery has run
    bool m_unsent = false;   // something was changed that the mouse did not get
    bool m_toldAway = false; // the person knows, for this absence
};
