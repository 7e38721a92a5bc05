// The button list and the mouse picture: loading, what is stored and sent, the last left button,
// real hover and clicks on rows and tags, the reactions to macro deletes, renames and edits.
import QtQuick
import QtTest
import "support"
import "../../modules/qml/Z9"
import "../../modules/qml/basic"
import "../../modules/qml/js/KeyList.js" as KeyList
import "../../modules/qml/js/MouseArt.js" as MouseArt

SceneStub {
    id: mainIten

    // The main window's wiring of both components, as the lead wires it.
    property bool dialogOpen: false
    property var opened: []
    property int backgroundPresses: 0
    function enter(i) { mouseMain.selectKey = i; }
    function leave(i) { if (!dialogOpen) mouseMain.selectKey = -1; }
    function click(i) { if (!keyMatrixMain.modKeys.checkOneLeftKey()) opened.push(i); }

    MouseArea { anchors.fill: parent; onPressed: mainIten.backgroundPresses += 1 }
    KeyCodeString { id: _KeyCodeString }
    QtObject { id: keyAssigmentMain; property var keyAssigmentLang: [] }
    QtObject {
        id: macroEditorMain
        property var sent: []
        function sendMacro(slot, name) { sent.push([slot, name]); }
    }
    Item {
        id: gunControlMain
        property var selectGun1: 1
        property var selectGun2: 5
        property var selectGun3: 0
        function selectedPeriods() { return KeyList.gunPeriods(gunNumberModel, [selectGun1, selectGun2, selectGun3]); }
        property var gunNumberModel: ListModel {
            ListElement { gunPeriod: "9" } ListElement { gunPeriod: "12" } ListElement { gunPeriod: "15" }
            ListElement { gunPeriod: "abc" } ListElement { gunPeriod: "300" } ListElement { gunPeriod: "20" }
        }
    }
    KeyMatrix {
        id: keyMatrixMain
        x: 24
        y: 88
        keyCount: mouseMain.keyCount
        selectKey: mouseMain.selectKey
        dialogLang: keyAssigmentMain.keyAssigmentLang
        keyNames: _KeyCodeString.names
        guns: gunControlMain
        onResendMacro: function (slot, name) { macroEditorMain.sendMacro(slot, name); }
    }
    Mouse { id: mouseMain; anchors.fill: parent }
    Connections { target: keyMatrixMain; function onEnterBtn(i) { mainIten.enter(i); } function onLeaveBtn(i) { mainIten.leave(i); } function onClickBtn(i) { mainIten.click(i); } }
    Connections { target: mouseMain; function onEnterBtn(i) { mainIten.enter(i); } function onLeaveBtn(i) { mainIten.leave(i); } function onClickBtn(i) { mainIten.click(i); } }

    SignalSpy { id: rowEnter; target: keyMatrixMain; signalName: "enterBtn" }
    SignalSpy { id: rowClick; target: keyMatrixMain; signalName: "clickBtn" }
    SignalSpy { id: tagEnter; target: mouseMain; signalName: "enterBtn" }
    SignalSpy { id: tagLeave; target: mouseMain; signalName: "leaveBtn" }
    SignalSpy { id: tagClick; target: mouseMain; signalName: "clickBtn" }

    TestCase {
        name: "KeyPages"
        when: windowShown

        property var page: keyMatrixMain
        readonly property var leftKey: ["0", "0", "240", "0"]

        function load(profile, defaults, send)
        {
            ui_View.profile = profile;
            ui_View.defaults = defaults || {};
            page.isSave = true;
            ui_View.clearCalls();
            page.init(send === true, false);
            compare(ui_View.callsOf("mouseSetKeyMatrix").length, send === true ? 1 : 0);
            ui_View.clearCalls();
            mouseMain.selectKey = -1;
            mainIten.dialogOpen = false;
            mainIten.opened = [];
        }
        function texts() { var t = []; for (var j = 0; j < 16; ++j) t.push(page.modKeys.get(j).keyText); return t; }
        function codes(model, j) { var e = model.get(j); return [e.keyCode0, e.keyCode1, e.keyCode2, e.keyCode3]; }
        function row(i) { return findChild(page, "keyRow" + i); }
        function tag(i) { return findChild(mouseMain, "mouseTag" + i); }
        function lastArgs(spy) { verify(spy.count > 0, spy.signalName + " of " + spy.target); return Array.prototype.slice.call(spy.signalArguments[spy.count - 1]); }
        // The pointer comes onto a row or tag, then clicks it, as a hand does.
        function pointAndClick(item, i)
        {
            mouseMove(item, item.width / 2 - 2, item.height / 2);
            mouseMove(item, item.width / 2, item.height / 2);
            tryCompare(mouseMain, "selectKey", i);
            mouseClick(item, item.width / 2, item.height / 2);
        }
        function sent() { var c = ui_View.callsOf("mouseSetKeyMatrix"); return c.length ? c[c.length - 1] : null; }

        function test_rules()
        {
            compare([KeyList.byteOf("240"), KeyList.byteOf(7), KeyList.byteOf(" 12 ")], [240, 7, 12]);
            for (var bad of ["", "x", "1.5", "-1", "256", 256, 1.5, null, undefined, true, "0x10"])
                verify(isNaN(KeyList.byteOf(bad)), String(bad));
            compare(KeyList.readDefinition({keyCode0: 4, keyCode1: "1", keyCode2: 3, keyCode3: 0}), [4, 1, 3, 0]);
            compare(KeyList.readDefinition("4000"), null);
            compare([0, -2, 3.5, NaN, 4, 8, 9].map(KeyList.shownKeyCount), [8, 8, 8, 8, 4, 8, 8]);
            compare(KeyList.gunPeriods([{gunPeriod: 30}], [0, "0", false]), [30, 30, 10]);
        }

        function test_loadingEveryKind()
        {
            load({"mouseKeyMatrix/0": leftKey, "mouseKeyMatrix/1": ["1", "20", "10", "0"],
                  "mouseKeyMatrix/2": ["2", "3", "4", "5"], "mouseKeyMatrix/3": ["3", "0", "205", "0"],
                  "mouseKeyMatrix/4": ["4", "1", "4", "0"], "mouseMacroKey/4": "Hop",
                  "mouseKeyMatrix/5": ["5", "0", "4", "0"], "mouseKeyMatrix/6": ["6", "0", "227", "7"],
                  "mouseKeyMatrix/7": ["7", "0", "224", "29"], "mouseKeyMatrix/8": ["8", "0", "3", "0"],
                  "mouseKeyMatrix/9": ["255", "0", "1", "0"], "mouseKeyMatrix/10": ["0", "240", "30", "2"],
                  // Unreadable: never shown, stored or sent as they are.
                  "mouseKeyMatrix/11": ["1", "2"], "mouseKeyMatrix/12": ["x", "0", "0", "0"],
                  "mouseKeyMatrix/13": ["1", "300", "0", "0"], "mouseKeyMatrix/14": ["-1", "0", "0", "0"],
                  "mouseKeyMatrix/15": "4"},
                 {"mouseKeyMatrix/11": ["5", "0", "1", "0"], "mouseKeyMatrix/13": ["4", "0", "13", "0"],
                  "mouseMacroKey/13": "Dflt", "mouseKeyMatrix/14": ["", "0", "0", "0"]}, true);
            compare(texts(), ["Left Key", "Q", "LCtrl+LShift+A+B", "Play/Pause", "Hop", "Sniper Key", "Desktop",
                              "Undo", "Gun 3", "", "Double Fire", "DPI+", "Double Fire", "Dflt", "", ""]);
            compare(codes(page.modKeys_tmp, 11), [5, 0, 1, 0]);
            compare(codes(page.modKeys_tmp, 14), [255, 0, 1, 0], "unreadable default: the built-in one");
            compare(findChild(page, "keyRowText4").text, "Hop");
            compare(findChild(page, "keyRowLabel7").text, "Key 8");
            verify(!page.isSave);

            // Saving sends exactly what is shown, with the selected presets' periods.
            page.modKeys.saveData();
            compare(sent(), [[0, 0, 240, 0, 1, 20, 10, 0, 2, 3, 4, 5, 3, 0, 205, 0, 4, 1, 4, 0, 5, 0, 4, 0,
                              6, 0, 227, 7, 7, 0, 224, 29, 8, 0, 3, 0, 255, 0, 1, 0, 0, 240, 30, 2, 5, 0, 1, 0,
                              0, 0, 0, 0, 4, 0, 13, 0, 255, 0, 1, 0, 255, 0, 2, 0], true, [12, 20, 9]]);
            compare(ui_View.profile["mouseKeyMatrix/11"], [5, 0, 1, 0]);
            page.modKeys.setProperty(2, "keyCode1", 999);
            gunControlMain.selectGun1 = 3;
            gunControlMain.selectGun2 = 4;
            gunControlMain.selectGun3 = 7;
            page.modKeys.saveData();
            compare(sent()[0].slice(8, 12), [0, 0, 242, 0], "a broken edit sends the default");
            compare(sent()[2], [10, 10, 10]);
            gunControlMain.gunNumberModel = null;
            gunControlMain.selectGun1 = 1;
            page.modKeys.saveData();
            compare(sent()[2], [10, 10, 10]);

            // The languages' texts.
            page.keyMatrixLang = ["按键 ", "按键功能", "", "", ""];
            keyAssigmentMain.keyAssigmentLang = ["", "", "左键"];
            page.init(false, false);
            compare([findChild(page, "keyRowLabel0").text, texts()[0]], ["按键 1", "左键"]);
            page.keyMatrixLang = ["Key ", "Key Function", "", "", ""];
            keyAssigmentMain.keyAssigmentLang = [];
        }

        function test_lastLeftButton_data() { return [{tag: "first 0", first: 0, other: 3}, {tag: "first 3", first: 3, other: 0}]; }
        function test_lastLeftButton(d)
        {
            load({"mouseKeyMatrix/0": leftKey, "mouseKeyMatrix/3": leftKey});
            pointAndClick(row(d.first), d.first);
            compare(mainIten.opened, [d.first], "either may go while both are left");
            page.modKeys.set(d.first, {keyCode0: 0, keyCode1: 0, keyCode2: 0xf1, keyCode3: 0, keyText: "Right Key"});
            pointAndClick(row(d.other), d.other);
            // Straight from the row onto the tag: the row's exit comes after the tag's entry.
            mouseMove(tag(d.other), 10, 10);
            mouseClick(tag(d.other), 10, 10);
            compare(mainIten.opened, [d.first], "the last one stays, from the list and the picture");
            pointAndClick(tag(d.first), d.first);
            compare(mainIten.opened, [d.first, d.first]);
        }

        function test_hoverAndClick()
        {
            load({});
            mouseMove(row(2), 20, 15);
            tryCompare(mouseMain, "selectKey", 2);
            compare(lastArgs(rowEnter), [2]);
            compare(String(row(2).color), String(mainIten.colorOrange));
            verify(findChild(mouseMain, "mouseZone2").lit);
            mouseMove(row(4), 20, 15);
            tryCompare(mouseMain, "selectKey", 4);
            mouseMove(mainIten, 300, 600);
            tryCompare(mouseMain, "selectKey", -1);
            mouseClick(row(1), 20, 15);
            compare([lastArgs(rowClick), mouseMain.selectKey], [[1], 1], "a click is for the row under the pointer");

            mouseMove(tag(5), 10, 10);
            tryCompare(mouseMain, "selectKey", 5);
            compare(String(row(5).color), String(mainIten.colorOrange), "the list follows the picture");
            mouseClick(tag(5), 10, 10);
            compare(lastArgs(tagClick), [5]);
            var dpiDown = findChild(mouseMain, "mouseZone6");
            mouseMove(dpiDown, dpiDown.anchorPoint.x, dpiDown.anchorPoint.y);
            tryCompare(mouseMain, "selectKey", 6);
            compare(lastArgs(tagEnter), [6]);
            mainIten.dialogOpen = true;
            var leaves = tagLeave.count;
            mouseMove(mainIten, 300, 600);
            tryCompare(tagLeave, "count", leaves + 1);
            compare(mouseMain.selectKey, 6, "kept while the dialog is open");
            compare(mainIten.opened, [1, 5]);

            // Outside its tags and buttons the picture lets the pointer through.
            var presses = mainIten.backgroundPresses;
            mouseClick(mainIten, 300, 600);
            mouseClick(findChild(mouseMain, "mousePicture"), 150, 380);
            compare(mainIten.backgroundPresses, presses + 2);

            // A button takes the pointer only inside its shape, not in the corner of its bounds.
            mouseMain.selectKey = -1;
            mouseMove(findChild(mouseMain, "mouseZone0"), 1, 1);
            wait(20);
            compare(mouseMain.selectKey, -1);
            var left = findChild(mouseMain, "mouseZone0");
            mouseMove(left, left.anchorPoint.x, left.anchorPoint.y);
            tryCompare(mouseMain, "selectKey", 0);
            mouseMove(mainIten, 300, 600);

            mouseMain.keyCount = 4;
            verify(tag(3) && !tag(4) && row(3).visible && !row(4).visible);
            mouseMain.keyCount = 0;
            verify(tag(7) && row(7).visible);
            mouseMain.keyCount = 8;
        }

        // Each key count draws its buttons; every tag's line ends on its own button and the tags of a
        // column keep apart.
        function test_pictureLayout_data()
        {
            return [1, 2, 3, 5, 6, 8].map(function (n) { return {tag: n + " buttons", count: n}; });
        }
        function test_pictureLayout(d)
        {
            mouseMain.keyCount = d.count;
            compare(mouseMain.parts.length, d.count);
            compare(mouseMain.zones.length, d.count);
            var columns = {left: [], right: []};
            for (var i = 0; i < d.count; ++i) {
                var part = mouseMain.parts[i];
                var zone = findChild(mouseMain, "mouseZone" + i);
                var line = MouseArt.leader(part);
                var end = line[line.length - 1];
                verify(MouseArt.inside(zone.polygon, end[0], end[1]), "line " + (i + 1) + " ends on its button");
                for (var j = 0; j < d.count; ++j) {
                    if (j !== i)
                        verify(!MouseArt.inside(MouseArt.flatten(mouseMain.parts[j].shape), end[0], end[1]),
                               "line " + (i + 1) + " ends on no other button");
                }
                var t = tag(i);
                compare(line[0][1], t.y + t.height / 2);
                columns[part.side].forEach(function (y) { verify(Math.abs(y - t.y) >= t.height + 4, "tags apart"); });
                columns[part.side].push(t.y);
                verify(t.x >= 0 && t.x + t.width <= MouseArt.PICTURE_WIDTH);
            }
            mouseMain.keyCount = 8;
        }

        function test_macroReactions()
        {
            ui_View.macroFiles = {"Hop": {steps: [], repeat: "1"}, "Skip": {steps: [], repeat: "1"},
                                  "Taken": {steps: [], repeat: "1"}};
            load({"mouseKeyMatrix/2": ["4", "0", "2", "0"], "mouseMacroKey/2": "Hop",
                  "mouseKeyMatrix/5": ["4", "1", "5", "0"], "mouseMacroKey/5": "Hop",
                  "mouseKeyMatrix/6": ["4", "0", "6", "0"], "mouseMacroKey/6": "Skip", "mouseMacroKey/9": "Hop"},
                 {"mouseKeyMatrix/2": ["0", "0", "242", "0"]});
            macroEditorMain.sent = [];
            page.macroChanged("Hop");
            page.macroChanged("Nobody");
            compare(macroEditorMain.sent, [[2, "Hop"], [5, "Hop"]]);

            verify(!page.macroRenamed("Hop", "Taken"), "the store refuses a name in use");
            compare([ui_View.profile["mouseMacroKey/2"], texts()[2], texts()[5]], ["Hop", "Hop", "Hop"]);
            compare(ui_View.callsOf("setData").length, 0);
            verify(!page.macroRenamed("Gone", "Jump"));
            verify(page.macroRenamed("Hop", "Jump"));
            compare([ui_View.profile["mouseMacroKey/5"], texts()[2], texts()[5], texts()[6]], ["Jump", "Jump", "Jump", "Skip"]);
            compare(ui_View.callsOf("setData"), [["mouseMacroKey/2", "Jump"], ["mouseMacroKey/5", "Jump"]]);
            // The macro page had the store rename it: the buttons follow, the store is not asked again.
            ui_View.modifyMacroNameUpdateProfile("Skip", "Leap");
            verify(page.macroRenamed("Skip", "Leap"));
            compare([ui_View.profile["mouseMacroKey/6"], texts()[6]], ["Leap", "Leap"]);
            compare(ui_View.callsOf("modifyMacroNameUpdateProfile").length, 3);

            ui_View.clearCalls();
            page.macroDeleted("Jump");
            compare([texts()[2], texts()[5], texts()[6]], ["Middle Key", "DPI+", "Leap"]);
            compare(sent()[0].slice(8, 28), [0, 0, 242, 0, 0, 0, 0xf4, 0, 0, 0, 0xf3, 0, 5, 0, 1, 0, 4, 0, 6, 0]);
            compare(ui_View.calls[ui_View.calls.length - 1], {fn: "deleteMacroUpdateProfile", args: ["Jump"]});
            ui_View.clearCalls();
            page.macroDeleted("Nobody");
            page.macroDeleted("");
            compare(ui_View.callsOf("mouseSetKeyMatrix").length, 0);
            compare(ui_View.callsOf("deleteMacroUpdateProfile"), [["Nobody"]]);
        }
    }
}
