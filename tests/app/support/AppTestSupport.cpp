// Shared pieces of the application tests.
#include "AppTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QStandardPaths>
#include <QThread>

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

PrivateXServer::PrivateXServer(const QString &screen)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        return;
    for (int n = 140; n < 240 && m_display < 0; ++n) {
        if (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            continue;
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral(":%1").arg(n), QStringLiteral("-screen"), QStringLiteral("0"), screen,
                        QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        // Another server may take the number first; then this one ends and the next number is tried.
        for (int i = 0; i < 400 && m_server.state() != QProcess::NotRunning; ++i) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))) {
                m_display = n;
                break;
            }
            QThread::msleep(25);
        }
        if (m_display < 0) {
            m_server.kill();
            m_server.waitForFinished();
        }
    }
}

PrivateXServer::~PrivateXServer()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(5000)) {
        m_server.kill();
        m_server.waitForFinished();
    }
}

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
