// When the program asks the system for its keys: the scene's inputs that wait for captured keys
// (a macro recording, the insert-key dialog, the fire and combination inputs) switch capturing on
// through the window controller, their end and a hidden or minimised window switch it off.
#include "AppTestSupport.h"
#include "ControllerWindow.h"
#include "InputHooks.h"
#include "VirtualMouse.h"
#include "platform/RecordingHookBackend.h"

#include <QtTest>

class TestCapture : public QObject, ControllerWindow
{
    Q_OBJECT

private:
    std::unique_ptr<TempInstallation> inst;
    RecordingHookBackend hooks;

    QVariant call(const char *name, const char *function, const QVariantList &args = {})
    {
        QVariant result;
        QGenericArgument a[2];
        for (int i = 0; i < args.size() && i < 2; ++i)
            a[i] = Q_ARG(QVariant, args[i]);
        QMetaObject::invokeMethod(item(name), function, Q_RETURN_ARG(QVariant, result), a[0], a[1]);
        return result;
    }

    // The capture switches since the last look, and whether the scene and the hooks agree on "on".
    QStringList switches()
    {
        QStringList out;
        for (const QString &c : std::as_const(hooks.calls)) {
            if (c.endsWith(QLatin1String("Capture")))
                out << c;
        }
        hooks.calls.clear();
        return out;
    }

    void expect(const QStringList &calls, bool on)
    {
        QCOMPARE(switches(), calls);
        QCOMPARE(InputHooks::isCapturing(), on);
        QCOMPARE(hooks.capturing, on);
    }

private slots:
    void init()
    {
        inst = std::make_unique<TempInstallation>();
        QVERIFY(inst->isValid());
        QVERIFY(QDir::setCurrent(inst->path()));
        vmouse::configure(vmouse::Config());
        vmouse::unplug();
        hooks = RecordingHookBackend();
        InputHooks::setBackend(&hooks);
        QVERIFY(InputHooks::install());

        build();
        reveal();
        hooks.calls.clear();
    }
    void cleanup()
    {
        close();
        InputHooks::uninstall();
        InputHooks::setBackend(nullptr);
        QDir::setCurrent(QDir::tempPath());
    }

    // Opening the assignment dialog asks for nothing; its fire and combination inputs do while they
    // wait, and a hidden or minimised window does not.
    void assignmentInputs()
    {
        call("keyAssigmentMain", "show", {1});
        QVERIFY(item("keyAssigmentMain")->isVisible());
        expect({}, false);

        call("keyAssigmentMain", "startComboCapture");
        expect({"startCapture"}, true);
        QVERIFY(root()->property("captureActive").toBool());

        controller->onClose(); // the title bar's close button only hides the window
        expect({"stopCapture"}, false);
        window->show();
        expect({"startCapture"}, true);
        controller->onMinimize();
        expect({"stopCapture"}, false);
        window->showNormal();
        expect({"startCapture"}, true);

        call("keyAssigmentMain", "cancelCombo");
        expect({"stopCapture"}, false);

        // Ended by its key: a fire key stops the capture at once.
        call("keyAssigmentMain", "startFireCapture");
        expect({"startCapture"}, true);
        QMetaObject::invokeMethod(item("keyAssigmentMain"), "detectKeyboard", Q_ARG(QVariant, true),
                                  Q_ARG(QVariant, 0x04), Q_ARG(QVariant, 0));
        expect({"stopCapture"}, false);

        // A window hidden while nothing waits stays without capture when it comes back.
        controller->onClose();
        window->show();
        expect({}, false);

        // Closing the dialog while an input waits ends the capture with it.
        call("keyAssigmentMain", "startComboCapture");
        expect({"startCapture"}, true);
        QMetaObject::invokeMethod(item("keyAssigmentMain"), "close");
        expect({"stopCapture"}, false);
    }

    // A recording and the insert-key dialog capture; only with a macro selected.
    void macroEditorInputs()
    {
        QMetaObject::invokeMethod(item("macroEditorMain"), "open");
        call("macroEditorMain", "startRecord"); // no macro yet: nothing to record into
        expect({}, false);

        call("macroEditorMain", "newMacro");
        QVERIFY(item("macroEditorMain")->property("hasSelection").toBool());
        call("macroEditorMain", "startRecord");
        expect({"startCapture"}, true);
        call("macroEditorMain", "stopRecord", {true});
        expect({"stopCapture"}, false);

        call("macroEditorMain", "openInsertKey");
        expect({"startCapture"}, true);
        call("macroEditorMain", "closeInsertKey");
        expect({"stopCapture"}, false);

        // A window that goes away during a recording takes the capture with it; the recording itself
        // goes on and captures again once the window is back.
        call("macroEditorMain", "startRecord");
        expect({"startCapture"}, true);
        window->hide();
        expect({"stopCapture"}, false);
        window->showNormal();
        expect({"startCapture"}, true);

        // The controller going away (the program ending) stops it too.
        controller.reset();
        expect({"stopCapture"}, false);
    }
};

QTEST_MAIN(TestCapture)
#include "tst_capture.moc"
