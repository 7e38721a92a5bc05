// The command transport: the kept-open interface, framing, scrambling, the busy flag and the get and
// set transactions with their pauses.
#include "HidTransport.h"

#include "TimeSeam.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr int BusyTries = 255;
constexpr unsigned BusyPollMs = 8;
constexpr unsigned SettleStepMs = 64;
constexpr unsigned AfterWriteMs = 120;

// The fixed half of the scrambling key, the same for every device.
constexpr uchar FixedKey[8] = {'K', 'a', 'M', 'p', 'V', 'o', 'R', 'e'};

constexpr uchar swapNibbles(uchar b)
{
    return uchar((b << 4) | (b >> 4));
}

void swapPairs(uchar *b)
{
    std::swap(b[0], b[5]);
    std::swap(b[1], b[4]);
    std::swap(b[2], b[7]);
    std::swap(b[3], b[6]);
}

void xorCode(uchar *b, const uchar *code)
{
    for (int i = 1; i <= 6; ++i)
        b[i] ^= code[i];
}

// A bulk transfer needs a report length a HID device can carry and a length that fits dataBuf.
bool bulkTransferUsable(int reportLength, int dataLength)
{
    return reportLength >= 1 && reportLength <= HidTransport::MaxReportLength &&
           dataLength <= HidTransport::DataBufSize;
}

} // namespace

HidTransport::~HidTransport()
{
    close();
}

uchar HidTransport::hidCS(const uchar *cmd)
{
    uchar sum = 0;
    for (int i = 0; i < CommandReport::ChecksumSpan; ++i)
        sum = uchar(sum + cmd[i]);
    return uchar(~sum);
}

void HidTransport::buildRequest(uchar code, const Params &params)
{
    m_cmdReport[CommandReport::ReportIdOffset] = 0;
    m_cmdReport[CommandReport::CodeOffset] = code;
    std::copy(params.begin(), params.end(), m_cmdReport.data() + CommandReport::ParamOffset);
    m_cmdReport[CommandReport::ChecksumOffset] = hidCS(m_cmdReport.data() + CommandReport::CodeOffset);
}

void HidTransport::scramble(uchar *fifo, const uchar *code)
{
    uchar *b = fifo;
    swapPairs(b);
    xorCode(b, code);
    // Rotate the 8 bytes, read big-endian, left by 3 bits.
    const uchar first = b[0];
    for (int i = 0; i < 7; ++i)
        b[i] = uchar((b[i] << 3) | (b[i + 1] >> 5));
    b[7] = uchar((b[7] << 3) | (first >> 5));
    for (int i = 0; i < 8; ++i)
        b[i] = uchar(b[i] + swapNibbles(FixedKey[i]));
}

void HidTransport::unscramble(uchar *fifo, const uchar *code)
{
    uchar *b = fifo;
    for (int i = 0; i < 8; ++i)
        b[i] = uchar(b[i] - swapNibbles(FixedKey[i]));
    const uchar last = b[7];
    for (int i = 7; i > 0; --i)
        b[i] = uchar((b[i] >> 3) | (b[i - 1] << 5));
    b[0] = uchar((b[0] >> 3) | (last << 5));
    xorCode(b, code);
    swapPairs(b);
}

void HidTransport::takeSecrecyCode(const QString &sCode)
{
    if (sCode.size() != 6)
        return;
    for (int k = 0; k < 6; ++k)
        m_secrecyCode[std::size_t(k + 1)] = uchar(sCode.at(k).toLatin1());
}

bool HidTransport::openCmdPath(const QByteArray &path)
{
    if (m_cmdHandle && path == m_openPath)
        return true;
    close();
    if (path.isEmpty())
        return false;
    m_cmdHandle = hid_open_path(path.constData());
    if (!m_cmdHandle)
        return false;
    hid_set_nonblocking(m_cmdHandle, 0);
    m_openPath = path;
    return true;
}

void HidTransport::close()
{
    if (m_cmdHandle)
        hid_close(m_cmdHandle);
    m_cmdHandle = nullptr;
    m_openPath.clear();
}

bool HidTransport::waitHidFree()
{
    for (int i = 0; i < BusyTries; ++i) {
        if (m_hidFree) {
            m_hidFree = false;
            return true;
        }
        kc::sleepMs(BusyPollMs);
    }
    ++m_failedTransactions;
    return false;
}

void HidTransport::settleDelay()
{
    kc::sleepMs(SettleStepMs);
    kc::sleepMs(SettleStepMs);
}

HidTransport::Outcome HidTransport::fail()
{
    ++m_failedTransactions;
    const QByteArray path = m_openPath;
    close();
    return openCmdPath(path) ? Outcome::Failed : Outcome::Gone;
}

HidTransport::Outcome HidTransport::sendRequest(const DeviceEntry &entry, int dataLength)
{
    if (!openCmdPath(entry.path.toLatin1())) {
        ++m_failedTransactions;
        return Outcome::Gone;
    }
    if (dataLength > 0 && !bulkTransferUsable(entry.reportLength, dataLength)) {
        ++m_failedTransactions;
        return Outcome::Failed;
    }
    if (entry.isEncode)
        scramble(m_cmdReport.data() + CommandReport::ScrambledOffset, m_secrecyCode.data());
    if (hid_send_feature_report(m_cmdHandle, m_cmdReport.data(), CommandReport::Size) < 0)
        return fail();
    return Outcome::Done;
}

HidTransport::Outcome HidTransport::hidGet(const DeviceEntry &entry, int dataLength)
{
    if (const Outcome o = sendRequest(entry, dataLength); o != Outcome::Done)
        return o;

    // The presets are the outputs when no answer comes; keep them even if a failed read touched the buffer.
    const CommandReport preset = m_ansReport;
    m_ansReport[CommandReport::ReportIdOffset] = 0;
    if (hid_get_feature_report(m_cmdHandle, m_ansReport.data(), CommandReport::Size) < 0) {
        m_ansReport = preset;
        return fail();
    }
    if (dataLength == 0) {
        if (entry.isEncode)
            unscramble(m_ansReport.data() + CommandReport::ScrambledOffset, m_secrecyCode.data());
        return Outcome::Done;
    }

    // Bulk data is never scrambled.
    const int reportSize = entry.reportLength + 1;
    const int chunk = std::min(dataLength, entry.reportLength);
    std::vector<uchar> buffer(size_t(reportSize), 0);
    for (int offset = 0; offset < dataLength; offset += chunk) {
        std::fill(buffer.begin(), buffer.end(), 0);
        // A time-out (0) fails the command like an error: the device never sent its data.
        if (hid_read_timeout(m_cmdHandle, buffer.data(), size_t(reportSize), DataReadTimeoutMs) <= 0)
            return fail();
        std::memcpy(m_dataBuf + offset, buffer.data(), size_t(std::min(chunk, dataLength - offset)));
    }
    return Outcome::Done;
}

HidTransport::Outcome HidTransport::hidSet(const DeviceEntry &entry, int dataLength, bool settle)
{
    if (const Outcome o = sendRequest(entry, dataLength); o != Outcome::Done)
        return o;
    if (settle)
        settleDelay();
    if (dataLength == 0)
        return Outcome::Done;

    const int reportSize = entry.reportLength + 1;
    const int chunk = std::min(dataLength, entry.reportLength);
    std::vector<uchar> buffer(size_t(reportSize), 0);
    for (int offset = 0; offset < dataLength; offset += chunk) {
        buffer[0] = 0; // report ID
        std::memcpy(buffer.data() + 1, m_dataBuf + offset, size_t(std::min(chunk, dataLength - offset)));
        if (hid_write(m_cmdHandle, buffer.data(), size_t(reportSize)) < 0)
            return fail();
        kc::sleepMs(AfterWriteMs);
    }
    if (settle)
        settleDelay();
    return Outcome::Done;
}
