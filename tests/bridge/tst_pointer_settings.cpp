// The desktop pointer settings written through GSettings (keyfile backend in a temporary config
// folder) and the KDE configuration tool, each read back by a second process.
#include "LinuxPointerSettings.h"

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>

class TestPointerSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir config;

    static QString run(const QString &program, const QStringList &args)
    {
        QProcess p;
        p.start(program, args);
        if (!p.waitForFinished(10000))
            return QStringLiteral("<no answer>");
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

    static QString gsettingsGet(const QString &key)
    {
        return run(QStringLiteral("gsettings"),
                   {QStringLiteral("get"), QString::fromLatin1(LinuxPointerSettings::defaultSchema), key});
    }

private slots:
    void initTestCase()
    {
        // The environment is read by the first GIO call, which has not happened yet.
        QVERIFY(config.isValid());
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        qputenv("GSETTINGS_BACKEND", "keyfile");
        if (QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty())
            QSKIP("the gsettings tool is not installed");
    }

    void speedMapping()
    {
        QCOMPARE(LinuxPointerSettings::desktopSpeed(1), -1.0);
        QCOMPARE(LinuxPointerSettings::desktopSpeed(10), 0.0);
        QCOMPARE(LinuxPointerSettings::desktopSpeed(20), 1.0);
        QCOMPARE(LinuxPointerSettings::desktopSpeed(2), -0.89);
        QCOMPARE(LinuxPointerSettings::desktopSpeed(12), 0.2);
        // Out of the page's range: clamped to the desktop's range rather than rejected.
        QCOMPARE(LinuxPointerSettings::desktopSpeed(0), -1.0);
        QCOMPARE(LinuxPointerSettings::desktopSpeed(40), 1.0);
        for (int s = 2; s <= 20; ++s)
            QVERIFY(LinuxPointerSettings::desktopSpeed(s) > LinuxPointerSettings::desktopSpeed(s - 1));
    }

    void speedPersistsAcrossProcesses()
    {
        LinuxPointerSettings settings;
        QVERIFY(settings.setPointerSpeed(16));
        QCOMPARE(gsettingsGet(QStringLiteral("speed")).toDouble(), 0.6);
        QVERIFY(settings.setPointerSpeed(1));
        QCOMPARE(gsettingsGet(QStringLiteral("speed")).toDouble(), -1.0);
        QVERIFY(QFile::exists(config.filePath(QStringLiteral("glib-2.0/settings/keyfile"))));
    }

    void doubleClickPersistsAndAppliesHere()
    {
        LinuxPointerSettings settings;
        QVERIFY(settings.setDoubleClickTime(200));
        QCOMPARE(gsettingsGet(QStringLiteral("double-click")), QStringLiteral("200"));
        QCOMPARE(QGuiApplication::styleHints()->mouseDoubleClickInterval(), 200);
        QVERIFY(settings.setDoubleClickTime(900));
        QCOMPARE(gsettingsGet(QStringLiteral("double-click")), QStringLiteral("900"));
        // A time that is not positive is refused and leaves the stored one alone.
        QVERIFY(!settings.setDoubleClickTime(-10));
        QCOMPARE(gsettingsGet(QStringLiteral("double-click")), QStringLiteral("900"));
    }

    void missingSchemaFails()
    {
        LinuxPointerSettings settings(QStringLiteral("org.example.not.installed"), {});
        QVERIFY(!settings.setPointerSpeed(10));
        QVERIFY(!settings.setDoubleClickTime(500));
        // A schema without these keys (the wrong type for "speed" is not attempted either).
        LinuxPointerSettings other(QStringLiteral("org.gnome.desktop.interface"), {});
        QVERIFY(!other.setPointerSpeed(10));
    }

    void inMemoryBackendIsAFailure()
    {
        // GLib picks its backend once per process: a second process gets the in-memory one, where a
        // write reads back fine in that process yet is lost when it ends.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
        env.insert(QStringLiteral("KC_POINTER_CHILD"), QStringLiteral("1"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0); // bit 0: speed taken, bit 1: double-click time taken
    }

    void wheelLinesWithoutTool()
    {
        LinuxPointerSettings settings(QString::fromLatin1(LinuxPointerSettings::defaultSchema),
                                      {QStringLiteral("no-such-config-writer")});
        QVERIFY(!settings.setWheelScrollLines(7));
        // The program itself still follows.
        QCOMPARE(QGuiApplication::styleHints()->wheelScrollLines(), 7);
    }

    void wheelLinesPersistWithKdeTool()
    {
        const QString reader = QStandardPaths::findExecutable(QStringLiteral("kreadconfig5"));
        if (QStandardPaths::findExecutable(QStringLiteral("kwriteconfig5")).isEmpty() || reader.isEmpty())
            QSKIP("the KDE configuration tools are not installed");
        const QString globals = config.filePath(QStringLiteral("kdeglobals"));
        {
            QFile f(globals);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[General]\nfont=Sans,10,-1,5,50,0,0,0,0,0\n\n[KDE]\nSingleClick=false\n");
        }
        LinuxPointerSettings settings;
        QVERIFY(settings.setWheelScrollLines(1000));
        const QStringList args{QStringLiteral("--file"),  QStringLiteral("kdeglobals"),
                               QStringLiteral("--group"), QStringLiteral("KDE"),
                               QStringLiteral("--key"),   QStringLiteral("WheelScrollLines")};
        QCOMPARE(run(reader, args), QStringLiteral("1000"));
        // The rest of the file is kept as it was.
        QFile f(globals);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY2(text.contains("font=Sans,10,-1,5,50,0,0,0,0,0"), text.constData());
        QVERIFY(text.contains("SingleClick=false"));
    }
};

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("KC_POINTER_CHILD")) {
        LinuxPointerSettings settings;
        return (settings.setPointerSpeed(16) ? 1 : 0) | (settings.setDoubleClickTime(300) ? 2 : 0);
    }
    TestPointerSettings test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_pointer_settings.moc"
