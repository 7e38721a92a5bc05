// The command interface of the mouse: opened when discovery accepts the mouse and kept open until a
// call fails, the mouse goes or the worker ends; frames and scrambles the requests and runs one
// transaction at a time, with the pauses the mouse needs between reports.
#pragma once

#include "CommandReport.h"
#include "DeviceEntry.h"

#include <QByteArray>
#include <array>
#include <hidapi/hidapi.h>

class HidTransport
{
public:
    // Time limit of one bulk data read: a device that never sends its input report fails the command
    // instead of blocking the program.
    static constexpr int DataReadTimeoutMs = 1000;
    // Largest report a HID device can carry; a device table asking for more is not used for bulk data.
    static constexpr int MaxReportLength = 4096;
    static constexpr int DataBufSize = 512;

    using Params = std::array<uchar, CommandReport::ParamCount>; // request bytes 2-7

    enum class Outcome {
        Done,
        Failed, // a call failed; the interface is open again for the next command
        Gone,   // the interface cannot be opened: the mouse is not there
    };

    HidTransport() = default;
    ~HidTransport();
    HidTransport(const HidTransport &) = delete;
    HidTransport &operator=(const HidTransport &) = delete;

    // Framing: the checksum of the seven bytes from cmd on, and the request of a command.
    static uchar hidCS(const uchar *cmd);
    void buildRequest(uchar code, const Params &params);
    // Scrambling of the eight bytes from fifo on with a secrecy code (bytes 1-6 used).
    static void scramble(uchar *fifo, const uchar *code);
    static void unscramble(uchar *fifo, const uchar *code);
    // A six-character code replaces the one in use; anything else leaves it.
    void takeSecrecyCode(const QString &sCode);
    const std::array<uchar, 8> &secrecyCode() const { return m_secrecyCode; }

    // The open command interface: opens path unless it is the one already open.
    bool openCmdPath(const QByteArray &path);
    void close();
    hid_device *cmdHandle() const { return m_cmdHandle; }

    // The busy flag: one command at a time, each taking it for all of its reports.
    bool hidFree() const { return m_hidFree; }
    // Takes the flag, polling every 8 ms for about 2 s; false (and counted as failed) when it stays taken.
    bool waitHidFree();
    void release() { m_hidFree = true; }
    // Transactions that failed or never got the device: the commands report nothing, and a caller that
    // must tell failure from success compares this before and after.
    int failedTransactions() const { return m_failedTransactions; }
    void countFailure() { ++m_failedTransactions; }

    // The get and set transactions on the entry's command interface, with the request in cmdReport,
    // the answer in ansReport and bulk data in dataBuf.
    Outcome hidGet(const DeviceEntry &entry, int dataLength);
    Outcome hidSet(const DeviceEntry &entry, int dataLength, bool settle);
    static void settleDelay();

    CommandReport &cmdReport() { return m_cmdReport; }
    CommandReport &ansReport() { return m_ansReport; }
    uchar *dataBuf() { return m_dataBuf; }

private:
    // Opens the entry's interface, checks it for dataLength bytes of bulk data and sends the request,
    // scrambled when the entry asks for it.
    Outcome sendRequest(const DeviceEntry &entry, int dataLength);
    // A failed call: the handle is closed and opened again, which tells a passing failure from a
    // mouse that is gone.
    Outcome fail();

    hid_device *m_cmdHandle = nullptr;
    QByteArray m_openPath;
    bool m_hidFree = true;
    int m_failedTransactions = 0;
    std::array<uchar, 8> m_secrecyCode{};
    CommandReport m_cmdReport;
    CommandReport m_ansReport;
    uchar m_dataBuf[DataBufSize] = {};
};
