// Profiles that follow the program in front, on an X server with a window manager that keeps
// _NET_ACTIVE_WINDOW and two small programs of different window classes: one linked to profile 2
// through the profile dialog's "Link to program…", then brought to the front with xdotool (the mouse
// gets profile 2), the other (the default comes back), and a focus shorter than the debounce
// (nothing is switched for it).
#include "ChildProcess.h"
#include "Journey.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

namespace {

const QList<QPair<QString, QVariant>> kMouse{{"mouse/icType", "553"},      {"mouse/isColorful", true},
                                             {"mouse/is55328", false},     {"mouse/isGun", false},
                                             {"mouse/sensorType", "3360"}, {"mouse/profileNo", 0}};

// Report-rate codes of the two profiles: 1000 Hz for the first, 125 Hz for "Game" (number 2).
constexpr int kStandardRate = 1;
constexpr int kGameRate = 8;

} // namespace

class TestProgramProfilesJourney : public QObject
{
    Q_OBJECT

    std::unique_ptr<Journey> run;
    QList<QProcess *> others; // the window manager and the two programs

    QString setting(const QString &file, const QString &key) const
    {
        return QSettings(run->settingsFolder() + QLatin1Char('/') + file, QSettings::IniFormat)
            .value(key)
            .toStringList()
            .join(QStringLiteral(", "));
    }
    int activeProfile() const { return setting("apConfig.bin", "mouse/profileNo").toInt(); }
    int mouseRate() const { return run->mouseState().value("reportRate").toInt(); }
    bool settled() { return run->eval(".", "ui_View.enabled").toBool(); }

    QProcess *startOther(const QString &program, const QStringList &arguments)
    {
        auto *p = new QProcess(this);
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("DISPLAY", run->xDisplay());
        e.remove("SESSION_MANAGER");
        e.insert("XDG_CONFIG_HOME", run->configHome());
        p->setProcessEnvironment(e);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(program, arguments);
        others << p;
        return p;
    }

    QString xdotoolOutput(const QStringList &arguments)
    {
        QProcess p;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("DISPLAY", run->xDisplay());
        p.setProcessEnvironment(e);
        p.start("xdotool", arguments);
        p.waitForFinished(10000);
        return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    }

    // The window of the program with this window class, once it is shown.
    QString windowOf(const QString &className)
    {
        QString id;
        run->waitUntil([&] {
            id = xdotoolOutput({"search", "--onlyvisible", "--class", '^' + className + '$'})
                     .section('\n', 0, 0);
            return !id.isEmpty();
        });
        return id;
    }

    bool activate(const QStringList &windows)
    {
        QStringList args;
        for (const QString &w : windows)
            args << "windowactivate"
                 << "--sync" << w;
        return run->xdotool(args);
    }

private slots:
    void init()
    {
        if (!Journey::toolsPresent() || QStandardPaths::findExecutable("openbox").isEmpty())
            QSKIP("Xvfb, xdotool or openbox missing");
        run = std::make_unique<Journey>();
    }

    void cleanup()
    {
        if (run && !QTest::currentTestFailed())
            QCOMPARE(run->stop(), 0);
        for (QProcess *p : others) {
            endChildProcess(*p);
            delete p;
        }
        others.clear();
        run.reset();
    }

    void profileFollowsTheProgramInFront()
    {
        run->setGlobal(kMouse);
        writeSettings(run->settingsFolder() + "/name.bin",
                      {{"profile/profileName", QStringList{"Standard0", "Game2"}}});
        writeSettings(run->settingsFolder() + "/p3.bin",
                      {{"mouse/reportRate", 0}, {"mouse/currentDpiCount", 2}});
        QVERIFY2(run->start(), qPrintable(run->error()));
        startOther("openbox", {"--sm-disable"});
        QVERIFY2(run->waitForScene(), qPrintable(run->error()));
        const QString gameClassPath = QStringLiteral(KC_CLASS_WINDOW);
        startOther(gameClassPath, {"game", "GameClass", "The Game"});
        startOther(gameClassPath, {"desk", "DeskClass", "Desk Work"});
        const QString gameWindow = windowOf("GameClass");
        const QString deskWindow = windowOf("DeskClass");
        QVERIFY(!gameWindow.isEmpty() && !deskWindow.isEmpty());
        // The window manager keeps the active window.
        QVERIFY(run->waitUntil([&] { return !xdotoolOutput({"getactivewindow"}).isEmpty(); }));

        // Config → "Game" → Link to program… → the game's window in the list → Link.
        QVERIFY(run->clickItem("configBtn"));
        QVERIFY(run->waitFor("profileMain", "visible"));
        QVERIFY(run->clickItem("profileMain/profileList/profileRow1"));
        QVERIFY(run->waitFor("profileMain", "selectedNumber === 2"));
        QVERIFY(run->clickItem("profileMain/linkButton"));
        QVERIFY(run->waitFor("profileMain/linkDialog", "isOpen && windows.length >= 2"));
        const QRect row = run->findText("profileMain/linkDialog", "GameClass");
        QVERIFY2(row.isValid(), qPrintable(run->error()));
        QVERIFY(run->click(row.center()));
        QVERIFY(run->waitFor("profileMain/linkDialog", "programName === \"GameClass\""));
        QVERIFY(run->clickItem("profileMain/linkAccept"));
        QVERIFY(run->waitFor("profileMain", "!linkDialog.isOpen && selectedPrograms.length === 1"));
        QVERIFY2(run->findText("profileMain/programLinks", "GameClass").isValid(), qPrintable(run->error()));
        QVERIFY(run->waitUntil([&] { return setting("apConfig.bin", "appProfile/links") == "2:GameClass"; }));
        QVERIFY(run->clickItem("profileMain/closeButton"));
        QVERIFY(run->waitFor(".", "!profileMain.visible && !dialogOpen"));
        QCOMPARE(activeProfile(), 0);

        // The game in front: its profile goes to the mouse, as the title bar sends it.
        QVERIFY(activate({gameWindow}));
        QVERIFY2(run->waitUntil([&] { return activeProfile() == 2 && mouseRate() == kGameRate && settled(); },
                                60000),
                 qPrintable(QJsonDocument(run->mouseState()).toJson()));
        QCOMPARE(run->mouseState().value("dpiStageCount").toInt(), 2);
        QCOMPARE(run->eval("upItem/profileBtn", "currentText").toString(), QStringLiteral("Game"));

        // The other program in front: the default comes back.
        QVERIFY(activate({deskWindow}));
        QVERIFY(run->waitUntil(
            [&] { return activeProfile() == 0 && mouseRate() == kStandardRate && settled(); }, 60000));

        // The game only passed through: nothing switches for it. Then the game stays in front: one
        // profile is sent, the game's.
        const int mark = int(run->hidCalls().size());
        QVERIFY(activate({gameWindow, deskWindow}));
        QCOMPARE(xdotoolOutput({"getactivewindow"}), deskWindow);
        QVERIFY(activate({gameWindow}));
        QVERIFY(run->waitUntil([&] { return activeProfile() == 2 && mouseRate() == kGameRate && settled(); },
                               60000));
        QCOMPARE(sentReports(run->hidCalls().mid(mark), 0x01).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestProgramProfilesJourney)
#include "tst_program_profiles.moc"
