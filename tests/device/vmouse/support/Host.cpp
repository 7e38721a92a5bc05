// Host-side helpers of the virtual mouse tests.
#include "Host.h"

#include <hidapi/hidapi.h>

namespace host {

Frame frame(std::uint8_t command, std::initializer_list<std::uint8_t> params)
{
    Frame f{};
    f[1] = command;
    std::size_t i = 2;
    for (std::uint8_t p : params) {
        if (i < 8)
            f[i++] = p;
    }
    unsigned sum = 0;
    for (int k = 1; k <= 7; ++k)
        sum += f[k];
    f[8] = static_cast<std::uint8_t>(255 - sum % 256);
    return f;
}

std::string commandPath()
{
    return vmouse::config().path;
}
std::string eventPath()
{
    return vmouse::config().path2;
}

bool Exchange::send(Frame request) const
{
    if (!hostCode.empty())
        vmouse::scramble(&request[1], hostCode);
    hid_device *h = hid_open_path(commandPath().c_str());
    if (!h)
        return false;
    const int r = hid_send_feature_report(h, request.data(), request.size());
    hid_close(h);
    return r == 9;
}

Frame Exchange::answer() const
{
    Frame a{};
    hid_device *h = hid_open_path(commandPath().c_str());
    if (!h)
        return a;
    const int r = hid_get_feature_report(h, a.data(), a.size());
    hid_close(h);
    if (r != 9)
        return Frame{};
    if (!hostCode.empty())
        vmouse::unscramble(&a[1], hostCode);
    return a;
}

bool Exchange::write(const std::vector<std::uint8_t> &data) const
{
    const std::size_t chunk = static_cast<std::size_t>(reportLength);
    for (std::size_t offset = 0; offset < data.size(); offset += chunk) {
        std::vector<std::uint8_t> report(chunk + 1, 0);
        for (std::size_t i = 0; i < chunk && offset + i < data.size(); ++i)
            report[1 + i] = data[offset + i];
        hid_device *h = hid_open_path(commandPath().c_str());
        if (!h)
            return false;
        const int r = hid_write(h, report.data(), report.size());
        hid_close(h);
        if (r < 0)
            return false;
    }
    return true;
}

std::vector<std::uint8_t> Exchange::read(std::size_t length) const
{
    std::vector<std::uint8_t> out;
    const std::size_t chunk = static_cast<std::size_t>(reportLength);
    while (out.size() < length) {
        std::vector<std::uint8_t> report(chunk + 1, 0);
        hid_device *h = hid_open_path(commandPath().c_str());
        if (!h)
            return {};
        const int r = hid_read(h, report.data(), report.size());
        hid_close(h);
        if (r < 0)
            return {};
        for (std::size_t i = 0; i < chunk && out.size() < length; ++i)
            out.push_back(report[i]);
    }
    return out;
}

std::vector<std::uint8_t> pattern(std::size_t n, std::uint8_t seed)
{
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = static_cast<std::uint8_t>(seed + i * 7);
    return v;
}

std::vector<std::uint8_t> bytes(const std::uint8_t *p, std::size_t n)
{
    return std::vector<std::uint8_t>(p, p + n);
}

} // namespace host
