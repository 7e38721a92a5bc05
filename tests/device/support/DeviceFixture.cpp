// Shared helpers of the device tests: virtual mouse set-up and transcript reductions.
#include "DeviceFixture.h"

#include "Hid_Thread.h"

namespace devtest {

namespace {
bool carriesData(const std::string &fn)
{
    return fn == "hid_send_feature_report" || fn == "hid_get_feature_report" || fn == "hid_read" ||
           fn == "hid_read_timeout" || fn == "hid_write";
}
} // namespace

DeviceEntry configureMouse(const MouseSetup &setup)
{
    vmouse::Config cfg;
    cfg.family = setup.family;
    cfg.reportLength = setup.reportLength;
    cfg.encode = setup.encode;
    cfg.scode = setup.scode;
    vmouse::configure(cfg);

    DeviceEntry entry;
    entry.type = 1;
    entry.vid = cfg.vid;
    entry.pid = cfg.pid;
    entry.usagePage = cfg.usagePage;
    entry.usage = cfg.usage;
    entry.usagePage2 = cfg.usagePage2;
    entry.usage2 = cfg.usage2;
    entry.reportLength = setup.reportLength;
    entry.isEncode = setup.encode;
    entry.sCode = QString::fromStdString(setup.scode);
    entry.path = QString::fromStdString(cfg.path);
    entry.path2 = QString::fromStdString(cfg.path2);
    return entry;
}

void aimAt(Hid_Thread &hid, const DeviceEntry &entry)
{
    hid.setDeviceList({entry});
    hid.setCurrentIndex(0);
}

std::string frameHex(std::uint8_t code, std::vector<std::uint8_t> params)
{
    std::uint8_t frame[9] = {0, code};
    for (std::size_t i = 0; i < params.size() && i < 6; ++i)
        frame[2 + i] = params[i];
    frame[8] = vmouse::checksum(frame + 1);
    return vmouse::toHex(frame, 9);
}

std::string scrambledFrameHex(std::uint8_t code, std::vector<std::uint8_t> params, const std::string &scode)
{
    std::vector<std::uint8_t> frame = vmouse::fromHex(frameHex(code, std::move(params)));
    vmouse::scramble(frame.data() + 1, scode);
    return vmouse::toHex(frame.data(), frame.size());
}

std::string outputReportHex(const std::vector<std::uint8_t> &data, int reportLength)
{
    std::vector<std::uint8_t> report(std::size_t(reportLength) + 1, 0);
    for (std::size_t i = 0; i < data.size() && i < std::size_t(reportLength); ++i)
        report[1 + i] = data[i];
    return vmouse::toHex(report.data(), report.size());
}

QStringList exchanges(std::int64_t t0, vmouse::Interface where)
{
    QStringList out;
    for (const auto &r : vmouse::transcript(where)) {
        if (carriesData(r.fn))
            out << QStringLiteral("%1 %2 %3 %4")
                       .arg(r.tMs - t0)
                       .arg(QString::fromStdString(r.fn), QString::fromStdString(r.bytes))
                       .arg(r.ret);
    }
    return out;
}

QStringList callSequence(vmouse::Interface where)
{
    QStringList out;
    for (const auto &r : vmouse::transcript(where))
        out << QStringLiteral("%1 %2").arg(QString::fromStdString(r.fn)).arg(r.ret);
    return out;
}

std::int64_t lastCallAt(std::int64_t t0, vmouse::Interface where)
{
    const auto records = vmouse::transcript(where);
    return records.empty() ? -1 : records.back().tMs - t0;
}

QString handleDiscipline(vmouse::Interface where, bool closed)
{
    const auto records = vmouse::transcript(where);
    const bool kept = where != vmouse::Interface::Event;
    int open = 0;
    int opened = 0;
    bool failedSinceOpen = false;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto &r = records[i];
        if (r.fn == "hid_open_path" && r.ret == 1) {
            if (kept && opened > 0 && !failedSinceOpen)
                return QStringLiteral("call %1: opened again though nothing failed").arg(i);
            ++open;
            ++opened;
            failedSinceOpen = false;
        } else if (r.fn == "hid_close") {
            --open;
        }
        if (open < 0 || open > 1)
            return QStringLiteral("%1 handles open at call %2").arg(open).arg(i);
        if (!carriesData(r.fn))
            continue;
        if (open != 1)
            return QStringLiteral("call %1 (%2) without an open handle")
                .arg(i)
                .arg(QString::fromStdString(r.fn));
        // A read that timed out fails its command like an error.
        if (r.ret < 0 || (r.fn == "hid_read_timeout" && r.ret == 0))
            failedSinceOpen = true;
        if (!kept &&
            (i < 2 || records[i - 1].fn != "hid_set_nonblocking" || records[i - 2].fn != "hid_open_path"))
            return QStringLiteral("call %1 (%2) not on a freshly opened handle")
                .arg(i)
                .arg(QString::fromStdString(r.fn));
    }
    if (closed && open != 0)
        return QStringLiteral("a handle stays open");
    return {};
}

std::vector<std::uint8_t> bytesRange(int count, std::uint8_t first)
{
    std::vector<std::uint8_t> v(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        v[std::size_t(i)] = std::uint8_t(first + i);
    return v;
}

} // namespace devtest
