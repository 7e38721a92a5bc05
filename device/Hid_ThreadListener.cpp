// The listener for the mouse's event reports, and the connection set-up that starts it.
#include "Hid_Thread.h"

#include "TimeSeam.h"

#include <QDebug>
#include <QtConcurrent/QtConcurrentRun>

namespace {

constexpr uchar EventTag0 = 6;
constexpr uchar EventTag1 = 7;
constexpr int EventSize = 4;
constexpr int EventStageOffset = 3;
// After a failed read: a pause so that a device that errors at once does not spin the thread.
constexpr unsigned ReadErrorPauseMs = 100;

} // namespace

void Hid_Thread::startListen(int index)
{
    m_isListening = false;
    waitForListener();

    if (m_driver)
        m_driver->switchOnEventReports();

    m_isListening = true;
    listenerFuture = QtConcurrent::run([this, index] { listenDeviceEvents(index); });
}

void Hid_Thread::stopListen()
{
    m_isListening = false;
}

void Hid_Thread::waitForListener()
{
    listenerFuture.waitForFinished();
    // Pairs with the listener's last store: what it wrote is ours now (see listenDeviceEvents).
    (void)listenerReturned.load(std::memory_order_acquire);
}

void Hid_Thread::listenDeviceEvents(int index)
{
    // Explicit hand-over points with the GUI thread. The pool orders them too, but with locks that a
    // thread checker cannot see, so these are what keep it quiet about our own fields.
    struct Returned
    {
        std::atomic<bool> &flag;
        ~Returned() { flag.store(true, std::memory_order_release); }
    } returned{listenerReturned};
    if (!m_isListening.load(std::memory_order_acquire))
        return;

    DeviceEntry entry;
    if (!entryAt(index, entry) || entry.path2.isEmpty())
        return;

    while (m_isListening) {
        hid_device *handle = openEventPath(index);
        if (!handle) {
            qDebug("Device removed");
            emit deviceRemoved();
            {
                std::lock_guard<std::mutex> lock(devicesMutex);
                if (index < devices.size())
                    devices[index].path2.clear();
            }
            m_isListening = false;
            return;
        }

        uchar report[EventSize] = {};
        const int n = hid_read_timeout(handle, report, EventSize, EventReadTimeoutMs);
        if (n == EventSize && report[0] == EventTag0 && report[1] == EventTag1) {
            const int stage = report[EventStageOffset];
            emit dpiStageChanged(stage);
        }

        hid_close(m_eventHandle);
        m_eventHandle = nullptr;
        if (n < 0)
            kc::sleepMs(ReadErrorPauseMs);
    }
}
