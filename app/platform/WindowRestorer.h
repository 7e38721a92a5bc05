// Brings the main window back from hidden or minimised, later, from the event loop.
#pragma once

class QWidget;

class WindowRestorer
{
public:
    virtual ~WindowRestorer() = default;
    virtual void requestRestore(QWidget *window) = 0;
};
