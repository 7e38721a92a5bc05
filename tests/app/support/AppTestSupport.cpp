// Shared pieces of the application tests.
#include "AppTestSupport.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>

#if __has_include("VirtualMouse.h")
#include "VirtualMouse.h"
#define KC_TEST_HAS_VMOUSE 1
#endif

namespace {

QMutex g_logMutex;
QStringList g_log;
QtMessageHandler g_previous = nullptr;

void collect(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    {
        QMutexLocker lock(&g_logMutex);
        g_log << message;
    }
    if (g_previous && type != QtDebugMsg)
        g_previous(type, context, message);
}

} // namespace

MessageLog::MessageLog()
{
    clear();
    g_previous = qInstallMessageHandler(collect);
}

MessageLog::~MessageLog()
{
    qInstallMessageHandler(g_previous);
}

QStringList MessageLog::messages() const
{
    QMutexLocker lock(&g_logMutex);
    return g_log;
}

int MessageLog::count(const QString &text) const
{
    return int(messages().count(text));
}

void MessageLog::clear()
{
    QMutexLocker lock(&g_logMutex);
    g_log.clear();
}

QList<HidCall> hidCallsInProcess()
{
    QList<HidCall> calls;
#ifdef KC_TEST_HAS_VMOUSE
    for (const auto &r : vmouse::transcript())
        calls.append({QString::fromStdString(r.fn), QString::fromStdString(r.path),
                      QByteArray::fromHex(QByteArray::fromStdString(r.bytes))});
#endif
    return calls;
}

QList<HidCall> hidCallsFromFile(const QString &fileName)
{
    QList<HidCall> calls;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return calls;
    while (!file.atEnd()) {
        const QJsonObject o = QJsonDocument::fromJson(file.readLine()).object();
        if (o.isEmpty())
            continue;
        calls.append({o.value("fn").toString(), o.value("path").toString(),
                      QByteArray::fromHex(o.value("bytes").toString().toLatin1())});
    }
    return calls;
}

QList<int> sentCommands(const QList<HidCall> &calls)
{
    QList<int> codes;
    for (const HidCall &c : calls) {
        if (c.fn == QLatin1String("hid_send_feature_report") && c.bytes.size() >= 2)
            codes << quint8(c.bytes.at(1));
    }
    return codes;
}

QList<QByteArray> sentReports(const QList<HidCall> &calls, int code)
{
    QList<QByteArray> reports;
    for (const HidCall &c : calls) {
        if (c.fn == QLatin1String("hid_send_feature_report") && c.bytes.size() >= 2 &&
            quint8(c.bytes.at(1)) == code)
            reports << c.bytes;
    }
    return reports;
}
