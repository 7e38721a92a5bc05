// The device worker: the only object that talks to the mouse (command transport, scrambling,
// the 553 and 560 command sets) and the listener for the mouse's own event reports.
#pragma once

#include "CommandReport.h"
#include "DeviceEntry.h"
#include "MouseDriver.h"

#include <QFuture>
#include <QObject>
#include <array>
#include <atomic>
#include <hidapi/hidapi.h>
#include <initializer_list>
#include <memory>
#include <mutex>

// Commands run on the caller's thread (the GUI thread); pending events run before a set command takes
// the device, never while one holds it. Only listenDeviceEvents runs on a thread of the global pool.
class Hid_Thread : public QObject
{
    Q_OBJECT
public:
    // Time limit of one bulk data read of a get transaction: a device that never sends its input
    // report fails the command instead of blocking the program.
    static constexpr int DataReadTimeoutMs = 1000;
    // Time limit of one event read; bounds how long stopping the listener and noticing an unplugged
    // mouse take.
    static constexpr int EventReadTimeoutMs = 500;
    // Largest report a HID device can carry; a device table asking for more is not used for bulk data.
    static constexpr int MaxReportLength = 4096;

    explicit Hid_Thread(QObject *parent = nullptr);
    ~Hid_Thread() override;

    // The protocol driver of the mouse's family, chosen by discovery; null before.
    MouseDriver *driver() const { return m_driver.get(); }
    void setDriver(std::unique_ptr<MouseDriver> driver);

    // Replaces the device list. A running listener is ended and waited for first, since it reads
    // its entry.
    void setDeviceList(const DeviceList &list);
    DeviceList deviceList() const;
    // The secrecy code of the last probe of an entry with a six-character code: bytes 1-6 hold that
    // code, bytes 0 and 7 stay 0. Every later scrambled exchange uses it.
    const std::array<uchar, 8> &secrecyCode() const { return SecrecyCode; }

    // Marks the worker free for commands (the bridge calls this right after a successful probe).
    void clearHidBusy() { hidFree = true; }

    // Connection set-up: keyboard-option bit on, then the listener on the global thread pool.
    void startListen(int index);
    void stopListen();
    // Blocks until a running listener has returned (it notices a stop within one event read).
    void waitForListener();

    hid_device *openCmdPath(int index);
    hid_device *openEventPath(int index); // the listener's own: it owns eventHandle
    bool waitHidFree();
    bool hidGet(int dataLength);
    bool hidSet(int dataLength, bool settle);
    void settleDelay();

private:
    std::unique_ptr<MouseDriver> m_driver;
    DeviceList devices; // guarded by devicesMutex: the listener thread reads and edits its entry

public:
    int currentIndex = 1;
    hid_device *cmdHandle = nullptr;
    hid_device *eventHandle = nullptr; // listener thread only
    bool hidFree = true;               // GUI thread only
    // Transactions that failed or never got the device (GUI thread only): the commands themselves
    // report nothing, and a caller that must tell failure from success compares this before and after.
    int failedTransactions = 0;
    std::atomic<bool> isListening{false};

private:
    QFuture<void> listenerFuture;

public:
    CommandReport cmdReport;
    CommandReport ansReport;
    uchar dataBuf[512] = {};

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

    bool entryAt(int index, DeviceEntry &entry) const;
    hid_device *reopen(int index, bool eventInterface);
    void closeCmdHandle();
    bool endTransaction(bool ok);
    // Opens the command interface and checks the entry for dataLength bytes of bulk data; on failure
    // the transaction has already ended (busy flag released).
    bool beginTransaction(int dataLength, DeviceEntry &entry);
    // The secrecy-code exchange; false only when it gave up on a busy device.
    bool exchangeSecrecyCode(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4);
    // Fills cmdReport: report ID 0, the code, parameters 2-7, checksum.
    using Params = std::array<uchar, CommandReport::ParamCount>; // request bytes 2-7
    void buildRequest(uchar code, const Params &params);
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

    std::array<uchar, 8> SecrecyCode{};
    mutable std::mutex devicesMutex; // a plain mutex, so that thread checkers see it
    std::atomic<bool> listenerReturned{false};
};
