// Restores a window from the event loop: shown, normal size, raised and activated.
#pragma once

#include "WindowRestorer.h"

class WidgetWindowRestorer : public WindowRestorer
{
public:
    void requestRestore(QWidget *window) override;
    // The restore itself, as the event loop runs it.
    static void restoreNow(QWidget *window);
};
