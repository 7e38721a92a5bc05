// Where system-wide key and button events come from. InputHooks installs the keyboard source and
// then the mouse source; a backend feeds InputHooks::keyboardProc / mouseProc while installed.
#pragma once

class HookBackend
{
public:
    virtual ~HookBackend() = default;

    virtual bool installKeyboard() = 0;
    virtual bool installMouse() = 0;
    virtual void removeKeyboard() = 0;
    virtual void removeMouse() = 0;
};
