// Helpers of the backend tests.
#include "BridgeFixture.h"

#include "VirtualMouse.h"

#include <algorithm>

namespace bridgetest {

QStringList wire()
{
    QStringList out;
    for (const auto &r : vmouse::transcript(vmouse::Interface::Command)) {
        QString tag;
        if (r.fn == "hid_send_feature_report")
            tag = "F";
        else if (r.fn == "hid_write")
            tag = "W";
        else if (r.fn == "hid_get_feature_report")
            tag = "G";
        else if (r.fn == "hid_read" || r.fn == "hid_read_timeout")
            tag = "R";
        if (!tag.isEmpty())
            out << tag + ' ' + QString::fromStdString(r.bytes);
    }
    return out;
}

QStringList sent()
{
    QStringList out;
    for (const QString &line : wire())
        if (line.startsWith('F') || line.startsWith('W'))
            out << line;
    return out;
}

QString frame(int code, const QList<int> &params)
{
    quint8 f[9] = {0, quint8(code)};
    for (int i = 0; i < params.size() && i < 6; ++i)
        f[2 + i] = quint8(params[i]);
    unsigned sum = 0;
    for (int i = 1; i < 8; ++i)
        sum += f[i];
    f[8] = quint8(~sum);
    return "F " + QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(f), 9).toHex());
}

QStringList setCommand(int code, const QList<int> &params, const std::vector<quint8> &data, int reportLength)
{
    QStringList out{frame(code, params)};
    const std::size_t chunk = std::min<std::size_t>(data.size(), std::size_t(reportLength));
    for (std::size_t off = 0; chunk > 0 && off < data.size(); off += chunk) {
        QByteArray report(reportLength + 1, '\0');
        for (std::size_t i = 0; i < chunk && off + i < data.size(); ++i)
            report[int(1 + i)] = char(data[off + i]);
        out << "W " + QString::fromLatin1(report.toHex());
    }
    return out;
}

} // namespace bridgetest
