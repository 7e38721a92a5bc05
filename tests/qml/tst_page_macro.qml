// The macro editor with real input: the macro list, recording, the step menu, the delay and repeat
// inputs, and what reaches the macro files, the name list, the assignment dialog and the main window.
import QtQuick
import QtTest
import "support"
import "../../modules/qml/Z9"
import "../../modules/qml/basic"

SceneStub {
    id: mainIten

    KeyCodeString {
        id: _KeyCodeString
    }

    // The assignment dialog as far as the editor uses it: its macro drop-down.
    Item {
        id: keyAssigmentMain
        property QtObject macroList: QtObject {
            property var handed: []
            property int closes: 0
            function addData(names, isInit)
            {
                handed.push({names: Array.prototype.slice.call(names), isInit: isInit});
            }
            function close()
            {
                closes += 1;
            }
        }
    }

    MacroEditor {
        id: macroEditorMain
        keyNames: _KeyCodeString.names
        onNamesHanded: function (names, isInit) { keyAssigmentMain.macroList.addData(names, isInit); }
        onMacroListClosing: keyAssigmentMain.macroList.close()
    }

    // The editor's signals land in the backend's call list, so their order with the calls shows.
    Connections {
        target: macroEditorMain
        function onDeleteMacro(macroName) { mainIten.ui_View.record("deleteMacro!", [macroName]); }
        function onModifyMacroName(oldMacroName, newMacroName)
        {
            mainIten.ui_View.record("modifyMacroName!", [oldMacroName, newMacroName]);
        }
        function onModifyMacroData(macroName) { mainIten.ui_View.record("modifyMacroData!", [macroName]); }
    }

    TestCase {
        name: "MacroEditorPage"
        when: windowShown

        property var page: macroEditorMain
        property var view: mainIten.ui_View
        property var dropDown: keyAssigmentMain.macroList
        readonly property var watched: ["createMacroIni", "saveMacroIni", "deleteMacroIni", "loadMacroFile",
            "saveMacroFile", "modifyMacroNameUpdateProfile", "updataNameList", "mouseSendMacroData",
            "deleteMacro!", "modifyMacroName!", "modifyMacroData!"]

        function part(name) { return findChild(page, name); }

        // What changed files, lists or the mouse, and the signals, in order: "fn name".
        function trail()
        {
            return view.calls.filter(function (c) { return watched.indexOf(c.fn) >= 0; })
                             .map(function (c) { return c.fn + " " + c.args[0]; });
        }

        function names()
        {
            var v = part("macroView");
            var out = [];
            for (var i = 0; i < v.count; ++i)
                out.push(v.model.get(i).name);
            return out;
        }

        function steps() { return part("stepView").model.count === 0 ? [] : stepTexts(); }
        function stepTexts()
        {
            var m = part("stepView").model;
            var out = [];
            for (var i = 0; i < m.count; ++i)
                out.push(m.get(i).type + "," + m.get(i).info);
            return out;
        }

        function file(name) { return view.macroFiles[name]; }

        function macroRow(i)
        {
            var v = part("macroView");
            v.positionViewAtIndex(i, ListView.Contain);
            return v.itemAtIndex(i);
        }
        function stepRow(i)
        {
            var v = part("stepView");
            v.positionViewAtIndex(i, ListView.Contain);
            return v.itemAtIndex(i);
        }

        function choose(menuName, entry)
        {
            var menu = part(menuName);
            verify(menu.visible, menuName + " open");
            mouseClick(menu, 40, 1 + entry * 24 + 12);
            verify(!menu.visible);
        }
        function stepMenu(row, entry)
        {
            mouseClick(stepRow(row), 100, 12, Qt.RightButton);
            choose("stepMenu", entry);
        }
        function macroMenu(row, entry)
        {
            mouseClick(macroRow(row), 60, 12, Qt.RightButton);
            choose("macroMenu", entry);
        }

        function load(files, list)
        {
            view.macroFiles = files;
            view.nameLists = {0: list};
            page.init();
            view.clearCalls();
            dropDown.handed = [];
        }

        function init()
        {
            view.profile = {"mouseMacroKey/3": "Macro_0", "mouseMacroKey/5": "Macro_2"};
            view.chooserAccepts = true;
            page.delayRecord.checked = false;
            load({"Macro_0": {steps: ["1,A", "0,50", "2,A"], repeat: "1"},
                  "Macro_2": {steps: ["1,B", "2,B"], repeat: "2"}}, ["Macro_0", "Macro_2"]);
            page.open();
            dropDown.closes = 0;
        }

        function cleanup()
        {
            page.stopRecord(false);
            page.closeInsertKey();
            page.close();
        }

        function full30()
        {
            var out = [];
            for (var i = 1; i <= 30; ++i)
                out.push("Macro_" + i);
            return out;
        }

        function test_initAndNew()
        {
            // A one-name list is stored with the dummy entry; it is one macro.
            load({"Solo": {steps: ["1,C", "2,C"], repeat: "4"}}, ["Solo", "loaderveltis"]);
            page.init();
            compare(names(), ["Solo"]);
            compare(dropDown.handed, [{names: ["Solo"], isInit: true}]);
            // The first macro is selected and shown, so what is highlighted is what records.
            verify(page.hasSelection);
            compare(steps(), ["1,C", "2,C"]);
            compare(page.countRecordInput.text, "4");

            load({"Macro_0": {steps: [], repeat: "1"}, "Macro_2": {steps: [], repeat: "1"}}, ["Macro_0", "Macro_2"]);
            mouseClick(part("newButton"));
            compare(names(), ["Macro_0", "Macro_2", "Macro_1"]);
            compare(page.selectedName, "Macro_1");
            compare(trail(), ["createMacroIni Macro_1", "updataNameList 0"]);
            compare(view.nameLists[0], ["Macro_0", "Macro_2", "Macro_1"]);
            compare(dropDown.handed, [{names: ["Macro_0", "Macro_2", "Macro_1"], isInit: false}]);
            compare(file("Macro_1"), {steps: [], repeat: "1"});

            // A long list scrolls, and a new macro is scrolled into view.
            load({}, full30());
            verify(!part("macroScroll").visible || part("macroView").contentY === 0);
            mouseClick(part("newButton"));
            compare(page.selectedName, "Macro_0");
            verify(part("macroScroll").visible);
            var v = part("macroView");
            verify(v.contentY > 0 && v.contentY + v.height >= 31 * 24, "the new row in view");

            // A hundred macros: neither New nor Import adds one.
            var full = [];
            for (var i = 0; i < 100; ++i)
                full.push("Macro_" + i);
            load({"Macro_0": {steps: [], repeat: "1"}}, full);
            mouseClick(part("newButton"));
            macroMenu(0, 1);
            compare(names().length, 100);
            compare(trail(), []);
        }

        function test_selectAndLoad()
        {
            view.macroFiles["Odd"] = {steps: ["1,A", "9,junk", "x", "0,30", "2,A"], repeat: "0"};
            view.macroFiles["Big"] = {steps: [], repeat: "12000"};
            view.nameLists = {0: ["Macro_0", "Macro_2", "Odd", "Big"]};
            page.init();
            mouseClick(macroRow(1));
            compare(page.selectedName, "Macro_2");
            compare(steps(), ["1,B", "2,B"]);
            compare(page.countRecordInput.text, "2");
            compare(stepRow(0).children[2].text, "B");
            // Unknown step types are not shown (nor written back); a count of 0 is shown as 1.
            mouseClick(macroRow(2));
            compare(steps(), ["1,A", "0,30", "2,A"]);
            compare(stepRow(1).children[2].text, "30 ms");
            compare(page.countRecordInput.text, "1");
            // Five digits: a stored count is never cut when shown.
            mouseClick(macroRow(3));
            compare(page.countRecordInput.text, "12000");
            compare(trail(), [], "selecting saves nothing");
        }

        function record(events, withDelay)
        {
            page.delayRecord.checked = withDelay;
            mouseClick(part("recordButton"));
            verify(page.isInputting && page.macroRecord.running);
            compare(steps(), [], "recording starts afresh");
            for (var i = 0; i < events.length; ++i) {
                var e = events[i];
                if (e.waitTicks)
                    tryVerify(function () { return page.macroRecordCount >= e.waitTicks; }, 5000);
                page.detectKeyboard(e.down, e.code);
            }
            compare(view.callsOf("saveMacroIni"), [], "nothing saved while recording");
            mouseClick(part("recordButton"));
            verify(!page.isInputting && !page.macroRecord.running);
        }

        function test_recording_data()
        {
            return [{tag: "with delay", delay: true}, {tag: "without delay", delay: false}];
        }

        function test_recording(d)
        {
            page.detectKeyboard(true, 0x05);
            compare(steps(), ["1,A", "0,50", "2,A"], "no key is taken before Start");
            record([{down: true, code: 0x04}, {down: false, code: 0x04, waitTicks: 20}], d.delay);
            var s = steps();
            if (d.delay) {
                compare(s.length, 3);
                compare([s[0], s[2]], ["1,A", "2,A"]);
                var ms = Number(s[1].substring(2));
                verify(s[1].charAt(0) === "0" && ms % 10 === 0 && ms >= 200 && ms < 5000, s[1]);
            } else {
                compare(s, ["1,A", "2,A"]);
            }
            compare(file("Macro_0").steps, s);
            compare(trail(), ["saveMacroIni Macro_0", "modifyMacroData! Macro_0"]);
            // Mouse buttons become mouse steps.
            view.clearCalls();
            record([{down: true, code: 0xf1}, {down: false, code: 0xf1}], false);
            compare(steps(), ["3,MS-R", "4,MS-R"]);
        }

        function filled(count)
        {
            var out = [];
            for (var i = 0; i < count; ++i)
                out.push(i % 2 ? "2,A" : "1,A");
            return out;
        }

        function test_payloadLimit()
        {
            // 61 actions make 126 bytes: further events are dropped, nothing more is inserted.
            mouseClick(part("recordButton"));
            for (var i = 0; i < 70; ++i)
                page.detectKeyboard(i % 2 === 0, 0x05);
            mouseClick(part("recordButton"));
            compare(steps().length, 61);
            verify(part("stepScroll").visible);
            compare(view.callsOf("saveMacroIni").length, 1);
            view.clearCalls();
            stepMenu(3, 1);
            stepMenu(3, 3);
            stepMenu(3, 2);
            verify(!page.isInsertting && !part("insertDialog").visible);
            compare(steps().length, 61);
            compare(view.callsOf("saveMacroIni"), []);
            // 60 actions (124 bytes) take one more pair; the payload is still cut to 128 bytes.
            load({"Full": {steps: filled(60), repeat: "1"}}, ["Full"]);
            stepMenu(59, 4);
            stepMenu(59, 4);
            compare(steps().length, 62);
            page.sendMacro(2, "Full");
            var sent = view.callsOf("mouseSendMacroData");
            compare(sent.length, 1);
            compare(sent[0][1], 2);
            verify(sent[0][0].length <= 128);

            view.clearCalls();
            view.macroFiles["Macro_0"] = {steps: ["0,20", "1,A", "0,50", "2,A", "0,10"], repeat: "0"};
            page.sendMacro(3, "Macro_0");
            // Leading and trailing delays dropped; a stored count of 0 goes out as shown, 1.
            compare(view.callsOf("mouseSendMacroData"), [[[0, 1, 5, 4, 0x81, 4, 0, 0], 3]]);
        }

        function test_stepMenu()
        {
            // Delete; every insert after the selected step, what it added selected.
            stepMenu(1, 0);
            compare(steps(), ["1,A", "2,A"]);
            compare(trail(), ["saveMacroIni Macro_0", "modifyMacroData! Macro_0"]);
            stepMenu(0, 1);
            compare(steps(), ["1,A", "0,50", "2,A"]);
            compare(page.selectedStep, 1);
            stepMenu(0, 3);
            compare(steps(), ["1,A", "3,MS-L", "4,MS-L", "0,50", "2,A"]);
            compare(page.selectedStep, 2);
            stepMenu(4, 4);
            stepMenu(0, 5);
            compare(steps(), ["1,A", "3,MS-R", "4,MS-R", "3,MS-L", "4,MS-L", "0,50", "2,A", "3,MS-M", "4,MS-M"]);
            compare(file("Macro_0").steps, steps());
            compare(view.callsOf("saveMacroIni").length, 5);
            compare(view.callsOf("saveMacroIni").pop(), ["Macro_0", steps(), 1]);
        }

        function test_insertKey()
        {
            stepMenu(1, 2);
            verify(page.isInsertting && part("insertDialog").visible && part("insertMask").visible);
            // The last key pressed below the mouse buttons is the one shown.
            page.detectInput(true, 0x05);
            page.detectInput(false, 0x06);
            page.detectInput(true, 0xf0);
            compare(page.insertKeyName, "B");
            compare(part("insertKeyField").children[0].text, "B");
            // The mask keeps the editor from taking clicks meanwhile.
            mouseClick(part("newButton"));
            compare(names(), ["Macro_0", "Macro_2"]);
            mouseClick(part("insertKeyOk"));
            verify(!page.isInsertting && !part("insertDialog").visible && !part("insertMask").visible);
            // After the selected step, the release selected; at the end when the last one is.
            compare(steps(), ["1,A", "0,50", "1,B", "2,B", "2,A"]);
            compare(page.selectedStep, 3);
            compare(trail(), ["saveMacroIni Macro_0", "modifyMacroData! Macro_0"]);
            stepMenu(4, 2);
            page.detectInput(true, 0x2c);
            mouseClick(part("insertKeyOk"));
            compare(steps(), ["1,A", "0,50", "1,B", "2,B", "2,A", "1,Space", "2,Space"]);

            // Closed, or confirmed without a key: nothing added.
            stepMenu(0, 2);
            mouseClick(findChild(part("insertDialog"), "closeButton"));
            verify(!page.isInsertting);
            stepMenu(0, 2);
            mouseClick(part("insertKeyOk"));
            compare(steps().length, 7);

            // An empty macro: a right click below the steps adds at the end.
            mouseClick(part("newButton"));
            mouseClick(part("stepListEnd"), 50, 50, Qt.RightButton);
            choose("stepMenu", 1);
            compare(steps(), ["0,50"]);
        }

        function test_delayEdit()
        {
            mouseDoubleClickSequence(stepRow(0), 100, 12);
            verify(!part("delayInput").visible, "only a delay is edited");
            mouseDoubleClickSequence(stepRow(1), 100, 12);
            verify(part("delayInput").visible && part("delayInput").inputFocus);
            keyClick(Qt.Key_2);
            keyClick(Qt.Key_5);
            keyClick(Qt.Key_0);
            keyClick(Qt.Key_Return);
            verify(!part("delayInput").visible);
            compare(steps(), ["1,A", "0,250", "2,A"]);
            compare(trail(), ["saveMacroIni Macro_0", "modifyMacroData! Macro_0"]);
            // Beyond 65535 or empty: the old value stays and nothing is saved.
            view.clearCalls();
            for (var i = 0; i < 2; ++i) {
                mouseDoubleClickSequence(stepRow(1), 100, 12);
                keyClick(Qt.Key_Backspace);
                if (i === 0)
                    "70000".split("").forEach(function (c) { keyClick(c); });
                keyClick(Qt.Key_Return);
            }
            compare(steps(), ["1,A", "0,250", "2,A"]);
            // Leaving the editor (a press on the background) commits the edit.
            mouseDoubleClickSequence(stepRow(1), 100, 12);
            keyClick(Qt.Key_Backspace);
            keyClick(Qt.Key_0);
            mousePress(page, 300, 20);
            mouseRelease(page, 300, 20);
            compare(steps(), ["1,A", "0,0", "2,A"]);
            compare(trail(), ["saveMacroIni Macro_0", "modifyMacroData! Macro_0"]);
        }

        function test_repeatCount_data()
        {
            return [{tag: "empty", typed: "", shown: "1"}, {tag: "zero", typed: "0", shown: "1"},
                    {tag: "count", typed: "12", shown: "12"}, {tag: "too many", typed: "99999", shown: "65535"},
                    {tag: "unchanged", typed: "2", shown: "2", unchanged: true}];
        }

        function test_repeatCount(d)
        {
            mouseClick(macroRow(1));
            compare(page.countRecordInput.text, "2");
            var input = part("countRecordInput");
            mouseClick(input);
            verify(input.inputFocus);
            keyClick(Qt.Key_A, Qt.ControlModifier);
            keyClick(Qt.Key_Backspace);
            for (var i = 0; i < d.typed.length; ++i)
                keyClick(d.typed[i]);
            keyClick(Qt.Key_Return);
            compare(input.text, d.shown);
            if (d.unchanged) {
                compare(trail(), []);
                return;
            }
            compare(trail(), ["saveMacroIni Macro_2", "modifyMacroData! Macro_2"]);
            compare(view.callsOf("saveMacroIni")[0][2], Number(d.shown));
            compare(file("Macro_2").repeat, d.shown);
        }

        function test_importExport()
        {
            view.importedMacro = {steps: ["1,Z", "2,Z"], repeat: "5"};
            mouseClick(macroRow(1));
            macroMenu(1, 1);
            // At the selected place, selected, its steps shown.
            compare(names(), ["Macro_0", "Macro_1", "Macro_2"]);
            compare(page.selectedName, "Macro_1");
            compare(steps(), ["1,Z", "2,Z"]);
            compare(page.countRecordInput.text, "5");
            compare(trail(), ["loadMacroFile Macro_1", "updataNameList 0"]);
            compare(dropDown.handed.pop(), {names: ["Macro_0", "Macro_1", "Macro_2"], isInit: false});
            // The file dialog cancelled: an empty macro instead.
            view.clearCalls();
            view.chooserAccepts = false;
            macroMenu(0, 1);
            compare(names(), ["Macro_3", "Macro_0", "Macro_1", "Macro_2"]);
            compare(trail(), ["loadMacroFile Macro_3", "createMacroIni Macro_3", "updataNameList 0"]);
            view.clearCalls();
            macroMenu(3, 2);
            compare(trail(), ["saveMacroFile Macro_2"]);
            // A chosen file the store refuses adds nothing, and the selection stays.
            view.clearCalls();
            view.chooserAccepts = true;
            view.importRefused = true;
            macroMenu(3, 1);
            compare(names(), ["Macro_3", "Macro_0", "Macro_1", "Macro_2"]);
            compare(trail(), ["loadMacroFile Macro_4"]);
            compare(page.selectedName, "Macro_2");
            view.importRefused = false;
            // The same by the buttons beside New and Delete.
            view.clearCalls();
            view.chooserAccepts = true;
            mouseClick(part("importButton"));
            mouseClick(part("exportButton"));
            compare(trail(), ["loadMacroFile Macro_4", "updataNameList 0", "saveMacroFile Macro_4"]);
        }

        // Delete asks, naming the macro; 0 deletes, 1 cancels.
        function confirmDelete(answer)
        {
            verify(part("deleteAskFrame").visible, "asked before deleting");
            mouseClick(part("deleteAskAnswer" + (answer === undefined ? 0 : answer)));
            verify(!part("deleteAskFrame").visible);
        }

        function test_delete()
        {
            mouseClick(part("deleteButton"));
            compare(findChild(part("deleteAskFrame"), "message").text,
                    "Delete macro “Macro_0”? Buttons that run it get their default function back.");
            confirmDelete(1);
            mouseClick(part("deleteButton"));
            keyClick(Qt.Key_Escape);
            verify(!part("deleteAskFrame").visible);
            compare(names(), ["Macro_0", "Macro_2"]);
            compare(trail(), []);
            mouseClick(part("deleteButton"));
            confirmDelete();
            compare(names(), ["Macro_2"]);
            compare(page.selectedName, "Macro_2");
            compare(steps(), ["1,B", "2,B"]);
            compare(trail(), ["deleteMacroIni Macro_0", "deleteMacro! Macro_0", "updataNameList 0"]);
            compare(file("Macro_0"), undefined);
            compare(view.nameLists[0], ["Macro_2", "loaderveltis"]);

            // While recording, with a count being typed: neither is saved, for it or the next one.
            view.clearCalls();
            mouseClick(part("newButton"));
            mouseClick(part("recordButton"));
            page.detectKeyboard(true, 0x04);
            view.clearCalls();
            macroMenu(1, 0);
            confirmDelete();
            verify(!page.isInputting && !page.macroRecord.running);
            compare(trail(), ["deleteMacroIni Macro_0", "deleteMacro! Macro_0", "updataNameList 0"]);

            // The last one: nothing selected, nothing left to save or send.
            mouseClick(part("countRecordInput"));
            keyClick(Qt.Key_7);
            view.clearCalls();
            mouseClick(part("deleteButton"));
            confirmDelete();
            compare(names(), []);
            verify(!page.hasSelection && page.selectedMacro === -1);
            compare(steps(), []);
            compare(trail(), ["deleteMacroIni Macro_2", "deleteMacro! Macro_2", "updataNameList 0"]);
            compare(view.nameLists[0], undefined);
            view.clearCalls();
            mouseClick(part("deleteButton"));
            mouseClick(part("recordButton"));
            verify(!page.isInputting);
            page.detectKeyboard(true, 0x04);
            page.macroEditorFocus();
            compare(trail(), []);
            compare(steps(), []);
        }

        function rename(row, text)
        {
            mouseDoubleClickSequence(macroRow(row), 60, 12);
            verify(part("renameInput").visible && part("renameInput").inputFocus);
            keyClick(Qt.Key_Backspace);
            for (var i = 0; i < text.length; ++i)
                keyClick(text[i]);
            keyClick(Qt.Key_Return);
            verify(!part("renameInput").visible);
        }

        function test_rename()
        {
            mouseDoubleClickSequence(macroRow(0), 60, 12);
            "boss".split("").forEach(function (c) { keyClick(c); });
            keyClick(Qt.Key_Return);
            compare(names(), ["boss", "Macro_2"]);
            // The store renames first; the list, the name file, the dialog and the buttons follow.
            compare(trail(), ["modifyMacroNameUpdateProfile Macro_0", "updataNameList 0", "modifyMacroName! Macro_0"]);
            compare(view.callsOf("modifyMacroName!"), [["Macro_0", "boss"]]);
            compare(dropDown.handed, [{names: ["boss", "Macro_2"], isInit: false}]);
            compare(view.profile["mouseMacroKey/3"], "boss");
            compare(file("boss").steps, ["1,A", "0,50", "2,A"]);
            // Edits go on under the new name.
            view.clearCalls();
            stepMenu(1, 0);
            compare(trail(), ["saveMacroIni boss", "modifyMacroData! boss"]);
            compare(file("boss").steps, ["1,A", "2,A"]);
            // Escape keeps the name.
            mouseDoubleClickSequence(macroRow(1), 60, 12);
            keyClick(Qt.Key_X);
            keyClick(Qt.Key_Escape);
            compare(names(), ["boss", "Macro_2"]);
        }

        function test_renameRefused_data()
        {
            return [{tag: "in the list", name: "Macro_2"}, {tag: "path", name: "../setting/x"},
                    {tag: "dummy entry", name: "loaderveltis"}, {tag: "empty", name: ""},
                    {tag: "file exists", name: "Stray", storeAsked: true}];
        }

        function test_renameRefused(d)
        {
            // A macro file that the list does not name: the store refuses to rename onto it.
            view.macroFiles["Stray"] = {steps: ["1,Q", "2,Q"], repeat: "1"};
            var before = JSON.stringify(view.macroFiles);
            rename(0, d.name);
            compare(names(), ["Macro_0", "Macro_2"]);
            compare(JSON.stringify(view.macroFiles), before);
            compare(view.profile["mouseMacroKey/3"], "Macro_0");
            compare(trail(), d.storeAsked ? ["modifyMacroNameUpdateProfile Macro_0"] : []);
            compare(dropDown.handed, []);
        }

        function test_unusableNames()
        {
            load({"Macro_0": {steps: ["1,A", "2,A"], repeat: "1"}},
                 ["../x", "Macro_0", "a\\b", "Macro_0", "", "c\u007fd"]);
            // Shown once each, never handed to the store as a file name.
            compare(names(), ["../x", "Macro_0", "a\\b", "c\u007fd"]);
            mouseClick(macroRow(2));
            compare(steps(), []);
            verify(page.hasSelection && !part("recordButton").enabled);
            mouseClick(part("recordButton"));
            verify(!page.isInputting);
            mouseDoubleClickSequence(macroRow(2), 60, 12);
            verify(!part("renameInput").visible);
            mouseClick(macroRow(2), 60, 12, Qt.RightButton);
            verify(!part("stepMenu").visible);
            choose("macroMenu", 2);
            page.sendMacro(0, "../x");
            macroMenu(0, 0);
            confirmDelete();
            compare(names(), ["Macro_0", "a\\b", "c\u007fd"]);
            var used = view.calls.filter(function (c) {
                return ["loadMacroIni", "saveMacroIni", "createMacroIni", "deleteMacroIni", "saveMacroFile",
                        "mouseSendMacroData", "modifyMacroNameUpdateProfile"].indexOf(c.fn) >= 0;
            }).map(function (c) { return c.args[0]; });
            compare(used, ["Macro_0"], "only the usable name is loaded, once selected after the delete");
            // The list keeps what it shows; the buttons that named the removed entry go back.
            compare(view.nameLists[0], ["Macro_0", "a\\b", "c\u007fd"]);
            compare(view.callsOf("deleteMacro!"), [["../x"]]);
        }

        function test_close()
        {
            compare([page.x, page.y], [(mainIten.width - 640) / 2, (mainIten.height - 448) / 2]);
            verify(mainIten.mainMask.visible);
            // Closed while recording: the recording is saved and the dialog's list closed.
            mouseClick(part("recordButton"));
            page.detectKeyboard(true, 0x06);
            page.detectKeyboard(false, 0x06);
            mouseClick(findChild(page, "closeButton"));
            verify(!page.visible && !mainIten.mainMask.visible && !page.isInputting);
            compare(file("Macro_0").steps, ["1,C", "2,C"]);
            compare(trail(), ["saveMacroIni Macro_0", "modifyMacroData! Macro_0"]);
            verify(dropDown.closes >= 1);
        }
    }
}
