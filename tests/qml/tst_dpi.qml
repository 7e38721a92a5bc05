// DPI slider arithmetic and the pointer-speed thresholds.
import QtQuick
import QtTest
import "../../modules/qml/js/Dpi.js" as Dpi
import "../../modules/qml/js/Slider.js" as Slider
import "../../modules/qml/js/SystemSettings.js" as SystemSettings

TestCase {
    name: "Dpi"

    function test_roundTripOfBuiltInValues()
    {
        var values = [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000];
        for (var i = 0; i < values.length; ++i) {
            var p = Dpi.positionOf(values[i], 200, 6000);
            compare(Dpi.valueAt(p, 200, 6000, 50), values[i], "value " + values[i]);
        }
        compare(Dpi.positionOf(500, 200, 6000), 12);
        compare(Dpi.positionOf(200, 200, 6000), 4);
        compare(Dpi.positionOf(6000, 200, 6000), 162);
    }

    function test_trackEnds()
    {
        compare(Dpi.valueAt(3, 200, 6000, 50), 200);
        compare(Dpi.valueAt(161, 200, 6000, 50), 6000);
        // Not multiples of the step: rounded down to one.
        compare(Dpi.valueAt(3, 230, 6020, 50), 200);
        compare(Dpi.valueAt(161, 230, 6020, 50), 6000);
        compare(Dpi.valueAt(50, 200, 6000, 50), 1900);
    }

    function test_badValues()
    {
        compare(Dpi.positionOf(9000, 200, 6000), 162);
        compare(Dpi.positionOf(100, 200, 6000), 4);
        compare(Dpi.positionOf("x", 200, 6000), 4);
        compare(Dpi.positionOf(800, 800, 800), 4);
        compare(Dpi.valueAt(80, 200, 6000, 0), Math.trunc(77 * 5800 / 158 + 200));
        compare(Dpi.valuesOf(["500", "1000", "", "x"]), [500, 1000, 0, 0, 0, 0, 0, 0]);
    }

    function test_settingsRead()
    {
        var cur = {minDPI: 200, maxDPI: 6000, dpiBase: 50, dpiCount: 4, currentDpiCount: 4};
        compare(Dpi.limits("6000", "400", "x", cur), {minDPI: 400, maxDPI: 6000, dpiBase: 50});
        compare(Dpi.limits(undefined, "Infinity", "0", cur), {minDPI: 200, maxDPI: 6000, dpiBase: 50});
        compare(Dpi.stageCounts("0", "9", cur), {dpiCount: 4, currentDpiCount: 4});
        compare(Dpi.stageCounts("12", "0", cur), {dpiCount: 12, currentDpiCount: 1});
        compare(Dpi.listOf("500"), ["500"]);
        compare(Dpi.storedValue(["x"], 0, 600, 3000, 100), 600);
        compare(Dpi.storedValue([], 7, 230, 3000, 50), 3000);
        compare(Dpi.storedValue([], 0, 530, 3000, 50), 550);
        // A full-scale handle on a wide range stays at the top; the shown value agrees with the
        // handle wherever the track is finer than the step.
        compare(Dpi.stageValue(162, 100, 16000, 50), 16000);
        compare(Dpi.shownValue("8000", Dpi.positionOf(8000, 100, 16000), 100, 16000, 50), 8000);
        for (var v = 200; v <= 6000; v += 50)
            compare(Dpi.shownValue(v, Dpi.positionOf(v, 200, 6000), 200, 6000, 50),
                    Dpi.valueAt(Dpi.positionOf(v, 200, 6000), 200, 6000, 50));
    }

    function test_sliderGeometry()
    {
        compare(Slider.span(176), 158);
        compare(Slider.span(352), 334);
        compare(Slider.clampPosition(0, 176), 3);
        compare(Slider.clampPosition(500, 176), 161);
        compare(Slider.clampPosition(500, 352), 337);
        compare(Slider.positionForRatio(0.5, 352), 171);
    }

    function test_compareValue_data()
    {
        return [
            {tag: "3", p: 3, i: 0}, {tag: "36", p: 36, i: 1}, {tag: "37", p: 37, i: 2},
            {tag: "337", p: 337, i: 10}, {tag: "103", p: 103, i: 3}, {tag: "104", p: 104, i: 4},
            {tag: "beyond", p: 900, i: 10}, {tag: "garbage", p: "x", i: 0},
        ];
    }

    function test_compareValue(d)
    {
        compare(SystemSettings.speedIndex(d.p), d.i);
    }

    function test_wheel()
    {
        verify(SystemSettings.isOneScreen(101));
        verify(!SystemSettings.isOneScreen(100));
        compare(SystemSettings.commitLineCount("0"), "1");
        compare(SystemSettings.commitLineCount(""), "1");
        compare(SystemSettings.commitLineCount("250"), "100");
        compare(SystemSettings.scrollValue(true, "7"), 7);
        compare(SystemSettings.scrollValue(false, "7"), 1000);
    }
}
