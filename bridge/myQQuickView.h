// The scene's view and, at the same time, its backend: every stored setting and device command the
// pages need is a slot here, called by name from the scene through the context property "ui_View".
#pragma once

#include "GunDataStore.h"
#include "Hid_Thread.h"
#include "KeyMatrixEncoder.h"
#include "LanguageStrings.h"
#include "MacroStore.h"
#include "NameListStore.h"
#include "ProfileImage.h"
#include "ProtocolFamily.h"
#include "SettingsStore.h"
#include "ViewHidOwner.h"

#include <QPointer>
#include <QQuickWidget>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <memory>

class FileChooser;
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
    // clears mouseConnected, both on this object's thread; when the worker has no owner yet, the view
    // answers its family and gun questions.
    void setWorker(Hid_Thread *worker);

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

public:
    ProfileImage profileImage; // 560 family: profile memory blocks 0 … 4
    // Whether the blocks the mouse has were all read since it was found: blocks written from an image
    // never read would overwrite the mouse's own settings with zeros.
    bool profileImageRead = false;

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
    void mouseSwitchKeyMatrix(int indexNo);
    QVariantList GetKeyboardoption();
    void mouseSetCursorSpeed(uint cursorSpeed);
    void mouseSetVerticalScrollLines(uint lines);
    void mouseSetDoubleClickSpeed(uint speed);
    QVariantList mouseGetKeydefine(QVariant index, bool isRecovery);
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
    bool is560() const { return family == ProtocolFamily::Family560; }
    // Writes the given profile blocks to the mouse, in order.
    void writeBlocks(std::initializer_list<uint> blocks);
    // Block 1, then blocks 2 … 4 on a mouse with gun functions.
    void writeSettingBlocks();
    std::array<QVariantList, KeyMatrixEncoder::positions> gunTemplate() const;
    void sendKeyMatrix(const KeyMatrix &matrix, uchar number);
    // What the key matrix encoding held back, to the debug output.
    static void reportHeld(const QStringList &held);
    void callScene(const char *function, Qt::ConnectionType type, const QVariant &arg = QVariant());

    ProtocolFamily family = ProtocolFamily::Family553;
    NameListStore nameLists;
    MacroStore macros;
    GunDataStore guns;
    LanguageStrings languages;
    ViewHidOwner hidOwner;
    std::unique_ptr<PointerSettings> ownPointer;
    QVariantMap m_pointerReport;
    void reportPointer(const QString &setting, bool ok);
    PointerSettings *pointer;
    bool m_mouseConnected = false;
};
