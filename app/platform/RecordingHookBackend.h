// Test double of the hook source: records what was installed and removed and when capturing started
// and stopped, in order, and can refuse either hook.
#pragma once

#include "HookBackend.h"

#include <QStringList>

class RecordingHookBackend : public HookBackend
{
public:
    bool installKeyboard() override;
    bool installMouse() override;
    void removeKeyboard() override;
    void removeMouse() override;
    void setCapturing(bool on) override;

    bool keyboardAvailable = true;
    bool mouseAvailable = true;
    bool keyboardInstalled = false;
    bool mouseInstalled = false;
    bool capturing = false;
    // "installKeyboard", "installMouse", "removeKeyboard", "removeMouse", "startCapture", "stopCapture"
    QStringList calls;
};
