// The scene's view and, at the same time, its backend: every stored setting and device command the
// pages need is a slot here, called by name from the scene through the context property "ui_View".
#pragma once

#include "GunDataStore.h"
#include "Hid_Thread.h"
#include "KeyMatrixEncoder.h"
#include "LanguageStrings.h"
#include "MacroStore.h"
#include "NameListStore.h"
#include "SettingsStore.h"

#include <QPointer>
#include <QQuickWidget>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <memory>

class FileChooser;
class MouseDriver;
class PointerSettings;

class myQQuickView : public QQuickWidget
{
    Q_OBJECT
    // Whether the mouse is there: the scene says so plainly while it is not. The window keeps it up to
    // date; the view stays usable either way, and what is changed meanwhile is stored.
    Q_PROPERTY(bool mouseConnected READ mouseConnected WRITE setMouseConnected NOTIFY mouseConnectedChanged)
    // Which desktop settings the last application of each pointer setting changed ("speed",
    // "doubleClick", "wheel": lists as PointerSettings::lastTargets()); absent until applied.
    Q_PROPERTY(QVariantMap pointerReport READ pointerReport NOTIFY pointerReportChanged)

public:
    // Opens the settings files relative to the working directory and reads the capability flags once.
    // Without a chooser or pointer settings the platform's own are used; given ones are not owned.
    explicit myQQuickView(QWidget *parent = nullptr, FileChooser *chooser = nullptr,
                          PointerSettings *pointer = nullptr);
    ~myQQuickView() override;

    // The device worker (not owned). Its DPI reports reach setCurrentDPI and its loss of the device
    // clears mouseConnected, both on this object's thread.
    void setWorker(Hid_Thread *worker);
    // The protocol driver discovery chose for the worker's mouse; null before any discovery.
    MouseDriver *driver() const;

    SettingsStore &settingsStore() { return store; }
    QVariantMap pointerReport() const { return m_pointerReport; }

signals:
    void pointerReportChanged();

public:
    bool mouseConnected() const { return m_mouseConnected; }
    void setMouseConnected(bool connected);

    // Members in this order. The flags are read once at construction and not again. The worker may be
    // destroyed before the view (it is a member of the window that owns the view), hence the guard.
    QPointer<Hid_Thread> worker;
    bool isColorful = false;
    bool isGun = false;
    QString icType;
    bool is55328 = false;

private:
    SettingsStore store; // global, default and ten profile settings objects, current profile

public slots:
    void clearHidBusy();
    void initUI();
    void runUI();
    void resetApconfig();
    bool loadMacroFile(QVariant macroFileName);
    void saveMacroFile(QVariant macroFileName);
    bool loadProfile(int profile);
    // The imported file's name without its suffix, which the scene names the new profile after.
    QString importedProfileName() const;
    void saveProfile(int profile);
    void resetProfile(int profile);
    void copyProfile(int destprofile, int srcprofile);
    QStringList getLangStrings(QString typeStr, QString langCode);
    // The installed languages, and the language the scene shows: the stored one, or on a first start
    // the locale's.
    QStringList getLanguages();
    QString getLanguage();
    QVariant createMacroIni(QVariant name, QVariant macroIndex);
    QVariant updataNameList(QVariant type, QStringList nameList);
    QVariant modifyMacroNameUpdateProfile(QVariant oldname, QVariant newname);
    void deleteMacroUpdateProfile(QVariant macroName);
    QVariant deleteMacroIni(QVariant name);
    QVariantList getNameList(QVariant type);
    QVariant saveMacroIni(QVariant name, QStringList macros, QVariant repeat);
    QVariant mouseSendMacroData(QVariantList macroData, QVariant macroIndex);
    QStringList loadMacroIni(QVariant name);
    void mouseSaveGundata(QVariant index, QVariantList src6);
    void mouseSendGundata(int gun, QVariantList values);
    void modifyGundata(QVariant modifyType, QVariantList src6);
    QVariantList getGunData(QVariant name);
    QStringList getGunDataKey();
    QVariant getXYSensitive(QVariant index);
    QVariant getselectGun(QVariant index);
    void setXYSensitive(QVariant index, QVariant xyData);
    void setSelectGun(QVariant index, QVariant xyData);
    void setCurrentProfile(int profile);
    void mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void mouseSetReportRate(uchar rate);
    void mouseSetCurrentDPI(uchar currentDPI);
    void mouseResetKeyMatrix();
    QVariant mouseGetCurrentDPI();
    void mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam);
    void mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray);
    void mouseSetRGBEffect(uchar effect, uchar option1, uchar option2);
    void mouseSetRGBColor(uchar type, QVariantList src24);
    void mouseSetProfile(uint profileNo);
    void mouseReadProfile(uint profileNo);
    QVariant mouseReadCurrentProfile();
    // A window that starts with a mouse begins on the mouse's first profile, where the mouse keeps
    // several; the driver knows whether it does.
    void mouseStartOnFirstProfile();
    void mouseSwitchKeyMatrix(int indexNo);
    QVariantList GetKeyboardoption();
    void mouseSetCursorSpeed(uint cursorSpeed);
    void mouseSetVerticalScrollLines(uint lines);
    void mouseSetDoubleClickSpeed(uint speed);
    QVariantList mouseGetKeydefine(QVariant index, bool isRecovery);
    // Part of the scene's contract; there is nothing for it to do.
    void openUpdateExe();
    QVariant getData(QVariant key, bool isRecovery);
    QVariant getGlobalData(QVariant key);
    QVariantList getDataList(QVariant key, bool isRecovery);
    void setData(QVariant key, QVariant data);
    void setGlobalData(QVariant key, QVariant tmpdata);
    void setDataList(QVariant key, QVariantList datalist);
    void setBusy(int busyTime);
    void setCurrentDPI(int dpiValue);

signals:
    void mouseConnectedChanged();

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    std::array<QVariantList, KeyMatrixEncoder::positions> gunTemplate() const;
    // What the key matrix encoding held back, to the debug output.
    static void reportHeld(const QStringList &held);
    void callScene(const char *function, Qt::ConnectionType type, const QVariant &arg = QVariant());

    NameListStore nameLists;
    MacroStore macros;
    GunDataStore guns;
    LanguageStrings languages;
    std::unique_ptr<PointerSettings> ownPointer;
    QVariantMap m_pointerReport;
    void reportPointer(const QString &setting, bool ok);
    PointerSettings *pointer;
    bool m_mouseConnected = false;
};
