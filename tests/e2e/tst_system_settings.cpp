// The system settings dialog under real input: opened with its button, the pointer-speed handle
// dragged, the wheel choices clicked and a line count typed; each change is stored with the profile
// and reaches the desktop's settings at once.
#include "JourneyCase.h"

#include <QFile>
#include <QStandardPaths>
#include <QtTest>

#include <cmath>

namespace {

// A key of a group in an INI-style file as text (GLib's key files and kdeglobals alike).
QString iniValue(const QString &file, const QString &group, const QString &key)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    bool inGroup = false;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inGroup = line == QLatin1Char('[') + group + QLatin1Char(']');
        else if (inGroup && line.startsWith(key + QLatin1Char('=')))
            return line.mid(key.size() + 1);
    }
    return {};
}

// The desktop speed (-1 ... 1) for a slider position: the page's speed index 0 ... 10 by its
// thresholds, the pointer speed 1, 2, 4 ... 20, then linear on each side of 10.
double desktopSpeedFor(int position)
{
    const int thresholds[] = {4, 37, 70, 104, 138, 172, 205, 239, 272, 305, 338};
    int index = 10;
    for (int i = 0; i < 11; ++i) {
        if (position < thresholds[i]) {
            index = i;
            break;
        }
    }
    const int speed = index == 0 ? 1 : 2 * index;
    return speed <= 10 ? (speed - 10) / 9.0 : (speed - 10) / 10.0;
}

const char *const kMouseGroup = "org/gnome/desktop/peripherals/mouse";

} // namespace

class TestSystemSettingsJourney : public JourneyCase
{
    Q_OBJECT

    QString kdeglobals() const { return run->configHome() + QStringLiteral("/kdeglobals"); }

public:
    TestSystemSettingsJourney() : JourneyCase({{"mouse/profileNo", 0}}) {}

protected:
    void afterLaunch() override
    {
        QVERIFY(run->click(run->center("systemSettingBtn")));
        QVERIFY(run->waitUntil([&] { return run->eval("systemSettingMain", "visible").toBool(); }));
        QCOMPARE(run->eval(".", "mainMask.visible").toBool(), true);
    }

private slots:
    void pointerSpeedDragReachesDesktop()
    {
        // Starting up applies nothing.
        QVERIFY(iniValue(run->gsettingsKeyFile(), kMouseGroup, "speed").isEmpty());
        const int before = run->eval("systemSettingMain", "mouseRateSlider.position").toInt();

        const QPoint handle = run->center("systemSettingMain/mouseRateSlider/handle");
        QVERIFY(run->drag(handle, run->point("systemSettingMain/mouseRateSlider", 0.85, 0.5)));
        QVERIFY2(run->waitUntil(
                     [&] { return !iniValue(run->gsettingsKeyFile(), kMouseGroup, "speed").isEmpty(); }),
                 qPrintable(run->output()));

        const int position = run->eval("systemSettingMain", "mouseRateSlider.position").toInt();
        QVERIFY(position > before);
        QVERIFY(run->waitUntil([&] { return run->profileValue("mouse/mouseRate").toInt() == position; }));
        const double speed = iniValue(run->gsettingsKeyFile(), kMouseGroup, "speed").toDouble();
        QVERIFY2(std::abs(speed - desktopSpeedFor(position)) < 0.006,
                 qPrintable(QStringLiteral("%1 at %2").arg(speed).arg(position)));
        // Only the pointer speed is applied by its slider.
        QVERIFY(iniValue(run->gsettingsKeyFile(), kMouseGroup, "double-click").isEmpty());
    }

    void wheelChoicesAndTypedCount()
    {
        const bool kdeTool = !QStandardPaths::findExecutable("kwriteconfig5").isEmpty() ||
                             !QStandardPaths::findExecutable("kwriteconfig6").isEmpty();

        QVERIFY(run->click(run->center("systemSettingMain/screenChoice")));
        QVERIFY(run->waitUntil([&] { return run->profileValue("mouse/scrollRate").toInt() == 1000; }));
        QCOMPARE(run->eval("systemSettingMain", "screenChoice.checked && !rowsChoice.checked").toBool(),
                 true);
        if (kdeTool)
            QVERIFY(
                run->waitUntil([&] { return iniValue(kdeglobals(), "KDE", "WheelScrollLines") == "1000"; }));

        // Back to rows, then 0 typed over the count: it becomes 1 when Enter commits it.
        QVERIFY(run->click(run->center("systemSettingMain/rowsChoice")));
        QVERIFY(run->waitUntil([&] { return run->profileValue("mouse/scrollRate").toInt() == 3; }));
        QVERIFY(run->click(run->center("systemSettingMain/lineCount")));
        QVERIFY(
            run->waitUntil([&] { return run->eval("systemSettingMain", "lineCount.inputFocus").toBool(); }));
        QVERIFY(run->key("ctrl+a"));
        QVERIFY(run->typeText("0"));
        QVERIFY(run->waitUntil(
            [&] { return run->eval("systemSettingMain", "lineCount.text").toString() == "0"; }));
        QVERIFY(run->key("Return"));
        QVERIFY(run->waitUntil([&] { return run->profileValue("mouse/scrollRate").toInt() == 1; }));
        QCOMPARE(run->eval("systemSettingMain", "lineCount.text").toString(), QStringLiteral("1"));
        if (kdeTool)
            QVERIFY(run->waitUntil([&] { return iniValue(kdeglobals(), "KDE", "WheelScrollLines") == "1"; }));
    }

    void closeButtonHidesDialogAndMask()
    {
        QVERIFY(run->click(run->center("systemSettingMain/closeButton")));
        QVERIFY(run->waitUntil(
            [&] { return !run->eval(".", "systemSettingMain.visible || mainMask.visible").toBool(); }));
    }
};

QTEST_GUILESS_MAIN(TestSystemSettingsJourney)
#include "tst_system_settings.moc"
