// For in-process tests of the whole start-up: the main window StartUp::run made, and a way to act once
// it is up.
#pragma once

#include <functional>

class Widget;

// The main window among the top-level widgets, or null before it exists and after it is gone.
Widget *mainWidget();

// Runs fn once the program is up: window built, device found and listened to. Call it before
// StartUp::run, whose event loop does the waiting.
void whenRunning(std::function<void()> fn);
