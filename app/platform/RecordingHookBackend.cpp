// Test double of the hook source.
#include "RecordingHookBackend.h"

bool RecordingHookBackend::installKeyboard()
{
    calls << QStringLiteral("installKeyboard");
    keyboardInstalled = keyboardAvailable;
    return keyboardInstalled;
}

bool RecordingHookBackend::installMouse()
{
    calls << QStringLiteral("installMouse");
    mouseInstalled = mouseAvailable;
    return mouseInstalled;
}

void RecordingHookBackend::removeKeyboard()
{
    calls << QStringLiteral("removeKeyboard");
    keyboardInstalled = false;
}

void RecordingHookBackend::removeMouse()
{
    calls << QStringLiteral("removeMouse");
    mouseInstalled = false;
}

void RecordingHookBackend::setCapturing(bool on)
{
    calls << (on ? QStringLiteral("startCapture") : QStringLiteral("stopCapture"));
    capturing = on;
}
