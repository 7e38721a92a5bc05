// The platform choice before the application object exists: X11 through XWayland on a Wayland
// session unless the person chose a platform or there is no X server; the command line handed to Qt.
#include "platform/PlatformChoice.h"

#include <QtTest>

#include <vector>

class TestPlatformChoice : public QObject
{
    Q_OBJECT

private slots:
    void choice_data()
    {
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("sessionType");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("qpa");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("expected");

        const QStringList none;
        // Wayland sessions with XWayland: X11.
        QTest::newRow("wayland display and X") << QByteArray("wayland-0") << QByteArray() << QByteArray(":0")
                                               << QByteArray() << none << QByteArray("xcb");
        QTest::newRow("session type only") << QByteArray() << QByteArray("wayland") << QByteArray(":1")
                                           << QByteArray() << none << QByteArray("xcb");
        QTest::newRow("own arguments kept")
            << QByteArray("wayland-0") << QByteArray("wayland") << QByteArray(":0") << QByteArray()
            << QStringList{"list"} << QByteArray("xcb");
        // The person's choice wins, by variable or by argument in either spelling.
        QTest::newRow("variable") << QByteArray("wayland-0") << QByteArray("wayland") << QByteArray(":0")
                                  << QByteArray("wayland") << none << QByteArray();
        QTest::newRow("argument") << QByteArray("wayland-0") << QByteArray() << QByteArray(":0")
                                  << QByteArray() << QStringList{"-platform", "wayland"} << QByteArray();
        QTest::newRow("double dash") << QByteArray("wayland-0") << QByteArray() << QByteArray(":0")
                                     << QByteArray() << QStringList{"x", "--platform", "offscreen"}
                                     << QByteArray();
        // No X server on the Wayland session, or no Wayland session: Qt's own choice.
        QTest::newRow("no XWayland") << QByteArray("wayland-0") << QByteArray("wayland") << QByteArray()
                                     << QByteArray() << none << QByteArray();
        QTest::newRow("X11 session") << QByteArray() << QByteArray("x11") << QByteArray(":0") << QByteArray()
                                     << none << QByteArray();
        QTest::newRow("nothing") << QByteArray() << QByteArray() << QByteArray() << QByteArray() << none
                                 << QByteArray();
        // Only the option itself names a platform, not a value that looks like one.
        QTest::newRow("platform as a value")
            << QByteArray("wayland-0") << QByteArray() << QByteArray(":0") << QByteArray()
            << QStringList{"apply-profile", "platform"} << QByteArray("xcb");
    }

    void choice()
    {
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, sessionType);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, qpa);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, expected);
        QList<QByteArray> args;
        for (const QString &a : arguments)
            args << a.toUtf8();
        QCOMPARE(PlatformChoice::choose({wayland, sessionType, display, qpa}, args), expected);
    }

    // The command line Qt gets: the option right after the program's name, the person's arguments
    // after it unchanged and in order, a terminating null; untouched when nothing is chosen.
    void commandLine()
    {
        qputenv("WAYLAND_DISPLAY", "wayland-9");
        qputenv("DISPLAY", ":9");
        qunsetenv("QT_QPA_PLATFORM");
        char program[] = "kestral-config", state[] = "state", flag[] = "--json";
        char *original[] = {program, state, flag, nullptr};
        int argc = 3;
        char **argv = original;
        QCOMPARE(PlatformChoice::apply(argc, argv), QByteArray("xcb"));
        QCOMPARE(argc, 5);
        std::vector<QByteArray> seen(argv, argv + argc);
        QCOMPARE(seen, (std::vector<QByteArray>{"kestral-config", "-platform", "xcb", "state", "--json"}));
        QCOMPARE(argv[argc], nullptr);

        qputenv("QT_QPA_PLATFORM", "wayland");
        argc = 3;
        argv = original;
        QCOMPARE(PlatformChoice::apply(argc, argv), QByteArray());
        QCOMPARE(argc, 3);
        QCOMPARE(argv, original);

        // No program name at all: nothing to insert after.
        qunsetenv("QT_QPA_PLATFORM");
        char *empty[] = {nullptr};
        argc = 0;
        argv = empty;
        QCOMPARE(PlatformChoice::apply(argc, argv), QByteArray());
        QCOMPARE(argc, 0);
    }
};

QTEST_APPLESS_MAIN(TestPlatformChoice)
#include "tst_platform_choice.moc"
