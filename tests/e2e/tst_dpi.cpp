// The DPI page under real pointer input: a click on a stage's track and a drag past the end of
// another stage's track, then Save; the mouse and the profile hold what the page's labels show.
#include "JourneyCase.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

namespace {

// The mouse of this journey: sensor 3360 (code = value / 100 - 1), 100 ... 12000 in steps of 100.
const int kMin = 100;
const int kMax = 12000;
const int kBase = 100;
const int kStageOff = 0x80;

// Value of a handle whose left edge is at `position` on the 176-pixel track (158 steps from 3).
int valueAt(double position)
{
    return int((position - 3) * (kMax - kMin) / 158 + kMin) / kBase * kBase;
}

} // namespace

class TestDpiJourney : public JourneyCase
{
    Q_OBJECT

    int shownValue(int stage)
    {
        return run->eval("dpiSettingMain", QStringLiteral("dpi%1.dpiValue").arg(stage)).toString().toInt();
    }

public:
    TestDpiJourney()
        : JourneyCase({{"mouse/icType", "553"},
                       {"mouse/sensorType", "3360"},
                       {"mouse/minDPI", kMin},
                       {"mouse/maxDPI", kMax},
                       {"mouse/dpiBase", kBase},
                       {"mouse/profileNo", 0}})
    {
    }

private slots:
    void editedStagesAreSavedToMouseAndProfile()
    {
        const QList<int> stored = intList(run->profileValue("mouse/dpiValueArray"));
        QCOMPARE(stored.size(), 8);
        QCOMPARE(run->eval("dpiSettingMain", "currentDpiCount").toInt(), 4);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(shownValue(i), stored[i]);

        // Stage 2: a click three quarters up its track glides the handle there; the page is unsaved
        // once the glide has ended.
        const double along = 0.75;
        QVERIFY(run->click(run->point("dpiSettingMain/dpi1", along, 0.5)));
        QVERIFY2(run->waitUntil([&] { return run->eval("dpiSettingMain", "isSave").toBool(); }),
                 qPrintable(run->error()));
        const int stage2 = shownValue(1);
        // The handle centres on the click; a pixel of rounding is one step at most.
        QVERIFY2(qAbs(stage2 - valueAt(along * 176 - 6)) <= kBase, qPrintable(QString::number(stage2)));
        QVERIFY(stage2 != stored[1]);

        // Stage 3: its handle dragged past the top of the track stops at the highest value.
        const QPoint handle = run->center("dpiSettingMain/dpi2/handle");
        QVERIFY(run->drag(handle, run->point("dpiSettingMain/dpi2", 1.3, 0.5)));
        QVERIFY(run->waitUntil([&] { return shownValue(2) == kMax; }));

        // The labels show the values; the red Save sends and stores them.
        QCOMPARE(run->ask("prop dpiSettingMain/dpiLabel1 text").toString(), QString::number(stage2));
        QCOMPARE(run->eval("saveBtn", "unsaved").toBool(), true);
        QVERIFY(run->click(run->center("saveBtn")));

        const QJsonArray expectedCodes{stored[0] / 100 - 1, stage2 / 100 - 1, kMax / 100 - 1,
                                       stored[3] / 100 - 1, kStageOff,        kStageOff,
                                       kStageOff,           kStageOff};
        QVERIFY2(
            run->waitUntil([&] { return run->mouseState().value("dpiCodes").toArray() == expectedCodes; }),
            qPrintable(QJsonDocument(run->mouseState()).toJson()));
        QCOMPARE(run->mouseState().value("dpiStageCount").toInt(), 4);
        const QList<QByteArray> sets = sentReports(run->hidCalls(), 0x11);
        QCOMPARE(sets.size(), 1);

        QList<int> expectedValues = stored;
        expectedValues[1] = stage2;
        expectedValues[2] = kMax;
        QVERIFY(run->waitUntil(
            [&] { return intList(run->profileValue("mouse/dpiValueArray")) == expectedValues; }));
        QCOMPARE(run->profileValue("mouse/currentDpiCount").toInt(), 4);

        QVERIFY(run->waitUntil([&] { return run->eval(".", "ui_View.enabled").toBool(); }));
        QCOMPARE(run->eval("dpiSettingMain", "isSave").toBool(), false);
        QCOMPARE(run->eval("saveBtn", "unsaved").toBool(), false);
    }
};

QTEST_GUILESS_MAIN(TestDpiJourney)
#include "tst_dpi.moc"
