// The lighting page under real pointer input: an effect chosen in the drop-down and a colour picked
// by dragging the marker along the hue strip, then Save; the mouse holds that effect and the colours
// the page shows.
#include "JourneyCase.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

namespace {

// Colour at strip position p, in six hue segments of 30 pixels with white past 182.
QList<int> hueAt(int p)
{
    const int w = 30;
    const int k = p / w;
    const int s = (p - k * w) * 255 / w;
    switch (k) {
    case 0:
        return {255, s, 0};
    case 1:
        return {255 - s, 255, 0};
    case 2:
        return {0, 255, s};
    case 3:
        return {0, 255 - s, 255};
    case 4:
        return {s, 0, 255};
    case 5:
        return {255, 0, 255 - s};
    default:
        return p > 182 ? QList<int>{255, 255, 255} : QList<int>{255, 0, 0};
    }
}

QJsonArray jsonInts(const QList<int> &values)
{
    QJsonArray a;
    for (int v : values)
        a.append(v);
    return a;
}

} // namespace

class TestLightingJourney : public JourneyCase
{
    Q_OBJECT

    QList<int> shownColor()
    {
        QList<int> rgb;
        for (const char *channel : {"R", "G", "B"})
            rgb << run->ask(QStringLiteral("prop lightControlMain/input%1 text").arg(channel))
                       .toString()
                       .toInt();
        return rgb;
    }

public:
    TestLightingJourney()
        : JourneyCase({{"mouse/icType", "553"},
                       {"mouse/isColorful", true},
                       {"mouse/is55328", false},
                       {"mouse/profileNo", 0}})
    {
    }

private slots:
    void effectAndColourAreSavedToMouse()
    {
        const QList<int> storedColors = intList(run->profileValue("mouse/colorValue"));
        QCOMPARE(storedColors.size(), 24);
        QCOMPARE(shownColor(), storedColors.mid(0, 3));

        // "Wave" shows both sliders, speed at 0 and brightness at 4.
        QVERIFY(run->click(run->center("lightControlMain/lightModel")));
        QVERIFY(run->waitUntil([&] { return run->eval("lightControlMain/lightModel", "isOpen").toBool(); }));
        const QRect wave = run->findText("lightControlMain/lightModel", "Wave");
        QVERIFY2(wave.isValid(), qPrintable(run->error()));
        QVERIFY(run->click(wave.center()));
        QVERIFY(run->waitUntil([&] { return run->eval("lightControlMain", "isSave").toBool(); }));
        QCOMPARE(run->eval("lightControlMain", "effect").toInt(), 5);
        QCOMPARE(run->eval("lightControlMain/lightModel", "currentText").toString(), QStringLiteral("Wave"));
        const int speed = run->eval("lightControlMain", "speedRow.slider.step").toInt();
        const int brightness = run->eval("lightControlMain", "brightnessRow.slider.step").toInt();
        QCOMPARE(speed, 0);
        QCOMPARE(brightness, 4);

        // The marker of slot 0 dragged to 45 % of the strip.
        const QRect strip = run->rect("lightControlMain/hueStrip");
        const QPoint drop = run->point("lightControlMain/hueStrip", 0.45, 0.5);
        QVERIFY(run->drag(run->center("lightControlMain/marker0"), drop));
        QVERIFY(run->waitUntil([&] { return shownColor() != storedColors.mid(0, 3); }));
        const QList<int> picked = shownColor();
        // The colour under the marker's centre; a pixel of rounding either way.
        const int p = drop.x() - strip.x() + 1;
        QVERIFY2(
            picked == hueAt(p) || picked == hueAt(p - 1) || picked == hueAt(p + 1),
            qPrintable(QStringLiteral("%1 %2 %3 at %4").arg(picked[0]).arg(picked[1]).arg(picked[2]).arg(p)));
        QCOMPARE(run->eval("lightControlMain", "slotColors[0]").toString(),
                 QStringLiteral("#%1%2%3")
                     .arg(picked[0], 2, 16, QLatin1Char('0'))
                     .arg(picked[1], 2, 16, QLatin1Char('0'))
                     .arg(picked[2], 2, 16, QLatin1Char('0')));

        QVERIFY(run->click(run->center("saveBtn")));

        // Wave on a full-colour mouse: effect code 5, brightness 4 → 255, speed 0 → 10.
        const QList<int> brightnessBytes{0, 64, 128, 192, 255};
        const QList<int> speedBytes{10, 7, 5, 3, 1};
        QList<int> colors = storedColors;
        colors[0] = picked[0];
        colors[1] = picked[1];
        colors[2] = picked[2];
        auto led = [&] { return run->mouseState().value("led").toObject(); };
        QVERIFY2(run->waitUntil([&] { return led().value("colors").toArray() == jsonInts(colors); }),
                 qPrintable(QJsonDocument(led()).toJson()));
        QCOMPARE(led().value("effect").toInt(), 5);
        QCOMPARE(led().value("option1").toInt(), brightnessBytes[brightness]);
        QCOMPARE(led().value("option2").toInt(), speedBytes[speed]);
        QCOMPARE(led().value("colorType").toInt(), 0);
        // The colours go once.
        QVERIFY(run->waitUntil([&] { return sentReports(run->hidCalls(), 0x10).size() == 1; }));

        QVERIFY(run->waitUntil([&] {
            return intList(run->profileValue("mouse/lightValue")) == QList<int>({5, speed, brightness});
        }));
        QCOMPARE(intList(run->profileValue("mouse/colorValue")), colors);
        QVERIFY(run->waitUntil([&] { return run->eval(".", "ui_View.enabled").toBool(); }));
        QCOMPARE(run->eval("lightControlMain", "isSave").toBool(), false);
    }
};

QTEST_GUILESS_MAIN(TestLightingJourney)
#include "tst_lighting.moc"
