// System-wide key and button events on Linux: XInput2 raw events selected on the X server's root
// window through Qt's own connection, only while capturing. Without an X server (a Wayland session,
// or no display) only the events that reach the program's own windows are seen.
#pragma once

#include "HookBackend.h"
#include "PcKeyTranslator.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

class XInputHookBackend : public QObject, public HookBackend, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    XInputHookBackend();
    ~XInputHookBackend() override;

    bool installKeyboard() override;
    bool installMouse() override;
    void removeKeyboard() override;
    void removeMouse() override;
    void setCapturing(bool on) override;

    // True when events come from the whole X server, false in the own-window fallback.
    bool isSystemWide() const { return m_mode == Mode::XInput; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Mode { Undecided, XInput, OwnWindow };
    void decideMode();
    bool selectRawEvents();
    bool install(bool &source);

    Mode m_mode = Mode::Undecided;
    bool m_keyboard = false;
    bool m_mouse = false;
    bool m_capturing = false;
    quint8 m_opcode = 0;
    quint32 m_root = 0;
    void *m_connection = nullptr;
    PcKeyTranslator m_translator;
};
