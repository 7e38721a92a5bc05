// A private X server (Xvfb) on a free display while alive, for runs that need real windows and input.
#pragma once

#include <QProcess>
#include <QString>

class PrivateXServer
{
public:
    // Tries displays from firstDisplay on (a spread of 200), starting where this process's id points,
    // so tests run side by side rarely ask for the same one; a number another server takes first makes
    // this Xvfb exit and the next number is tried.
    explicit PrivateXServer(const QString &screen = QStringLiteral("1280x800x24"), int firstDisplay = 150);
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer &) = delete;
    PrivateXServer &operator=(const PrivateXServer &) = delete;

    bool isRunning() const { return m_display >= 0; }
    int number() const { return m_display; }
    // ":N"
    QString display() const { return QStringLiteral(":%1").arg(m_display); }

private:
    QProcess m_server;
    int m_display = -1;
};
