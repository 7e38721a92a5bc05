// The DPI page: what it stores and sends, real slider input, the stage count, reset, bad settings.
import QtQuick
import QtTest
import "support"
import "../../modules/qml/Z9"
import "../../modules/qml/js/Dpi.js" as Dpi

SceneStub {
    id: mainIten

    DpiSetting {
        id: dpiSettingMain
    }

    TestCase {
        name: "DpiPage"
        when: windowShown

        property var page: dpiSettingMain
        readonly property var ladder: ["500", "1000", "1500", "2000", "3000", "4000", "5000", "6000"]
        readonly property var range: ({"mouse/minDPI": "200", "mouse/maxDPI": "6000", "mouse/dpiBase": "50",
                                          "mouse/sensorType": "3389"})

        function load(profile, global, send)
        {
            ui_View.profile = profile;
            ui_View.global = global === undefined ? range : global;
            ui_View.defaults = {"mouse/dpiValueArray": ["400", "800", "1600", "2400", "3200", "4800", "5600", "6000"]};
            // Unreadable settings keep what the page holds: start each load from the built-in state.
            page.minDPI = 200; page.maxDPI = 6000; page.dpiBase = 50; page.dpiCount = 4; page.currentDpiCount = 4;
            page.isSave = true;
            ui_View.clearCalls();
            page.init(send === true, false);
        }
        function slider(i) { return findChild(page, "dpi" + i); }
        function labels()
        {
            var out = [];
            for (var i = 0; i < 8; ++i)
                out.push(findChild(page, "dpiLabel" + i).text);
            return out;
        }
        function last(fn) { var c = ui_View.callsOf(fn); return c.length ? c[c.length - 1] : null; }
        function valueAtHandle(i) { return String(Dpi.valueAt(Math.round(slider(i).position), 200, 6000, 50)); }

        function test_storedAndSent()
        {
            load({"mouse/dpiCount": "6", "mouse/currentDpiCount": "3", "mouse/dpiValueArray": ladder}, range, true);
            var nums = ladder.map(Number);
            compare(labels(), ladder);
            compare(last("setDataList"), ["mouse/dpiValueArray", nums]);
            compare(last("setData"), ["mouse/currentDpiCount", 3]);
            compare(ui_View.callsOf("mouseSetDpi"), [[3, "3389", nums]], "hidden stages are sent too");
            compare(page.dpiSegment.model, ["1", "2", "3", "4", "5", "6"]);
            compare(page.dpiSegment.currentIndex, 2);
            verify(!page.isSave);
            verify(slider(2).visible && !slider(3).visible && !findChild(page, "dpiLabel3").visible);

            load({"mouse/dpiCount": "8", "mouse/currentDpiCount": "8", "mouse/dpiValueArray": ladder});
            compare(ui_View.callsOf("setDataList").length + ui_View.callsOf("mouseSetDpi").length, 0);
            findChild(page, "dpi5").dpiValue = "2750"; // the labels are what is saved
            page.saveData(false);
            compare(last("setDataList")[1][5], 2750);
            compare(ui_View.callsOf("mouseSetDpi").length, 0);
        }

        function test_dragAndClick()
        {
            load({"mouse/dpiCount": "8", "mouse/currentDpiCount": "8", "mouse/dpiValueArray": ladder});
            var s = slider(1), from = s.position, focus = mainIten.focusCalls;
            mousePress(s, from + 6, 10);
            compare(mainIten.focusCalls, focus + 1, "pressing a handle closes open lists");
            for (var dx = 10; dx <= 60; dx += 10) {
                mouseMove(s, from + 6 + dx, 10, -1, Qt.LeftButton);
                compare(findChild(page, "dpiLabel1").text, valueAtHandle(1));
            }
            verify(s.position > from);
            verify(!page.isSave, "still unsaved only after release");
            mouseRelease(s, from + 66, 10);
            verify(page.isSave);
            compare(findChild(page, "dpiLabel1").text, valueAtHandle(1));

            load({"mouse/dpiCount": "8", "mouse/currentDpiCount": "8", "mouse/dpiValueArray": ladder});
            var atSave = -1;
            var watch = function () { if (page.isSave) atSave = slider(4).position; };
            page.isSaveChanged.connect(watch);
            mouseClick(slider(4), 140, 10);
            tryCompare(page, "isSave", true);
            page.isSaveChanged.disconnect(watch);
            compare(atSave, 134, "unsaved once the glide has arrived");
            compare(findChild(page, "dpiLabel4").text, valueAtHandle(4));
        }

        // A typed value is held to range and step as a drag holds one; the handle follows; saved as shown.
        function test_typedValue_data()
        {
            return [
                {tag: "step", keys: "1234", shown: "1200"},
                {tag: "above range", keys: "99999", shown: "6000"},
                {tag: "below range", keys: "7", shown: "200"},
                {tag: "empty keeps", keys: "", shown: "1000", same: true},
                {tag: "unchanged", keys: "1000", shown: "1000", same: true},
            ];
        }

        function test_typedValue(d)
        {
            load({"mouse/dpiCount": "8", "mouse/currentDpiCount": "8", "mouse/dpiValueArray": ladder});
            var field = findChild(page, "dpiLabel1");
            mouseClick(field);
            verify(field.activeFocus);
            keyClick(Qt.Key_A, Qt.ControlModifier);
            keyClick(Qt.Key_Backspace);
            for (var i = 0; i < d.keys.length; ++i)
                keyClick(d.keys[i]);
            keyClick(Qt.Key_Tab);
            verify(findChild(page, "dpiLabel2").activeFocus, "Tab goes on to the next stage");
            compare(field.text, d.shown);
            compare(page.isSave, d.same !== true);
            compare(slider(1).position, Dpi.positionOf(Number(d.shown), 200, 6000), "the handle follows");
            page.saveData(true);
            compare(last("mouseSetDpi")[2][1], Number(d.shown));
        }

        // Arrow keys in the field and the wheel over the slider move one step, held to the range.
        function test_nudged()
        {
            load({"mouse/dpiCount": "8", "mouse/currentDpiCount": "8", "mouse/dpiValueArray": ladder});
            mouseClick(findChild(page, "dpiLabel0"));
            keyClick(Qt.Key_Up);
            keyClick(Qt.Key_Up);
            keyClick(Qt.Key_Down);
            compare(labels()[0], "550");
            mouseWheel(slider(7), 80, 10, 0, 120);
            compare(labels()[7], "6000");
            mouseWheel(slider(7), 80, 10, 0, -240);
            compare(labels()[7], "5900");
            verify(page.isSave);
            findChild(page, "dpiLabel0").focus = false;
        }

        function test_stageCountAndReset()
        {
            load({"mouse/dpiCount": "8", "mouse/currentDpiCount": "8", "mouse/dpiValueArray": ladder});
            var seg = page.dpiSegment;
            mouseClick(seg);
            verify(seg.isOpen);
            mouseClick(seg, seg.width / 2, seg.height * 2.5); // "2"
            compare(page.currentDpiCount, 2);
            verify(page.isSave && !seg.isOpen);
            verify(slider(1).visible && !slider(2).visible && !slider(7).visible);
            var gap = slider(1).mapToItem(page, 88, 0).x - slider(0).mapToItem(page, 88, 0).x;
            fuzzyCompare(gap, (page.width - 16) / 2, 1);
            page.saveData(true);
            compare(last("mouseSetDpi"), [2, "3389", ladder.map(Number)]);

            ui_View.clearCalls();
            mouseClick(findChild(page, "dpiReset"));
            compare(labels(), ["400", "800", "1600", "2400", "3200", "4800", "5600", "6000"]);
            verify(page.isSave);
            compare(page.currentDpiCount, 2);
            compare(ui_View.calls.map(function (c) { return c.fn + c.args; }), ["getDataList" + "mouse/dpiValueArray,true"]);
        }

        function test_badSettings_data()
        {
            return [
                {tag: "equal range", g: {"mouse/minDPI": "800", "mouse/maxDPI": "800"}, v: ladder,
                    want: ["800", "800", "800", "800", "800", "800", "800", "800"]},
                {tag: "reversed range", g: {"mouse/minDPI": "6000", "mouse/maxDPI": "200"}, v: ladder, want: ladder},
                {tag: "missing globals, short list", g: {}, v: ["700", "900"],
                    want: ["700", "900", "1500", "2000", "3000", "4000", "5000", "6000"]},
                {tag: "unreadable entries", g: {"mouse/minDPI": "400", "mouse/maxDPI": "3000", "mouse/dpiBase": "x"},
                    v: ["abc", "", "NaN", "Infinity", "1e999", "-", "2500", undefined],
                    want: ["500", "1000", "1500", "2000", "3000", "3000", "2500", "3000"]},
                {tag: "step zero, no list", g: {"mouse/dpiBase": "0", "mouse/maxDPI": "Infinity"}, v: undefined,
                    want: ladder},
                {tag: "wide range keeps values", g: {"mouse/minDPI": "100", "mouse/maxDPI": "16000"},
                    v: ["8000", "12000", "16000", "16050", "150", "30", "9950", "4100"],
                    want: ["8000", "12000", "16000", "16000", "150", "200", "9950", "4100"]},
            ];
        }
        function test_badSettings(d)
        {
            load({"mouse/dpiCount": "8", "mouse/currentDpiCount": "8", "mouse/dpiValueArray": d.v}, d.g);
            compare(labels(), d.want);
            page.saveData(true);
            var sent = last("mouseSetDpi");
            compare(sent[2], d.want.map(Number));
            compare(last("setDataList")[1], d.want.map(Number));
            compare(page.dpiValueArray.length, 8);
            verify(page.dpiValueArray.every(function (x) { return isFinite(Number(x)); }));
            page.init(true, false); // loading and saving again changes nothing
            compare(last("mouseSetDpi")[2], d.want.map(Number));
        }

        function test_badCounts_data()
        {
            return [
                {tag: "enabled 0", n: "8", c: "0", count: 8, enabled: 1},
                {tag: "enabled beyond supported", n: "6", c: "12", count: 6, enabled: 6},
                {tag: "enabled unreadable", n: "6", c: "x", count: 6, enabled: 4},
                {tag: "supported 0", n: "0", c: "3", count: 4, enabled: 3},
                {tag: "supported unreadable", n: "many", c: "7", count: 4, enabled: 4},
            ];
        }
        function test_badCounts(d)
        {
            load({"mouse/dpiCount": d.n, "mouse/currentDpiCount": d.c, "mouse/dpiValueArray": ladder}, range, true);
            compare([page.dpiCount, page.currentDpiCount, page.dpiSegment.model.length], [d.count, d.enabled, d.count]);
            compare(page.dpiSegment.currentIndex, d.enabled - 1);
            compare(last("mouseSetDpi")[0], d.enabled);
            verify(slider(d.enabled - 1).visible && (d.enabled === 8 || !slider(d.enabled).visible));
        }

        function test_moreThanEightStagesLeavesSliders()
        {
            load({"mouse/dpiCount": "8", "mouse/currentDpiCount": "8", "mouse/dpiValueArray": ladder});
            load({"mouse/dpiCount": "12", "mouse/currentDpiCount": "3", "mouse/dpiValueArray": ["900"]}, range, true);
            compare(labels(), ladder);
            compare(ui_View.callsOf("mouseSetDpi").length, 0);
        }

        function test_highlight()
        {
            load({"mouse/dpiCount": "8", "mouse/currentDpiCount": "8", "mouse/dpiValueArray": ladder});
            for (var cur = 0; cur < 8; cur += 5) {
                page.currentDPI = cur;
                for (var i = 0; i < 8; ++i)
                    verify(Qt.colorEqual(slider(i).fillColor, i === cur ? mainIten.colorOrange : mainIten.colorBlue),
                           "stage " + i + " with " + cur + " active");
            }
        }
    }
}
