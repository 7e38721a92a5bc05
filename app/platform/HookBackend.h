// Where system-wide key and button events come from. InputHooks installs the keyboard source and
// then the mouse source; a backend feeds InputHooks::keyboardProc / mouseProc while installed and
// capturing. Installed but not capturing, it asks the system for nothing: a configuration tool has no
// business hearing every key of the desktop while no input of its own waits for one.
#pragma once

class HookBackend
{
public:
    virtual ~HookBackend() = default;

    virtual bool installKeyboard() = 0;
    virtual bool installMouse() = 0;
    virtual void removeKeyboard() = 0;
    virtual void removeMouse() = 0;

    // Whether the installed sources deliver events. Off until told otherwise; a source installed
    // while capturing delivers at once, one removed delivers nothing whatever this says.
    virtual void setCapturing(bool on) = 0;
};
