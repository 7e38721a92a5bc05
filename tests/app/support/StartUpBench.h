// For in-process tests of the whole start-up: a fresh installation for each test, with the window
// named "Kestral Config"; captured keys recorded instead of reaching the system; the tray and the
// device-change monitor recorded. A test class takes it as a second base, after QObject, and calls
// setUp() from init() and tearDown() from cleanup().
#pragma once

#include "InputHooks.h"
#include "StartUp.h"
#include "TempInstallation.h"
#include "VirtualMouse.h"
#include "Widget.h"
#include "platform/RecordingDeviceChangeMonitor.h"
#include "platform/RecordingHookBackend.h"
#include "platform/RecordingTrayNotifier.h"

#include <QApplication>
#include <QtTest>

#include <memory>

class StartUpBench
{
protected:
    std::unique_ptr<TempInstallation> inst;
    RecordingHookBackend hooks;
    RecordingTrayNotifier tray;
    RecordingDeviceChangeMonitor monitor;

    void setUp()
    {
        inst = std::make_unique<TempInstallation>();
        QVERIFY(inst->isValid());
        inst->setGlobal({{"common/name", "Kestral Config"}});
        vmouse::configure(vmouse::Config());
        hooks = RecordingHookBackend();
        InputHooks::setBackend(&hooks);
    }
    void tearDown()
    {
        InputHooks::setBackend(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The window's platform: the recordings here; it makes the other pieces itself.
    Widget::Platform platform()
    {
        Widget::Platform p;
        p.tray = &tray;
        p.deviceChanges = &monitor;
        return p;
    }
    // The program's run in this installation; its exit code.
    int startUp(InstanceChannel &instance) { return StartUp::run(*qApp, instance, platform(), inst->path()); }
};
