// The shared shape of the get and set commands of both families.
#include "Hid_Thread.h"

#include "TimeSeam.h"

#include <QCoreApplication>
#include <QDebug>
#include <cstring>

void Hid_Thread::runGet(const char *failure, uchar code, const Params &params,
                        std::initializer_list<uchar *> outputs)
{
    if (!waitHidFree()) {
        qDebug("%s", failure);
        return;
    }
    transport.buildRequest(code, params);
    // Preset the answer with the outputs' values, so a missing answer leaves them as they were.
    CommandReport &answer = transport.ansReport();
    answer.clear();
    int pos = CommandReport::ParamOffset;
    for (uchar *out : outputs)
        answer[pos++] = *out;
    hidGet(0);
    transport.release();
    pos = CommandReport::ParamOffset;
    for (uchar *out : outputs)
        *out = answer[pos++];
}

void Hid_Thread::letEventsIn()
{
    // Between commands, never inside one: a window sending a whole profile stays answerable (a
    // command handed over from the command line is taken, or told to wait), and nothing runs between
    // the reports of one command.
    // Timers wait for the event loop: among them the scene's redraws, which would otherwise draw every
    // page of a profile change once per command (tens of milliseconds each between the reports).
    QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers);
}

void Hid_Thread::runSet(const char *failure, uchar code, const Params &params, const uchar *data,
                        int dataLength, bool settle, unsigned thenMs)
{
    letEventsIn();
    if (!waitHidFree()) {
        qDebug("%s", failure);
        emit setCommandFailed();
        return;
    }
    transport.buildRequest(code, params);
    if (dataLength > 0)
        std::memcpy(transport.dataBuf(), data, size_t(dataLength));
    const bool delivered = hidSet(dataLength, settle);
    transport.release();
    if (!delivered)
        emit setCommandFailed();
    if (thenMs > 0)
        kc::sleepMs(thenMs);
}

void Hid_Thread::runRepeated(const char *failure, uchar code, uchar value)
{
    letEventsIn();
    if (!waitHidFree()) {
        qDebug("%s", failure);
        emit setCommandFailed();
        return;
    }
    bool delivered = true;
    // The flag is held from the first report to the last: nothing comes between them.
    for (uchar k = 1; k <= 4; ++k) {
        transport.buildRequest(code, {k, value, 0, 0, 0, 0});
        delivered = hidSet(0, true) && delivered;
        // A mouse with gun functions takes the first report only.
        if (k == 1 && m_driver && m_driver->capabilities().isGun)
            break;
    }
    transport.release();
    if (!delivered)
        emit setCommandFailed();
}
