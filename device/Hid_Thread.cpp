// The device worker's transport: opening by path, the busy flag, the get and set transactions.
#include "Hid_Thread.h"

#include "TimeSeam.h"

#include <QDebug>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int BusyTries = 255;
constexpr unsigned BusyPollMs = 8;
constexpr unsigned SettleStepMs = 64;
constexpr unsigned AfterWriteMs = 120;

// A bulk transfer needs a report length a HID device can carry and a length that fits dataBuf.
bool bulkTransferUsable(int reportLength, int dataLength, int bufferSize)
{
    return reportLength >= 1 && reportLength <= Hid_Thread::MaxReportLength && dataLength <= bufferSize;
}

} // namespace

Hid_Thread::Hid_Thread(QObject *parent) : QObject(parent) {}

Hid_Thread::~Hid_Thread()
{
    // The listener reads this object's fields until it returns.
    isListening = false;
    waitForListener();
    closeCmdHandle();
}

void Hid_Thread::setDriver(std::unique_ptr<MouseDriver> driver)
{
    m_driver = std::move(driver);
}

void Hid_Thread::setDeviceList(const DeviceList &list)
{
    if (listenerFuture.isRunning()) {
        isListening = false;
        waitForListener();
    }
    std::lock_guard<std::mutex> lock(devicesMutex);
    devices = list;
}

DeviceList Hid_Thread::deviceList() const
{
    std::lock_guard<std::mutex> lock(devicesMutex);
    return devices;
}

bool Hid_Thread::entryAt(int index, DeviceEntry &entry) const
{
    std::lock_guard<std::mutex> lock(devicesMutex);
    if (index < 0 || index >= devices.size())
        return false;
    entry = devices.at(index);
    return true;
}

uchar Hid_Thread::hidCS(uchar *cmd)
{
    uchar sum = 0;
    for (int i = 0; i < CommandReport::ChecksumSpan; ++i)
        sum = uchar(sum + cmd[i]);
    return uchar(~sum);
}

void Hid_Thread::buildRequest(uchar code, const Params &params)
{
    cmdReport[CommandReport::ReportIdOffset] = 0;
    cmdReport[CommandReport::CodeOffset] = code;
    std::copy(params.begin(), params.end(), cmdReport.data() + CommandReport::ParamOffset);
    cmdReport[CommandReport::ChecksumOffset] = hidCS(cmdReport.data() + CommandReport::CodeOffset);
}

hid_device *Hid_Thread::openCmdPath(int index)
{
    return reopen(index, false);
}

hid_device *Hid_Thread::openEventPath(int index)
{
    return reopen(index, true);
}

hid_device *Hid_Thread::reopen(int index, bool eventInterface)
{
    QByteArray path;
    {
        std::lock_guard<std::mutex> lock(devicesMutex);
        if (index < 0 || index >= devices.size())
            return nullptr;
        const DeviceEntry &entry = devices.at(index);
        path = (eventInterface ? entry.path2 : entry.path).toLatin1();
    }
    if (path.isEmpty())
        return nullptr;

    hid_device *&handle = eventInterface ? eventHandle : cmdHandle;
    if (handle) {
        hid_close(handle);
        handle = nullptr;
    }
    handle = hid_open_path(path.constData());
    if (handle) {
        hid_set_nonblocking(handle, 0);
        return handle;
    }

    // The interface is gone: forget its path until the next discovery finds it again.
    std::lock_guard<std::mutex> lock(devicesMutex);
    if (index < devices.size()) {
        DeviceEntry &entry = devices[index];
        QString &stored = eventInterface ? entry.path2 : entry.path;
        if (stored.toLatin1() == path)
            stored.clear();
    }
    return nullptr;
}

void Hid_Thread::closeCmdHandle()
{
    if (cmdHandle) {
        hid_close(cmdHandle);
        cmdHandle = nullptr;
    }
}

bool Hid_Thread::endTransaction(bool ok)
{
    closeCmdHandle();
    hidFree = true;
    if (!ok)
        ++failedTransactions;
    return ok;
}

bool Hid_Thread::waitHidFree()
{
    for (int i = 0; i < BusyTries; ++i) {
        if (hidFree) {
            hidFree = false;
            return true;
        }
        kc::sleepMs(BusyPollMs);
    }
    ++failedTransactions;
    return false;
}

void Hid_Thread::settleDelay()
{
    kc::sleepMs(SettleStepMs);
    kc::sleepMs(SettleStepMs);
}

bool Hid_Thread::beginTransaction(int dataLength, DeviceEntry &entry)
{
    if (!openCmdPath(currentIndex)) {
        hidFree = true;
        ++failedTransactions;
        return false;
    }
    if (!entryAt(currentIndex, entry))
        return endTransaction(false);
    if (dataLength > 0 && !bulkTransferUsable(entry.reportLength, dataLength, sizeof dataBuf))
        return endTransaction(false);
    return true;
}

bool Hid_Thread::hidGet(int dataLength)
{
    DeviceEntry entry;
    if (!beginTransaction(dataLength, entry))
        return false;

    if (entry.isEncode)
        USBDataEncryption(cmdReport.data() + CommandReport::ScrambledOffset, SecrecyCode.data());

    if (!openCmdPath(currentIndex) ||
        hid_send_feature_report(cmdHandle, cmdReport.data(), CommandReport::Size) < 0)
        return endTransaction(false);

    // The presets are the outputs when no answer comes; keep them even if a failed read touched the buffer.
    const CommandReport preset = ansReport;
    ansReport[CommandReport::ReportIdOffset] = 0;
    if (!openCmdPath(currentIndex) ||
        hid_get_feature_report(cmdHandle, ansReport.data(), CommandReport::Size) < 0) {
        ansReport = preset;
        return endTransaction(false);
    }

    if (dataLength == 0) {
        endTransaction(true);
        if (entry.isEncode)
            USBDataDecipher(ansReport.data() + CommandReport::ScrambledOffset, SecrecyCode.data());
        return true;
    }

    const int reportSize = entry.reportLength + 1;
    const int chunk = std::min(dataLength, entry.reportLength);
    std::vector<uchar> buffer(size_t(reportSize), 0);
    for (int offset = 0; offset < dataLength; offset += chunk) {
        std::fill(buffer.begin(), buffer.end(), 0);
        if (!openCmdPath(currentIndex))
            return endTransaction(false);
        // A time-out (0) fails the command like an error: the device never sent its data.
        if (hid_read_timeout(cmdHandle, buffer.data(), size_t(reportSize), DataReadTimeoutMs) <= 0)
            return endTransaction(false);
        std::memcpy(dataBuf + offset, buffer.data(), size_t(std::min(chunk, dataLength - offset)));
    }
    return endTransaction(true);
}

bool Hid_Thread::hidSet(int dataLength, bool settle)
{
    DeviceEntry entry;
    if (!beginTransaction(dataLength, entry))
        return false;

    if (entry.isEncode)
        USBDataEncryption(cmdReport.data() + CommandReport::ScrambledOffset, SecrecyCode.data());

    if (!openCmdPath(currentIndex) ||
        hid_send_feature_report(cmdHandle, cmdReport.data(), CommandReport::Size) < 0)
        return endTransaction(false);

    if (settle)
        settleDelay();

    if (dataLength > 0) {
        const int reportSize = entry.reportLength + 1;
        const int chunk = std::min(dataLength, entry.reportLength);
        std::vector<uchar> buffer(size_t(reportSize), 0);
        for (int offset = 0; offset < dataLength; offset += chunk) {
            buffer[0] = 0; // report ID
            std::memcpy(buffer.data() + 1, dataBuf + offset, size_t(std::min(chunk, dataLength - offset)));
            if (!openCmdPath(currentIndex) || hid_write(cmdHandle, buffer.data(), size_t(reportSize)) < 0)
                return endTransaction(false);
            kc::sleepMs(AfterWriteMs);
        }
        if (settle)
            settleDelay();
    }
    return endTransaction(true);
}
