// Hue strip both ways, marker placement and colour texts.
import QtQuick
import QtTest
import "../../modules/qml/js/Hue.js" as Hue
import "../../modules/qml/js/Lighting.js" as Lighting

TestCase {
    name: "Hue"

    function test_positionToColor_data()
    {
        return [
            {tag: "0", p: 0, c: [255, 0, 0]}, {tag: "15", p: 15, c: [255, 127, 0]},
            {tag: "30", p: 30, c: [255, 255, 0]}, {tag: "45", p: 45, c: [128, 255, 0]},
            {tag: "75", p: 75, c: [0, 255, 127]}, {tag: "105", p: 105, c: [0, 128, 255]},
            {tag: "135", p: 135, c: [127, 0, 255]}, {tag: "179", p: 179, c: [255, 0, 9]},
            {tag: "180", p: 180, c: [255, 0, 0]}, {tag: "181", p: 181, c: [255, 0, 0]},
            {tag: "182", p: 182, c: [255, 0, 0]}, {tag: "183", p: 183, c: [255, 255, 255]},
            {tag: "184", p: 184, c: [255, 255, 255]},
        ];
    }

    function test_positionToColor(d)
    {
        compare(Hue.colorAt(d.p), d.c);
    }

    function test_colorToPosition()
    {
        compare(Hue.positionOf(255, 0, 0), 0);
        compare(Hue.positionOf(255, 255, 0), 30.5 / 256 * 255);
        compare(Hue.positionOf(0, 255, 255), 91.5);
        compare(Hue.positionOf(0, 0, 255), 91.5 + 30.5 / 256 * 255);
        compare(Hue.positionOf(128, 128, 128), 0);
        // Off the strip: the nearest hue, the colour stretched to full saturation and brightness.
        compare(Hue.positionOf(0, 128, 128), Hue.positionOf(0, 255, 255));
        compare(Hue.positionOf(200, 100, 50), Hue.positionOf(255, 85, 0));
        compare(Hue.positionOf(60, 30, 180), Hue.positionOf(51, 0, 255));
        compare(Hue.positionOf(NaN, 3, 4), 0);
        // The marker for each hue lands within two pixels of the position that made it.
        for (var p = 0; p < 180; ++p) {
            var c = Hue.colorAt(p);
            var x = Math.trunc(Hue.positionOf(c[0], c[1], c[2]));
            verify(Math.abs(x - p) <= 2, "position " + p + " came back as " + x);
            var back = Hue.colorAt(x);
            for (var i = 0; i < 3; ++i)
                verify(Math.abs(back[i] - c[i]) <= 17, "position " + p);
        }
    }

    function test_marker()
    {
        var left = 40;
        compare(Hue.markerLeft(0, left), left + 1 - 8);
        compare(Hue.markerLeft(15.9, left), left + 16 - 8);
        // White sits at the right end of the drag range and reads back as white.
        var white = Hue.markerLeft(Hue.positionOf(255, 255, 255), left);
        compare(white, Hue.clampMarkerLeft(1000, left));
        compare(Hue.colorAt(Hue.positionAtMarker(white, left)), [255, 255, 255]);
        compare(Hue.clampMarkerLeft(-100, left), left - 8);
        compare(Hue.colorAt(Hue.positionAtMarker(left - 8, left)), [255, 8, 0]);
    }

    function test_colorTexts()
    {
        compare(Hue.colorText(255, 127, 0), "#ff7f00");
        compare(Hue.colorText(1, 15, 16), "#010f10");
        compare(Hue.colorText(300, -4, "x"), "#ff0000");
        compare(Hue.parseColorText("#6000FF"), [0x60, 0, 255]);
        compare(Hue.parseColorText("#zz10"), [0, 16, 0]);
        var cv = [255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 0, 255,
                  0, 255, 255, 255, 127, 0, 96, 0, 255, 5, 6, 7];
        var texts = Lighting.colorTexts(cv);
        compare(texts[5], "#ff7f00");
        compare(texts[7], "#050607");
        compare(Lighting.colorTexts([1, 2]).slice(0, 2), ["#010200", "#000000"]);
        compare(Lighting.colorValues(texts, false, 0), cv);
        // A 55328-kind mouse stores slot 7 black except under effect 4.
        compare(Lighting.colorValues(texts, true, 0).slice(21), [0, 0, 0]);
        compare(Lighting.colorValues(texts, true, 4).slice(21), [5, 6, 7]);
    }

    function test_effectControls()
    {
        compare(Lighting.effectControls(0, false),
                {speedVisible: false, speed: null, brightnessVisible: true, brightness: 4});
        compare(Lighting.effectControls(4, true),
                {speedVisible: true, speed: 0, brightnessVisible: false, brightness: null});
        compare(Lighting.effectControls(4, false), Lighting.effectControls(7, false));
        compare(Lighting.effectControls(3, false).brightness, 0);
        compare(Lighting.effectControls(6, true),
                {speedVisible: false, speed: 0, brightnessVisible: false, brightness: 4});
        compare(Lighting.effectControls(9, false),
                {speedVisible: true, speed: 0, brightnessVisible: true, brightness: 4});
        compare(Lighting.percentText(3), "75%");
    }

    function test_storedLightValues()
    {
        compare(Lighting.lightValues(["5", "2", "3"], 11), [5, 2, 3]);
        compare(Lighting.lightValues(["4", "9", "-1"], 4), [1, 4, 0]);
        compare(Lighting.lightValues(["", null, "x"], 4), [1, 0, 0]);
        compare(Lighting.lightValues(["2.7", "1e0"], 4), [2, 1, 0]);
        compare(Lighting.lightValues(undefined, 4), [1, 0, 0]);
        compare(Lighting.extraEffectTexts(false, true), [15]);
        compare(Lighting.extraEffectTexts(true, false).length, 7);
        // Slot 0 needs a stage or a full-colour mouse; slot 7 is never offered.
        compare([0, 1, 2, 7].map(function (i) { return Lighting.slotVisible(i, 2, false, false, 0); }),
                [true, true, false, false]);
        verify(!Lighting.slotVisible(0, 0, false, true, 4));
        verify(Lighting.slotVisible(6, 0, false, true, 4) && !Lighting.slotVisible(6, 8, true, true, 0));
    }
}
