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
    buildRequest(code, params);
    // Preset the answer with the outputs' values, so a missing answer leaves them as they were.
    ansReport.clear();
    int pos = CommandReport::ParamOffset;
    for (uchar *out : outputs)
        ansReport[pos++] = *out;
    hidGet(0);
    pos = CommandReport::ParamOffset;
    for (uchar *out : outputs)
        *out = ansReport[pos++];
}

void Hid_Thread::letEventsIn()
{
    // Between commands, never inside one: a window sending a whole profile stays answerable (a
    // command handed over from the command line is taken, or told to wait), and nothing runs between
    // the reports of one command.
    QCoreApplication::processEvents();
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
    buildRequest(code, params);
    if (dataLength > 0)
        std::memcpy(dataBuf, data, size_t(dataLength));
    if (!hidSet(dataLength, settle))
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
    for (uchar k = 1; k <= 4; ++k) {
        // Each transaction frees the flag at its end; take it again so that a command issued from
        // events processed inside the next report cannot slip in between the reports.
        hidFree = false;
        buildRequest(code, {k, value, 0, 0, 0, 0});
        delivered = hidSet(0, true) && delivered;
        // A mouse with gun functions takes the first report only.
        if (k == 1 && m_driver && m_driver->capabilities().isGun)
            break;
    }
    if (!delivered)
        emit setCommandFailed();
}
