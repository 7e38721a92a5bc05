// The custom event the main window posts to itself after starting the scene: type 1000 with
// code 2177 makes it run the scene's "run".
#pragma once

#include <QEvent>

class SceneStartEvent : public QEvent
{
public:
    static constexpr int RunCode = 2177;

    explicit SceneStartEvent(int code = RunCode) : QEvent(QEvent::User), m_code(code) {}
    int code() const { return m_code; }

private:
    int m_code;
};
