// Starting and ending the private X server of a test.
#include "PrivateXServer.h"

#include "ChildProcess.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace {
constexpr int kDisplays = 200;
}

PrivateXServer::PrivateXServer(const QString &screen, int firstDisplay)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        return;
    const int offset = int(::getpid()) % kDisplays;
    for (int i = 0; i < kDisplays && m_display < 0; ++i) {
        const int n = firstDisplay + (offset + i) % kDisplays;
        if (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)) ||
            QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
            continue;
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral(":%1").arg(n), QStringLiteral("-screen"), QStringLiteral("0"), screen,
                        QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
        if (!m_server.waitForStarted(5000))
            continue;
        QElapsedTimer t;
        t.start();
        while (m_server.state() == QProcess::Running && t.elapsed() < 20000) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))) {
                m_display = n;
                return;
            }
            QThread::msleep(20);
        }
        m_server.kill();
        m_server.waitForFinished(2000);
    }
}

PrivateXServer::~PrivateXServer()
{
    endChildProcess(m_server);
}
