// The backend slots: store slots forward to the store classes, device slots encode with the bridge's
// encoders and call the worker's commands on the calling (GUI) thread.
#include "myQQuickView.h"

#include "DpiEncoder.h"
#include "Hid_Thread.h"
#include "LightingEncoder.h"
#include "LinuxPointerSettings.h"
#include "ListItems.h"
#include "MouseDriver.h"

#include <QDebug>
#include <QFocusEvent>
#include <QJSValue>
#include <QQuickItem>
#include <QThread>
#include <limits>

namespace {

// A script list reaches a QVariant argument as a script value, which a settings file would keep as
// an opaque blob that no later read (not even the next start's) can turn back into the list.
QVariant plainValue(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QJSValue>())
        return value.value<QJSValue>().toVariant();
    return value;
}

} // namespace

myQQuickView::myQQuickView(QWidget *parent, FileChooser *chooser, PointerSettings *pointerSettings)
    : QQuickWidget(parent), store(chooser), macros(store), guns(store), pointer(pointerSettings)
{
    isColorful = store.isColorful();
    isGun = store.isGun();
    icType = store.icType();
    is55328 = store.is55328();
    store.setDialogParent(this);
    if (!pointer) {
        ownPointer = std::make_unique<LinuxPointerSettings>();
        pointer = ownPointer.get();
    }
}

myQQuickView::~myQQuickView()
{
    setWorker(nullptr);
}

void myQQuickView::setWorker(Hid_Thread *newWorker)
{
    if (worker)
        disconnect(worker, nullptr, this, nullptr);
    worker = newWorker;
    if (!worker)
        return;
    // The listener emits from its own thread; queued delivery keeps the events' order.
    connect(worker, &Hid_Thread::dpiStageChanged, this, &myQQuickView::setCurrentDPI, Qt::QueuedConnection);
    // The view is not disabled: the window, its title bar and its pages stay usable without a mouse.
    connect(
        worker, &Hid_Thread::deviceRemoved, this, [this] { setMouseConnected(false); }, Qt::QueuedConnection);
}

MouseDriver *myQQuickView::driver() const
{
    return worker ? worker->driver() : nullptr;
}

void myQQuickView::setMouseConnected(bool connected)
{
    if (connected == m_mouseConnected)
        return;
    m_mouseConnected = connected;
    emit mouseConnectedChanged();
}

// --- the scene ---

void myQQuickView::callScene(const char *function, Qt::ConnectionType type, const QVariant &arg)
{
    QQuickItem *root = rootObject();
    if (!root)
        return;
    if (arg.isValid())
        QMetaObject::invokeMethod(root, function, type, Q_ARG(QVariant, arg));
    else
        QMetaObject::invokeMethod(root, function, type);
}

void myQQuickView::clearHidBusy()
{
    if (worker)
        worker->clearHidBusy();
}

void myQQuickView::initUI()
{
    callScene("initUI", Qt::QueuedConnection);
}

void myQQuickView::runUI()
{
    callScene("run", Qt::QueuedConnection);
}

void myQQuickView::setBusy(int busyTime)
{
    callScene("setProtectUI", Qt::DirectConnection, busyTime);
}

void myQQuickView::setCurrentDPI(int dpiValue)
{
    if (QThread::currentThread() != thread()) {
        // Called from the listener's thread: the scene is touched on the GUI thread only.
        QMetaObject::invokeMethod(
            this, [this, dpiValue] { setCurrentDPI(dpiValue); }, Qt::QueuedConnection);
        return;
    }
    callScene("setCurrentDPI", Qt::DirectConnection, dpiValue);
}

void myQQuickView::openUpdateExe() {}

void myQQuickView::focusInEvent(QFocusEvent *event)
{
    update();
    // The base handler hands the focus on to the scene's window; without it no key reaches the scene.
    QQuickWidget::focusInEvent(event);
    event->accept();
}

// --- settings files ---

void myQQuickView::resetApconfig()
{
    store.resetApconfig();
}

bool myQQuickView::loadProfile(int profile)
{
    return store.loadProfile(profile);
}

QString myQQuickView::importedProfileName() const
{
    return store.importedProfileName();
}

void myQQuickView::saveProfile(int profile)
{
    store.saveProfile(profile);
}

void myQQuickView::resetProfile(int profile)
{
    store.resetProfile(profile);
}

void myQQuickView::copyProfile(int destprofile, int srcprofile)
{
    store.copyProfile(destprofile, srcprofile);
}

void myQQuickView::setCurrentProfile(int profile)
{
    store.setCurrentProfile(profile);
}

QVariant myQQuickView::getData(QVariant key, bool isRecovery)
{
    return store.getData(key, isRecovery);
}

QVariant myQQuickView::getGlobalData(QVariant key)
{
    return store.getGlobalData(key);
}

QVariantList myQQuickView::getDataList(QVariant key, bool isRecovery)
{
    return store.getDataList(key, isRecovery);
}

void myQQuickView::setData(QVariant key, QVariant data)
{
    store.setData(key, plainValue(data));
}

void myQQuickView::setGlobalData(QVariant key, QVariant tmpdata)
{
    store.setGlobalData(key, plainValue(tmpdata));
}

void myQQuickView::setDataList(QVariant key, QVariantList datalist)
{
    store.setDataList(key, datalist);
}

QStringList myQQuickView::getLangStrings(QString typeStr, QString langCode)
{
    return languages.getLangStrings(typeStr, langCode);
}

QStringList myQQuickView::getLanguages()
{
    return LanguageStrings::installedLanguages();
}

QString myQQuickView::getLanguage()
{
    return LanguageStrings::chosenLanguage(store.getGlobalData(QStringLiteral("common/language")));
}

QVariant myQQuickView::updataNameList(QVariant type, QStringList nameList)
{
    return nameLists.updataNameList(type, nameList);
}

QVariantList myQQuickView::getNameList(QVariant type)
{
    return nameLists.getNameList(type);
}

// --- macros ---

bool myQQuickView::loadMacroFile(QVariant macroFileName)
{
    return macros.loadMacroFile(macroFileName);
}

void myQQuickView::saveMacroFile(QVariant macroFileName)
{
    macros.saveMacroFile(macroFileName);
}

QVariant myQQuickView::createMacroIni(QVariant name, QVariant macroIndex)
{
    return macros.createMacroIni(name, macroIndex);
}

QVariant myQQuickView::modifyMacroNameUpdateProfile(QVariant oldname, QVariant newname)
{
    return macros.modifyMacroNameUpdateProfile(oldname, newname);
}

void myQQuickView::deleteMacroUpdateProfile(QVariant macroName)
{
    macros.deleteMacroUpdateProfile(macroName);
}

QVariant myQQuickView::deleteMacroIni(QVariant name)
{
    return macros.deleteMacroIni(name);
}

QVariant myQQuickView::saveMacroIni(QVariant name, QStringList steps, QVariant repeat)
{
    return macros.saveMacroIni(name, steps, repeat);
}

QStringList myQQuickView::loadMacroIni(QVariant name)
{
    return macros.loadMacroIni(name);
}

QVariant myQQuickView::mouseSendMacroData(QVariantList macroData, QVariant macroIndex)
{
    // The whole number is checked: cutting it first would send slot 256, or 2^32, to slot 0.
    const auto slot = ListItems::wholeNumber(macroIndex, 0, KeyMatrixEncoder::macroSlots - 1);
    if (!slot) {
        qDebug().noquote() << QStringLiteral("Macro slot %1 is none of the mouse's slots 0 to %2; not sent")
                                  .arg(macroIndex.toString())
                                  .arg(KeyMatrixEncoder::macroSlots - 1);
        return true;
    }
    MouseDriver *d = driver();
    if (!d)
        return true;
    uchar buffer[128] = {};
    const int n = std::min<qsizetype>(macroData.size(), 128);
    for (int i = 0; i < n; ++i)
        buffer[i] = static_cast<uchar>(macroData.at(i).toInt() & 0xFF);
    d->sendMacro(static_cast<uchar>(*slot + 1), buffer);
    return true;
}

// --- gun presets ---

void myQQuickView::mouseSaveGundata(QVariant index, QVariantList src6)
{
    guns.mouseSaveGundata(index, src6);
}

void myQQuickView::modifyGundata(QVariant modifyType, QVariantList src6)
{
    guns.modifyGundata(modifyType, src6);
}

QVariantList myQQuickView::getGunData(QVariant name)
{
    return guns.getGunData(name);
}

QStringList myQQuickView::getGunDataKey()
{
    return guns.getGunDataKey();
}

QVariant myQQuickView::getXYSensitive(QVariant index)
{
    return guns.getXYSensitive(index);
}

QVariant myQQuickView::getselectGun(QVariant index)
{
    return guns.getselectGun(index);
}

void myQQuickView::setXYSensitive(QVariant index, QVariant xyData)
{
    guns.setXYSensitive(index, xyData);
}

void myQQuickView::setSelectGun(QVariant index, QVariant xyData)
{
    guns.setSelectGun(index, xyData);
}

void myQQuickView::mouseSendGundata(int gun, QVariantList values)
{
    MouseDriver *d = driver();
    if (!isGun || !d)
        return;
    // Only guns 1 … 3 exist; another number would reach the mouse as some other gun (0 as gun 255).
    if (gun < 1 || gun > 3) {
        qDebug() << "Gun" << gun << "is none of the guns 1 to 3; not sent";
        return;
    }
    d->sendGun(gun, ListItems::byteAt(values, 0), ListItems::byteAt(values, 1),
               ListItems::unsignedByteAt(values, 2));
}

// --- key matrices ---

QVariantList myQQuickView::mouseGetKeydefine(QVariant index, bool isRecovery)
{
    return store.getDataList(QStringLiteral("mouseKeyMatrix/") + index.toString(), isRecovery);
}

std::array<QVariantList, KeyMatrixEncoder::positions> myQQuickView::gunTemplate() const
{
    std::array<QVariantList, KeyMatrixEncoder::positions> entries;
    for (int n = 0; n < KeyMatrixEncoder::positions; ++n)
        entries[n] = store.getDataList(QStringLiteral("mouseFwKeyMatrix/") + QString::number(n), false);
    return entries;
}

void myQQuickView::mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam)
{
    for (int n = 0; n < KeyMatrixEncoder::positions; ++n) {
        QVariantList definition;
        for (int i = 4 * n; i < 4 * n + 4; ++i)
            definition << (i < src64.size() ? src64.at(i) : QVariant(0));
        store.setDataList(QStringLiteral("mouseKeyMatrix/") + QString::number(n), definition);
    }
    MouseDriver *d = driver();
    if (!isSendData || !d)
        return;
    const KeyMatrixSet set =
        KeyMatrixEncoder::encode(src64, otherParam, gunTemplate(), d->keyMatrixDialect());
    reportHeld(set.held);
    d->sendKeyMatrices(set);
}

void myQQuickView::mouseResetKeyMatrix()
{
    MouseDriver *d = driver();
    if (!d)
        return;
    QStringList held;
    const KeyMatrix t = KeyMatrixEncoder::templateMatrix(gunTemplate(), &held);
    reportHeld(held);
    for (uchar m = 2; m <= 4; ++m)
        d->sendKeyMatrix(t, m);
}

void myQQuickView::reportHeld(const QStringList &held)
{
    for (const QString &line : held)
        qDebug().noquote() << QStringLiteral("Key matrix:") << line;
}

void myQQuickView::mouseSwitchKeyMatrix(int indexNo)
{
    // Matrices 1 … 4 exist; a larger number would be cut to one of them.
    if (MouseDriver *d = driver(); d && indexNo >= 1 && indexNo <= 4)
        d->selectKeyMatrix(indexNo);
}

// --- DPI, report rate, keyboard option ---

void myQQuickView::mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray)
{
    MouseDriver *d = driver();
    if (!d)
        return;
    // One to eight stages: a count cut to a byte would claim stages the codes mark as off.
    dpiCount = std::clamp(dpiCount, 1, DpiEncoder::stages);
    d->setDpiStages(dpiCount, DpiEncoder::encode(dpiCount, sensorType, dpiValueArray));
}

void myQQuickView::mouseSetCurrentDPI(uchar currentDPI)
{
    if (MouseDriver *d = driver(); d && currentDPI >= 1 && currentDPI <= DpiEncoder::stages)
        d->setActiveDpiStage(currentDPI);
}

QVariant myQQuickView::mouseGetCurrentDPI()
{
    MouseDriver *d = driver();
    return d ? d->activeDpiStage() : 0;
}

void myQQuickView::mouseSetReportRate(uchar rate)
{
    if (MouseDriver *d = driver())
        d->setReportRate(rate);
}

void myQQuickView::mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    if (worker)
        worker->hid553_03H_SetKeyboardoption(byte1, byte2, byte3, byte4);
}

QVariantList myQQuickView::GetKeyboardoption()
{
    uchar b[4] = {0, 0, 0, 0};
    if (worker)
        worker->hid553_83H_GetKeyboardoption(b[0], b[1], b[2], b[3]);
    return {int(b[0]), int(b[1]), int(b[2]), int(b[3])};
}

// --- lighting ---

void myQQuickView::mouseSetRGBEffect(uchar effect, uchar option1, uchar option2)
{
    if (MouseDriver *d = driver())
        d->setLightingEffect(isColorful ? LightingEncoder::fullColour(effect, option1, option2)
                                        : LightingEncoder::singleColour(effect, option1, option2));
}

void myQQuickView::mouseSetRGBColor(uchar type, QVariantList src24)
{
    if (MouseDriver *d = driver())
        d->setColours(type, LightingEncoder::colourBytes(src24));
}

// --- profile memory (where the mouse keeps one) ---

void myQQuickView::mouseSetProfile(uint profileNo)
{
    if (MouseDriver *d = driver())
        d->writeProfileBlock(profileNo);
}

void myQQuickView::mouseReadProfile(uint profileNo)
{
    if (MouseDriver *d = driver())
        d->readProfileBlock(profileNo);
}

QVariant myQQuickView::mouseReadCurrentProfile()
{
    uchar byte1 = 0;
    if (worker)
        worker->hid560_82H_GetCurrentProfile(byte1);
    return int(byte1);
}

void myQQuickView::mouseStartOnFirstProfile()
{
    if (MouseDriver *d = driver())
        d->startOnFirstProfile();
}

// --- the desktop's pointer settings ---

void myQQuickView::reportPointer(const QString &setting, bool ok)
{
    m_pointerReport.insert(setting, ok ? pointer->lastTargets() : QStringList());
    emit pointerReportChanged();
}

void myQQuickView::mouseSetCursorSpeed(uint cursorSpeed)
{
    const qint64 speed = cursorSpeed == 0 ? 1 : 2 * qint64(cursorSpeed);
    const bool ok = pointer->setPointerSpeed(int(std::min<qint64>(speed, std::numeric_limits<int>::max())));
    if (!ok)
        qDebug("setCursorSpeed Failed");
    reportPointer(QStringLiteral("speed"), ok);
}

void myQQuickView::mouseSetDoubleClickSpeed(uint speed)
{
    // Indexes past 12 would give no time at all; the platform refuses those.
    const qint64 ms = 900 - 70 * qint64(speed);
    const bool ok = pointer->setDoubleClickTime(int(std::max<qint64>(ms, std::numeric_limits<int>::min())));
    if (!ok)
        qDebug("setDoubleClickSpeed Failed");
    reportPointer(QStringLiteral("doubleClick"), ok);
}

void myQQuickView::mouseSetVerticalScrollLines(uint lines)
{
    const bool ok = pointer->setWheelScrollLines(int(std::min<uint>(lines, std::numeric_limits<int>::max())));
    if (!ok)
        qDebug("setVerticalScrollLines Failed");
    reportPointer(QStringLiteral("wheel"), ok);
}
