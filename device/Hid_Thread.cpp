// The device worker's hold on the device list, and the transactions on the entry that is the mouse.
#include "Hid_Thread.h"

Hid_Thread::Hid_Thread(QObject *parent) : QObject(parent)
{
    // The listener finds the mouse gone; the command interface goes with it (on this object's thread).
    connect(this, &Hid_Thread::deviceRemoved, this, &Hid_Thread::closeDevice, Qt::QueuedConnection);
}

Hid_Thread::~Hid_Thread()
{
    // The listener reads this object's fields until it returns.
    m_isListening = false;
    waitForListener();
}

void Hid_Thread::setDriver(std::unique_ptr<MouseDriver> driver)
{
    m_driver = std::move(driver);
}

void Hid_Thread::setDeviceList(const DeviceList &list)
{
    if (listenerFuture.isRunning()) {
        m_isListening = false;
        waitForListener();
    }
    transport.close();
    std::lock_guard<std::mutex> lock(devicesMutex);
    devices = list;
}

DeviceList Hid_Thread::deviceList() const
{
    std::lock_guard<std::mutex> lock(devicesMutex);
    return devices;
}

void Hid_Thread::setCurrentIndex(int index)
{
    if (index != m_currentIndex)
        transport.close();
    m_currentIndex = index;
}

bool Hid_Thread::entryAt(int index, DeviceEntry &entry) const
{
    std::lock_guard<std::mutex> lock(devicesMutex);
    if (index < 0 || index >= devices.size())
        return false;
    entry = devices.at(index);
    return true;
}

void Hid_Thread::forgetPath(int index, const QString &path, bool eventInterface)
{
    std::lock_guard<std::mutex> lock(devicesMutex);
    if (index < 0 || index >= devices.size())
        return;
    QString &stored = eventInterface ? devices[index].path2 : devices[index].path;
    if (stored == path)
        stored.clear();
}

hid_device *Hid_Thread::openEventPath(int index)
{
    DeviceEntry entry;
    if (!entryAt(index, entry) || entry.path2.isEmpty())
        return nullptr;
    if (m_eventHandle) {
        hid_close(m_eventHandle);
        m_eventHandle = nullptr;
    }
    m_eventHandle = hid_open_path(entry.path2.toLatin1().constData());
    if (m_eventHandle)
        hid_set_nonblocking(m_eventHandle, 0);
    else
        forgetPath(index, entry.path2, true);
    return m_eventHandle;
}

bool Hid_Thread::finish(const DeviceEntry &entry, HidTransport::Outcome outcome)
{
    // A mouse that cannot be opened is gone until the next discovery finds its path again.
    if (outcome == HidTransport::Outcome::Gone && !entry.path.isEmpty())
        forgetPath(m_currentIndex, entry.path, false);
    return outcome == HidTransport::Outcome::Done;
}

bool Hid_Thread::hidGet(int dataLength)
{
    DeviceEntry entry;
    entryAt(m_currentIndex, entry); // no entry: an empty path, which fails at once
    return finish(entry, transport.hidGet(entry, dataLength));
}

bool Hid_Thread::hidSet(int dataLength, bool settle)
{
    DeviceEntry entry;
    entryAt(m_currentIndex, entry);
    return finish(entry, transport.hidSet(entry, dataLength, settle));
}
