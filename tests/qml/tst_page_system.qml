// The pointer settings dialog with real input: what it stores in the profile and what it applies.
import QtQuick
import QtTest
import "support"
import "../../modules/qml/Z9"

SceneStub {
    id: mainIten

    SystemSetting {
        id: systemSettingMain
    }

    PointerValues {
        id: sharedValues
    }
    Component {
        id: laterDialog
        SystemSetting {
            values: sharedValues
        }
    }

    TestCase {
        name: "SystemSettingPage"
        when: windowShown

        property var page: systemSettingMain
        property var view: mainIten.ui_View

        function part(name) { return findChild(page, name); }

        // Writes and applications in order, as "fn:arg" texts.
        function sent()
        {
            return view.calls.filter(function (c) {
                return c.fn === "setData" || c.fn.indexOf("mouse") === 0;
            }).map(function (c) { return c.fn + ":" + c.args[c.args.length - 1]; });
        }

        function stored() { return [view.profile["mouse/mouseRate"], view.profile["mouse/doubleRate"],
                                    view.profile["mouse/scrollRate"]]; }

        function load(values) { view.profile = values; page.init(false, false); view.clearCalls(); }

        function init()
        {
            view.defaults = {"mouse/mouseRate": "3", "mouse/doubleRate": "337", "mouse/scrollRate": "1000"};
            load({"mouse/mouseRate": "100", "mouse/doubleRate": "200", "mouse/scrollRate": "7"});
            page.open();
            mainIten.focusCalls = 0;
        }

        function test_initAndReset()
        {
            compare(part("mouseRateSlider").position, 100);
            compare(part("doubleRateSlider").position, 200);
            compare(part("lineCount").text, "7");
            verify(part("rowsChoice").checked && !part("screenChoice").checked);
            page.init(false, false);
            compare(sent(), []);
            page.init(true, false);
            compare(sent(), ["setData:100", "setData:200", "setData:7", "mouseSetCursorSpeed:3",
                             "mouseSetDoubleClickSpeed:6", "mouseSetVerticalScrollLines:7"]);
            view.clearCalls();
            mouseClick(part("resetButton"));
            compare(sent(), ["setData:3", "setData:337", "setData:1000", "mouseSetCursorSpeed:0",
                             "mouseSetDoubleClickSpeed:10", "mouseSetVerticalScrollLines:1000"]);
            verify(part("screenChoice").checked && !part("rowsChoice").checked);
        }

        // A profile change applies the values with no dialog made; one made later shows what was read.
        function test_valuesWithoutDialog()
        {
            view.profile = {"mouse/mouseRate": "900", "mouse/doubleRate": "200", "mouse/scrollRate": "150"};
            view.clearCalls();
            sharedValues.init(true, false);
            compare(sent(), ["setData:337", "setData:200", "setData:1000", "mouseSetCursorSpeed:10",
                             "mouseSetDoubleClickSpeed:6", "mouseSetVerticalScrollLines:1000"]);
            var dialog = createTemporaryObject(laterDialog, mainIten);
            compare([findChild(dialog, "mouseRateSlider").position, findChild(dialog, "doubleRateSlider").position],
                    [337, 200]);
            verify(findChild(dialog, "screenChoice").checked && !findChild(dialog, "rowsChoice").checked);
            // The dialog's edits are the shared values.
            view.clearCalls();
            dialog.chooseRows(true);
            compare(sent(), ["setData:337", "setData:200", "setData:1", "mouseSetVerticalScrollLines:1"]);
            compare(sharedValues.oneScreen, false);
        }

        function dragTo(slider, toX)
        {
            var from = slider.position + 6;
            mousePress(slider, from, 10);
            for (var i = 1; i <= 4; ++i)
                mouseMove(slider, from + (toX - from) * i / 4, 10);
            compare(sent(), [], "nothing while the handle moves");
            mouseRelease(slider, toX, 10);
        }

        function test_sliders()
        {
            dragTo(part("mouseRateSlider"), -200);
            compare(sent(), ["setData:3", "setData:200", "setData:7", "mouseSetCursorSpeed:0"]);
            view.clearCalls();
            dragTo(part("doubleRateSlider"), 600);
            compare(sent(), ["setData:3", "setData:337", "setData:7", "mouseSetDoubleClickSpeed:10"]);
            view.clearCalls();
            // A click on the track glides there and then applies.
            mouseClick(part("mouseRateSlider"), 200, 10);
            tryVerify(function () { return view.callsOf("mouseSetCursorSpeed").length === 1; });
            compare(view.callsOf("mouseSetCursorSpeed")[0], [6]);
            compare(stored()[0], 194);
        }

        function test_wheelChoices()
        {
            mouseClick(part("screenChoice"));
            verify(!part("rowsChoice").checked);
            compare(sent(), ["setData:100", "setData:200", "setData:1000", "mouseSetVerticalScrollLines:1000"]);
            view.clearCalls();
            mouseClick(part("rowsChoice"));
            verify(!part("screenChoice").checked);
            compare(sent(), ["setData:100", "setData:200", "setData:7", "mouseSetVerticalScrollLines:7"]);
        }

        // Types into the line-count input and leaves it: by Enter, or by a press on the background.
        function typeCount(text, enter)
        {
            mouseClick(part("lineCount"));
            verify(part("lineCount").inputFocus);
            keyClick(Qt.Key_A, Qt.ControlModifier);
            keyClick(Qt.Key_Backspace);
            for (var i = 0; i < text.length; ++i)
                keyClick(text[i]);
            view.clearCalls();
            if (enter)
                keyClick(Qt.Key_Return);
            else
                mouseClick(page, 60, 290);
            verify(!part("lineCount").inputFocus);
        }

        function test_lineCountInput_data()
        {
            return [{tag: "zero", typed: "0", value: 1}, {tag: "empty", typed: "", value: 1},
                    {tag: "too many", typed: "500", value: 100}, {tag: "enter", typed: "42", value: 42, enter: true}];
        }

        function test_lineCountInput(d)
        {
            typeCount(d.typed, d.enter === true);
            compare(part("lineCount").text, String(d.value));
            compare(sent(), ["setData:100", "setData:200", "setData:" + d.value,
                             "mouseSetVerticalScrollLines:" + d.value]);
            compare(mainIten.focusCalls, 1);
        }

        function test_closeAndDrag()
        {
            compare(page.x, (mainIten.width - page.width) / 2);
            verify(mainIten.mainMask.visible);
            // Dragged by its background, the dialog stays inside the window.
            mousePress(mainIten, page.x + 60, page.y + 290);
            mouseMove(mainIten, 500, 400);
            mouseMove(mainIten, 1, 1);
            compare([page.x, page.y], [0, 0]);
            mouseMove(mainIten, 1023, 639);
            mouseRelease(mainIten, 1023, 639);
            compare([page.x, page.y], [mainIten.width - 416, mainIten.height - 312]);
            // Closed while a count is being typed: the count is still stored and applied.
            mouseClick(part("lineCount"));
            keyClick(Qt.Key_End);
            keyClick(Qt.Key_9);
            mouseClick(findChild(page, "closeButton"));
            verify(!page.visible && !mainIten.mainMask.visible);
            compare(stored()[2], 79);
            compare(view.callsOf("mouseSetVerticalScrollLines").pop(), [79]);
        }

        function test_storedValuesOutOfRange_data()
        {
            return [
                {tag: "beyond", mouse: "900", dbl: "-20", scroll: "150", want: [337, 3, 1000], idx: [10, 0]},
                {tag: "no number", mouse: "fast", dbl: undefined, scroll: "abc", want: [3, 3, 1], idx: [0, 0]},
                {tag: "zero lines", mouse: "36.4", dbl: "", scroll: "0", want: [36, 3, 1], idx: [1, 0]},
                {tag: "negative lines", mouse: "37", dbl: "337", scroll: "-4", want: [37, 337, 1], idx: [2, 10]},
            ];
        }

        function test_storedValuesOutOfRange(d)
        {
            view.profile = {"mouse/mouseRate": d.mouse, "mouse/doubleRate": d.dbl, "mouse/scrollRate": d.scroll};
            view.clearCalls();
            page.init(true, false);
            compare(stored(), d.want);
            compare(view.callsOf("mouseSetCursorSpeed"), [[d.idx[0]]]);
            compare(view.callsOf("mouseSetDoubleClickSpeed"), [[d.idx[1]]]);
            compare(view.callsOf("mouseSetVerticalScrollLines"), [[d.want[2]]]);
            compare(part("screenChoice").checked, d.want[2] === 1000);
            if (d.want[2] !== 1000)
                compare(part("lineCount").text, String(d.want[2]));
        }
    

        // The page says which desktop settings took the values, or that nothing here can apply them.
        function test_report_data()
        {
            var head = "Changed on this desktop:";
            return [
                {tag: "not applied yet", report: null, lines: []},
                {tag: "X pointers", report: {speed: ["xaccel"]}, lines: [head, "Pointer Speed: X pointer acceleration"]},
                {tag: "some", report: {speed: ["gsettings", "libinput"], doubleClick: ["gsettings"], wheel: []},
                 lines: [head, "Pointer Speed: desktop settings, X input devices (libinput)",
                         "Double-Click Speed: desktop settings", "Scroll Speed: not applied"]},
                {tag: "nothing", report: {speed: [], doubleClick: [], wheel: []},
                 lines: ["Nothing on this desktop can apply these settings; they are kept with the profile."]},
            ];
        }
        function test_report(d)
        {
            view.pointerReport = d.report;
            var report = part("pointerReport");
            compare(report.visible, d.lines.length > 0);
            compare(report.text, d.lines.join("\n"));
            verify(report.y + report.height <= page.height - 8, "the page grows to hold it");
            verify(report.x + report.width <= part("resetButton").x);
            view.pointerReport = null;
        }
    }
}
