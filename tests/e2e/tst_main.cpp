// The main window under real pointer input: the report-rate choice reaches the mouse and the
// profile, Save with nothing unsaved sends nothing, the ask menu opens and closes; the mouse unplugged
// and plugged again through the virtual mouse's udev notices, and a start with no mouse.
#include "JourneyCase.h"

#include <QElapsedTimer>
#include <QtTest>
#include <tuple>

class TestMainJourney : public JourneyCase
{
    Q_OBJECT

    // The feature reports sent so far.
    int sentCount() const { return int(sentCommands(run->hidCalls()).size()); }

public:
    TestMainJourney() : JourneyCase({{"mouse/icType", "553"}, {"mouse/profileNo", 0}}) {}

private slots:
    void windowIsOnScreenAtItsSize()
    {
        const QRect window = run->rect(".");
        QCOMPARE(window.size(), QSize(1024, 640));
        QVERIFY(QRect(0, 0, 1280, 800).contains(window));
    }

    void reportRateChoiceReachesMouseAndProfile()
    {
        const QStringList entries{"125Hz", "250Hz", "500Hz", "1000Hz"};
        const int stored = run->profileValue("mouse/reportRate").toInt();
        QVERIFY(stored != 2);
        QCOMPARE(run->eval("reportRateLV", "currentText").toString(), entries.value(stored));
        QVERIFY(run->click(run->center("reportRateLV")));
        QVERIFY(run->waitUntil([&] { return run->eval("reportRateLV", "isOpen").toBool(); }));
        const QRect row = run->findText("reportRateLV", "500Hz");
        QVERIFY2(row.isValid(), qPrintable(run->error()));
        QVERIFY(run->click(row.center()));

        // 500 Hz is a 2 ms report interval.
        QVERIFY2(run->waitUntil([&] { return run->mouseState().value("reportRate").toInt() == 2; }),
                 qPrintable(run->output()));
        const QList<QByteArray> rates = sentReports(run->hidCalls(), 0x01);
        QVERIFY(!rates.isEmpty());
        QCOMPARE(quint8(rates.last().at(2)), quint8(2));
        QVERIFY(run->waitUntil([&] { return run->profileValue("mouse/reportRate").toInt() == 2; }));
        QCOMPARE(run->eval("reportRateLV", "isOpen").toBool(), false);
        QCOMPARE(run->eval("reportRateLV", "currentText").toString(), QStringLiteral("500Hz"));
    }

    void saveWithNothingUnsavedSendsNothing()
    {
        QCOMPARE(run->eval("saveBtn", "unsaved").toBool(), false);
        const int before = sentCount();
        QVERIFY(run->click(run->center("saveBtn")));
        // Anything Save sent would come before the report rate chosen next.
        QVERIFY(run->click(run->center("reportRateLV")));
        QVERIFY(run->waitUntil([&] { return run->eval("reportRateLV", "isOpen").toBool(); }));
        QVERIFY(run->click(run->findText("reportRateLV", "125Hz").center()));
        QVERIFY(run->waitUntil([&] { return run->mouseState().value("reportRate").toInt() == 8; }));
        const QList<int> after = sentCommands(run->hidCalls()).mid(before);
        QCOMPARE(after, QList<int>({0x01}));
        QCOMPARE(run->eval(".", "ui_View.enabled").toBool(), true);
    }

    void unpluggedWindowStaysUsableAndThePlugRestoresTheMouse()
    {
        QCOMPARE(run->eval("mouseStatus", "visible").toBool(), false);
        QElapsedTimer noticed;
        noticed.start();
        QVERIFY(run->control("unplug"));
        QVERIFY2(run->waitFor("mouseStatus", "visible"), qPrintable(run->output()));
        qInfo("the window said so %lld ms after the unplug", noticed.elapsed());
        QVERIFY(run->findText("mouseStatus", "No mouse connected").isValid());

        // A real click on a page: stored, and the person told that the mouse gets it later.
        QVERIFY(run->click(run->center("reportRateLV")));
        QVERIFY(run->waitUntil([&] { return run->eval("reportRateLV", "isOpen").toBool(); }));
        QVERIFY(run->click(run->findText("reportRateLV", "500Hz").center()));
        QVERIFY2(run->waitUntil([&] { return run->profileValue("mouse/reportRate").toInt() == 2; }),
                 qPrintable(run->output()));
        QVERIFY(run->waitUntil([&] { return !run->widget("QMessageBox").isEmpty(); }));
        QCOMPARE(run->eval(".", "ui_View.enabled").toBool(), true);
        QCOMPARE(run->mouseState().value("reportRate").toInt(), 8); // 125 Hz from before

        const qsizetype before = run->hidCalls().size();
        QVERIFY(run->control("plug"));
        QVERIFY2(run->waitFor("mouseStatus", "!visible"), qPrintable(run->output()));
        // The start-up exchanges again (keyboard option read and written back), and the profile sent
        // whole with what was stored meanwhile (500 Hz is a 2 ms interval).
        QVERIFY(run->waitUntil([&] { return sentCommands(run->hidCalls().mid(before)).contains(0x11); }));
        QCOMPARE(run->mouseState().value("reportRate").toInt(), 2);
        const QList<int> after = sentCommands(run->hidCalls().mid(before));
        QVERIFY2(after.indexOf(0x83) >= 0 && after.indexOf(0x03) > after.indexOf(0x83),
                 qPrintable(run->output()));
    }

    void startedWithoutMouseFindsItWhenPlugged()
    {
        Journey later;
        later.addEnvironment("VIRTUAL_MOUSE_PLUGGED", "0");
        QVERIFY2(later.launch({{"mouse/icType", "553"}, {"common/language", "ChineseSimplified"}}),
                 qPrintable(later.error()));
        QVERIFY(later.waitFor("mouseStatus", "visible"));
        QVERIFY(later.findText("mouseStatus", QStringLiteral("未连接鼠标")).isValid());
        QVERIFY(sentCommands(later.hidCalls()).isEmpty());
        QVERIFY(later.control("plug"));
        QVERIFY2(later.waitFor("mouseStatus", "!visible"), qPrintable(later.output()));
        QVERIFY(sentCommands(later.hidCalls()).contains(0x83));
        QCOMPARE(later.stop(), 0);
    }

    void askMenuOpensAndItsVersionRowOnlyClosesIt()
    {
        // The title bar's first button is the ask button.
        QVERIFY(run->click(run->center("upItem/buttons/#0")));
        QVERIFY(run->waitUntil([&] { return run->eval("askMenu", "visible").toBool(); }));
        const QRect version = run->findText("askMenu", "Version " KC_VERSION);
        QVERIFY2(version.isValid(), qPrintable(run->error()));
        const int before = sentCount();
        QVERIFY(run->click(version.center()));
        QVERIFY(run->waitUntil([&] { return !run->eval("askMenu", "visible").toBool(); }));
        QCOMPARE(sentCount(), before);
    }

    // The ask menu's language rows switch the window at once, and back.
    void languageChoiceSwitchesTheWindow()
    {
        for (const auto &[name, code, reportRate] : {std::tuple{"简体中文", "ChineseSimplified", "回报率"},
                                                     std::tuple{"English", "English", "Report Rate"}}) {
            QVERIFY(run->click(run->center("upItem/buttons/#0")));
            QVERIFY(run->waitUntil([&] { return run->eval("askMenu", "visible").toBool(); }));
            const QRect row = run->findText("askMenu", QString::fromUtf8(name));
            QVERIFY2(row.isValid(), qPrintable(run->error()));
            QVERIFY(run->click(row.center()));
            const QLatin1String language(code); // a structured binding cannot be captured before C++20
            QVERIFY(run->waitUntil([&] { return run->eval(".", "language").toString() == language; }));
            QCOMPARE(run->eval(".", "mainLang[3]").toString(), QString::fromUtf8(reportRate));
            QVERIFY(!run->eval("askMenu", "visible").toBool());
        }
    }
};

QTEST_GUILESS_MAIN(TestMainJourney)
#include "tst_main.moc"
