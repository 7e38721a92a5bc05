// The device worker: the only object that talks to the mouse. The 553 and 560 commands as the scene,
// the bridge and the drivers call them, over the transport that owns the open device, and the
// listener for the mouse's own event reports.
#pragma once

#include "CommandReport.h"
#include "DeviceEntry.h"
#include "HidTransport.h"
#include "MouseDriver.h"

#include <QFuture>
#include <QObject>
#include <array>
#include <atomic>
#include <initializer_list>
#include <memory>
#include <mutex>

// Commands run on the caller's thread (the GUI thread); pending events run before a set command takes
// the device, never while one holds it. Only listenDeviceEvents runs on a thread of the global pool.
class Hid_Thread : public QObject
{
    Q_OBJECT
public:
    static constexpr int DataReadTimeoutMs = HidTransport::DataReadTimeoutMs;
    // Time limit of one event read; bounds how long stopping the listener and noticing an unplugged
    // mouse take.
    static constexpr int EventReadTimeoutMs = 500;

    explicit Hid_Thread(QObject *parent = nullptr);
    ~Hid_Thread() override;

    // The protocol driver of the mouse's family, chosen by discovery; null before.
    MouseDriver *driver() const { return m_driver.get(); }
    void setDriver(std::unique_ptr<MouseDriver> driver);

    // Replaces the device list and closes the command interface. A running listener is ended and
    // waited for first, since it reads its entry.
    void setDeviceList(const DeviceList &list);
    DeviceList deviceList() const;
    // The entry all commands go to: set by the probe, or by a caller that knows the entry is the mouse.
    int currentIndex() const { return m_currentIndex; }
    void setCurrentIndex(int index);
    // The secrecy code of the last probe of an entry with a six-character code: bytes 1-6 hold that
    // code, bytes 0 and 7 stay 0. Every later scrambled exchange uses it.
    const std::array<uchar, 8> &secrecyCode() const { return transport.secrecyCode(); }

    // The busy flag: free between commands. waitHidFree takes it as a command does (false when it
    // stayed taken); clearHidBusy frees it (the bridge calls this right after a successful probe).
    bool hidFree() const { return transport.hidFree(); }
    bool waitHidFree() { return transport.waitHidFree(); }
    void clearHidBusy() { transport.release(); }
    // Transactions that failed or never got the device (GUI thread only): the commands themselves
    // report nothing, and a caller that must tell failure from success compares this before and after.
    int failedTransactions() const { return transport.failedTransactions(); }
    // The open command interface (null when closed), and the listener's event interface.
    hid_device *cmdHandle() const { return transport.cmdHandle(); }
    hid_device *eventHandle() const { return m_eventHandle; }
    // Closes the command interface: the mouse went away, or the worker is done with it.
    void closeDevice() { transport.close(); }

    // Connection set-up: keyboard-option bit on, then the listener on the global thread pool.
    void startListen(int index);
    void stopListen();
    bool isListening() const { return m_isListening; }
    // Blocks until a running listener has returned (it notices a stop within one event read).
    void waitForListener();

private:
    std::unique_ptr<MouseDriver> m_driver;
    DeviceList devices;     // guarded by devicesMutex: the listener thread reads and edits its entry
    HidTransport transport; // GUI thread only
    int m_currentIndex = 1;
    hid_device *m_eventHandle = nullptr; // listener thread only
    std::atomic<bool> m_isListening{false};
    QFuture<void> listenerFuture;

public slots:
    uchar hidCS(uchar *cmd);
    bool chkDeviceIsEnCode(int index);
    void USBDataEncryption(uchar *FIFOBuf, uchar *SecrecyCode);
    void USBDataDecipher(uchar *FIFOBuf, uchar *SecrecyCode);
    void hid553_00H_GetSecrecyCode(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4);
    void hid553_83H_GetKeyboardoption(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4);
    void hid560_81H_GetKeyboardoption(uchar &byte1, uchar &byte2);
    void hid560_82H_GetCurrentProfile(uchar &byte1);
    void hid560_84H_GetCurrentDPI(uchar &byte1, uchar &byte2);
    void hid553_8BH_GetCurrentDPI(uchar &byte1);
    void hid553_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid553_04H_SetGunData(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2);
    void hid553_01H_SetReportRate(uchar rate);
    void hid560_03H_SetReportRate(uchar rate);
    void hid560_04H_SetCurrentDPI(uchar stage);
    void hid553_0BH_SetCurrentDPI(uchar stage);
    void hid553_12H_SetKeyMatrix(uchar *src64, uchar indexAddOne);
    void hid560_0DH_SetKeyMatrix(uchar *src64, uchar indexAddOne);
    void hid560_0CH_setProfile(uchar *src128, uchar profileData);
    void hid560_8CH_readProfile(uchar *src128, uchar profileNo);
    void hid560_02H_SetCurrentProfile(uchar profile);
    void hid553_13H_SetMacroKey(uchar macroId, uchar *src128);
    void hid560_0FH_SetMacroKey(uchar macroId, uchar *src128);
    void hid553_11H_SetDPISet(uchar dpiStage, uchar *src8);
    void hid553_02H_SetCurrentKeyMatrix(uchar currentKeyMatrix);
    void hid553_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2);
    void hid553_0CH_SetFixLEDColor(uchar *src3);
    void hid553_10H_SetLED8StageColor(uchar type, uchar *src24);

signals:
    // Emitted on the listener's thread; the shell connects them queued to the GUI thread, where they
    // arrive in the order the events came.
    void dpiStageChanged(int stage); // for the bridge's setCurrentDPI
    void deviceRemoved();            // the mouse is gone
    // Emitted on the GUI thread when a set command did not reach the mouse (no mouse, a transaction
    // that failed, or a device that stayed busy): what it carried is known to the settings only.
    void setCommandFailed();

private:
    void listenDeviceEvents(int index);
    hid_device *openEventPath(int index); // the listener's own: closes m_eventHandle, reopens path2

    bool entryAt(int index, DeviceEntry &entry) const;
    // Empties the entry's path (for the listener, path2) if it is still the one given: the interface
    // is gone until the next discovery finds it again.
    void forgetPath(int index, const QString &path, bool eventInterface);
    // The transactions on the entry at currentIndex; false when they failed.
    bool hidGet(int dataLength);
    bool hidSet(int dataLength, bool settle);
    bool finish(const DeviceEntry &entry, HidTransport::Outcome outcome);
    // The secrecy-code exchange; false only when it gave up on a busy device.
    bool exchangeSecrecyCode(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4);
    using Params = HidTransport::Params;
    // One get command without bulk data: busy flag, request, outputs preset in the answer, transaction.
    // outputs[i] pairs with answer byte 2 + i.
    void runGet(const char *failure, uchar code, const Params &params,
                std::initializer_list<uchar *> outputs);
    // One set command: busy flag, request, bulk data, transaction, then-pause.
    void runSet(const char *failure, uchar code, const Params &params, const uchar *data, int dataLength,
                bool settle, unsigned thenMs);
    // Runs the events that are pending before a set command takes the device.
    void letEventsIn();
    // The 560 report-rate and current-DPI commands: up to four reports under one busy flag.
    void runRepeated(const char *failure, uchar code, uchar value);

    mutable std::mutex devicesMutex; // a plain mutex, so that thread checkers see it
    std::atomic<bool> listenerReturned{false};
};
