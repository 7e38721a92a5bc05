// The lighting page in a stand-in scene: what it stores and sends, its effect list and colour slots,
// and the hue strip, inputs and sliders driven with real input.
import QtQuick
import QtTest
import "support"
import "../../modules/qml/Z9"

SceneStub {
    id: mainIten

    Item {
        id: dpiSettingMain
        property int dpiCount: 4
    }
    Component {
        id: pageComponent
        LightControl {
            dpiCount: dpiSettingMain.dpiCount
            x: 20
            y: 20
        }
    }

    TestCase {
        name: "LightPage"
        when: windowShown

        readonly property var colors: [255, 0, 0, 0, 255, 0, 0, 0, 255, 5, 6, 7, 0, 255, 255, 255, 127, 0,
            96, 0, 255, 10, 20, 30]

        // A fresh page on a mouse of the given kind, first initialised as at start-up.
        function makePage(colorful, is55328, lightValue, colorValue)
        {
            mainIten.isColorful = colorful;
            mainIten.is55328 = is55328;
            mainIten.isPownOn = false;
            dpiSettingMain.dpiCount = 4;
            ui_View.profile = {"mouse/lightValue": lightValue, "mouse/colorValue": colorValue};
            ui_View.defaults = {"mouse/lightValue": [0, 1, 2], "mouse/colorValue": colors.slice().reverse()};
            var page = createTemporaryObject(pageComponent, mainIten);
            page.init(false, false);
            waitForRendering(page);
            ui_View.clearCalls();
            return page;
        }

        function slot(page, i) { return findChild(page, "slot" + i); }
        function pickEffect(page, index)
        {
            mouseClick(page.lightModel);
            // The list lays its rows out when it is drawn.
            waitForRendering(page.lightModel);
            mouseClick(page.lightModel, 20, page.lightModel.height * (index + 1.5));
            compare(page.lightModel.currentIndex, index);
        }
        function inputs(page)
        {
            return ["inputR", "inputG", "inputB"].map(function (n) { return findChild(page, n).text; });
        }

        function test_storedAndSent()
        {
            var page = makePage(true, false, ["5", "2", "3"], colors.map(String));
            page.init(true, false);
            compare(ui_View.callsOf("setDataList"), [["mouse/lightValue", [5, 2, 3]], ["mouse/colorValue", colors]]);
            compare(ui_View.callsOf("mouseSetRGBEffect"), [[5, 2, 3]]);
            compare(ui_View.callsOf("mouseSetRGBColor"), [[0, colors]]);
            compare(page.slotColors[3], "#050607");
            verify(!page.isSave);
            function trail()
            {
                var t = ui_View.calls.map(function (c) { return c.fn === "setDataList" ? c.args[0] : c.fn; });
                ui_View.clearCalls();
                return t;
            }
            trail();
            page.saveData(true, 1);
            compare(trail(), ["mouse/lightValue", "mouseSetRGBEffect"]);
            page.saveData(true, 2);
            compare(trail(), ["mouse/colorValue", "mouseSetRGBColor"]);
            page.saveData(false, 0);
            compare(trail(), ["mouse/lightValue", "mouse/colorValue"]);
        }

        function test_effectTable_data()
        {
            return [
                {e: 0, speed: false, bright: true, steps: [2, 4]}, {e: 1, speed: true, bright: false, steps: [0, 2]},
                {e: 3, speed: false, bright: false, steps: [2, 0]}, {e: 4, speed: false, bright: true, steps: [2, 4]},
                {e: 6, speed: false, bright: false, steps: [0, 4]}, {e: 9, speed: true, bright: true, steps: [0, 4]},
            ];
        }
        function test_effectTable(d)
        {
            var page = makePage(true, false, ["2", "2", "2"], colors);
            mouseClick(slot(page, 2));
            pickEffect(page, d.e);
            compare(findChild(page, "speedRow").visible, d.speed);
            compare(findChild(page, "brightnessRow").visible, d.bright);
            compare([findChild(page, "speedRow").slider.step, findChild(page, "brightnessRow").slider.step], d.steps);
            compare([page.speedText, page.brightnessText], d.steps.map(function (s) { return (s * 25) + "%"; }));
            compare(page.selectedSlot, 0);
            verify(page.isSave);
            compare(ui_View.deviceCalls(), []);
        }

        function test_extraEntriesOnce()
        {
            var page = makePage(true, true, ["11", "0", "0"], colors);
            compare(page.lightModel.count, 12);
            compare(page.lightModel.model[4], "Twinkling");
            compare(page.lightModel.model[11], "Breath Loop");
            compare(page.effect, 11);
            page.init(false, false);
            page.init(true, false);
            mouseClick(findChild(page, "resetButton"));
            compare(page.lightModel.count, 12);
            page = makePage(false, true, ["4", "0", "0"], colors);
            compare(page.lightModel.model, ["Static", "Breath", "Neon", "Off", "Breath Loop"]);
            // Titles follow the language list; a text it lacks keeps the built-in one.
            page.lightControlLang = ["Licht", "Statisch"];
            compare(page.lightModel.model, ["Statisch", "Breath", "Neon", "Off", "Breath Loop"]);
            // Not on a later initialisation, once the window has started.
            mainIten.isPownOn = true;
            page = createTemporaryObject(pageComponent, mainIten);
            page.init(false, false);
            compare(page.lightModel.count, 4);
        }

        function test_slotVisibility()
        {
            function shown(page)
            {
                var out = [];
                for (var i = 0; i < 8; ++i)
                    out.push(slot(page, i).visible);
                return out;
            }
            var page = makePage(false, false, ["0", "0", "0"], colors);
            dpiSettingMain.dpiCount = 3;
            compare(shown(page), [true, true, true, false, false, false, false, false]);
            dpiSettingMain.dpiCount = 0;
            compare(shown(page), [false, false, false, false, false, false, false, false]);
            mainIten.isColorful = true;
            compare(shown(page), [true, true, true, true, true, true, true, false]);
            page = makePage(false, true, ["0", "0", "0"], colors);
            compare(shown(page), [true, false, false, false, false, false, false, false]);
            pickEffect(page, 4);
            compare(shown(page), [true, true, true, true, true, true, true, false]);
        }

        function test_dragMarkerAndSelectSlot()
        {
            var page = makePage(true, false, ["0", "0", "4"], colors);
            var area = findChild(page, "hueArea");
            mouseClick(slot(page, 5));
            var marker = findChild(page, "marker5");
            // #ff7f00 sits 127/256 of a segment along: the marker's centre lands 15 pixels on.
            compare(marker.x, 23 + 15 + 1 - 8);
            compare(inputs(page), ["255", "127", "0"]);
            mousePress(marker, 8, 10);
            // The marker's centre sits at strip position x - 22 of the pointer.
            var moves = [[67, "#80ff00"], [300, "#ffffff"], [-50, "#ff0800"], [37, "#ff7f00"]];
            for (var i = 0; i < moves.length; ++i) {
                mouseMove(area, moves[i][0], 10, -1, Qt.LeftButton);
                compare(page.slotColors[5], moves[i][1], "pointer at " + moves[i][0]);
                compare(inputs(page).map(Number), [1, 3, 5].map(function (k) {
                    return parseInt(moves[i][1].substr(k, 2), 16);
                }));
            }
            verify(!page.isSave);
            mouseRelease(area, 37, 10);
            verify(page.isSave);
            compare(page.slotColors[0], "#ff0000");
            mouseClick(slot(page, 1));
            compare(findChild(page, "marker1").visible && !marker.visible, true);
            compare(inputs(page), ["0", "255", "0"]);
        }

        function test_typedColour()
        {
            var page = makePage(true, false, ["0", "0", "4"], colors);
            mouseClick(slot(page, 2));
            function type(name, keys)
            {
                mouseClick(findChild(page, name));
                keyClick(Qt.Key_A, Qt.ControlModifier);
                keyClick(Qt.Key_Backspace);
                for (var i = 0; i < keys.length; ++i)
                    keyClick(keys[i]);
            }
            type("inputR", "300");
            keyClick(Qt.Key_Return);
            compare(inputs(page), ["255", "0", "255"]);
            compare(page.slotColors[2], "#ff00ff");
            verify(page.isSave);
            // Magenta is placed at the end of the fifth segment.
            compare(findChild(page, "marker2").x, 23 + 152 + 1 - 8);
            // An empty text reads as 0; the minus sign cannot be typed.
            type("inputB", "-");
            page.lightControlFocus();
            compare(page.slotColors[2], "#ff0000");
            type("inputG", "-4");
            mouseClick(slot(page, 3));
            compare(page.slotColors[2], "#ff0400");
            compare(page.selectedSlot, 3);

            // Tab and Shift+Tab go through R, G, B; a number above 255 shows 255 as it is typed.
            type("inputR", "20");
            keyClick(Qt.Key_Tab);
            verify(findChild(page, "inputG").inputFocus);
            keyClick(Qt.Key_A, Qt.ControlModifier);
            keyClick(Qt.Key_3);
            keyClick(Qt.Key_0);
            keyClick(Qt.Key_0);
            compare(findChild(page, "inputG").text, "255");
            keyClick(Qt.Key_Backtab, Qt.ShiftModifier);
            verify(findChild(page, "inputR").inputFocus);
            keyClick(Qt.Key_Tab);
            keyClick(Qt.Key_Tab);
            verify(findChild(page, "inputB").inputFocus);
            page.lightControlFocus();
            compare(inputs(page).slice(0, 2), ["20", "255"]);
        }

        function test_sliderResetAnd55328()
        {
            var page = makePage(false, true, ["0", "0", "1"], colors);
            var slider = findChild(page, "brightnessRow").slider;
            mouseClick(slider, 3 + 3 * 20 + 6, 10);
            tryCompare(page, "brightnessText", "75%");
            verify(page.isSave);
            // Slot 7 is black except under effect 4.
            page.saveData(true, 0);
            compare(ui_View.callsOf("mouseSetRGBColor")[0][1].slice(21), [0, 0, 0]);
            compare(ui_View.profile["mouse/colorValue"].slice(21), [0, 0, 0]);
            pickEffect(page, 4);
            page.saveData(true, 2);
            compare(ui_View.callsOf("mouseSetRGBColor")[1][1].slice(21), [10, 20, 30]);
            // Reset shows the default profile's lighting, stores and sends nothing.
            ui_View.clearCalls();
            mouseClick(findChild(page, "resetButton"));
            compare([page.effect, page.speedText, page.brightnessText], [0, "25%", "50%"]);
            compare(page.slotColors[0], "#1e140a");
            verify(page.isSave);
            compare(ui_View.callsOf("setDataList").concat(ui_View.deviceCalls()), []);
        }

        function test_badStoredValues()
        {
            var page = makePage(false, false, ["9", "-3", "x"], ["300", "-4", "abc", "1"]);
            compare([page.effect, page.speedText, page.brightnessText], [1, "0%", "0%"]);
            compare(page.slotColors.slice(0, 2), ["#ff0000", "#010000"]);
            page.saveData(true, 0);
            var cv = [255, 0, 0, 1, 0, 0].concat([0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]);
            compare(ui_View.callsOf("mouseSetRGBColor"), [[1, cv]]);
            compare(ui_View.callsOf("mouseSetRGBEffect"), [[1, 0, 0]]);
            page = makePage(false, false, ["2", "7", "2.5"], []);
            compare([page.effect, page.speedText, page.brightnessText], [2, "100%", "50%"]);
            page = makePage(false, false, [], undefined);
            compare(page.effect, 1);
            compare(page.slotColors[7], "#000000");
        }
    }
}
