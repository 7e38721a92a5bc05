// The button assignment dialog with real input: the definition each kind of function produces, key
// capture, what closing and reset hand to the key list, and the macro name guard.
import QtQuick
import QtTest
import "support"
import "../../modules/qml/Z9"
import "../../modules/qml/basic"
import "../../modules/qml/js/KeyAssign.js" as KeyAssign

SceneStub {
    id: mainIten

    KeyCodeString {
        id: _KeyCodeString
    }
    // Stand-ins for the key list, the mouse picture and the macro editor.
    QtObject {
        id: keyMatrixMain
        property bool isSave: false
        property ListModel modKeys: ListModel {}
        property ListModel modKeys_tmp: ListModel {}
    }
    QtObject {
        id: mouseMain
        property int selectKey: -1
    }
    QtObject {
        id: macroEditorMain
        property var sent: []
        property int opened: 0
        function sendMacro(slot, name) { sent.push([slot, name]); }
        function open() { opened += 1; }
    }
    KeyAssigment {
        id: keyAssigmentMain
        buttons: keyMatrixMain.modKeys
        defaults: keyMatrixMain.modKeys_tmp
        keyNames: _KeyCodeString.names
        onEdited: keyMatrixMain.isSave = true
        onMacroAssigned: function (slot, macroName) { macroEditorMain.sendMacro(slot, macroName); }
        onDone: mouseMain.selectKey = -1
        onMacroEditorWanted: macroEditorMain.open()
    }

    TestCase {
        name: "KeyAssigmentPage"
        when: windowShown

        property var page: keyAssigmentMain
        property var view: mainIten.ui_View

        function part(name) { return findChild(page, name); }
        function held() { return page.codes(); }
        function stored(i) { return KeyAssign.codesOf(keyMatrixMain.modKeys.get(i)); }

        function element(c)
        {
            return {keyCode0: c[0], keyCode1: c[1], keyCode2: c[2], keyCode3: c[3],
                    keyText: page.keyCodeToString(c[0], c[1], c[2], c[3])};
        }

        function init()
        {
            keyMatrixMain.modKeys.clear();
            keyMatrixMain.modKeys_tmp.clear();
            for (var i = 0; i < 16; ++i) {
                keyMatrixMain.modKeys.append(element(KeyAssign.DEFAULT_KEY_MATRIX[i]));
                keyMatrixMain.modKeys_tmp.append(element(KeyAssign.DEFAULT_KEY_MATRIX[i]));
            }
            keyMatrixMain.isSave = false;
            macroEditorMain.sent = [];
            macroEditorMain.opened = 0;
            view.profile = {};
            page.macroList.addData(["Hop", "../setting/apConfig", "Skip", ""], true);
            page.show(2);
            mouseMain.selectKey = 2;
            view.clearCalls();
        }

        function cleanup()
        {
            if (page.visible)
                page.close();
        }

        function closeDialog() { mouseClick(part("closeButton")); }

        function pickRow(drop, row)
        {
            mouseClick(drop);
            verify(drop.isOpen);
            mouseClick(drop, 20, drop.height * (row + 1.5));
        }

        function test_opening()
        {
            verify(page.visible && mainIten.mainMask.visible);
            compare(page.title, "Key 3: Middle Key");
            verify(part("mouse1").checked);
            page.close();
            keyMatrixMain.modKeys.set(4, element([1, 0x14, 40, 3]));
            page.show(4);
            compare(page.title, "Key 5: Q");
            compare([page.viewKind, part("fireField").text, part("rateDrop").text, part("timesInput").text],
                    [1, "Q", "40MS", "3"]);
            verify(!part("endless").checked);
            // The language retitles the lists; an entry it lacks keeps the built-in text.
            var lang = KeyAssign.BUILT_IN_TEXTS.slice(0, 30);
            lang[27] = "播放器";
            page.keyAssigmentLang = lang;
            compare([part("mediaDrop").model[0], part("mediaDrop").model[7]], ["播放器", "Volume-"]);
            page.keyAssigmentLang = KeyAssign.BUILT_IN_TEXTS;
        }

        // Each kind by its own controls; closing hands the definition to the key list.
        function test_everyKindByClicks_data()
        {
            return [
                {tag: "mouse", kind: 0, radio: "mouse5", code: [0, 0xf0, 0x1e, 2], text: "Double Fire"},
                {tag: "media", kind: 3, list: "mediaDrop", row: 6, code: [3, 0, 0xe9, 0], text: "Volume+"},
                {tag: "macro", kind: 4, list: "macroList", row: 2, code: [4, 0, 2, 0], text: "Skip"},
                {tag: "dpi", kind: 5, radio: "dpi3", code: [5, 0, 4, 0], text: "Sniper Key"},
                {tag: "windows", kind: 6, list: "windowsDrop", row: 3, code: [6, 4, 0x2c, 0x1b], text: "Maximize"},
                {tag: "shortcut", kind: 7, list: "shortcutDrop", row: 9, code: [7, 0, 0xe0, 4], text: "Select All"},
                {tag: "gun", kind: 8, radio: "gun1", code: [8, 0, 2, 0], text: "Gun 2"},
            ];
        }

        function test_everyKindByClicks(d)
        {
            mouseClick(part("kind" + d.kind));
            verify(part("pane" + d.kind).visible && !part("pane" + (d.kind + 1) % 9).visible);
            if (d.radio)
                mouseClick(part(d.radio));
            else
                pickRow(part(d.list), d.row);
            compare(held(), d.code);
            compare(page.title, "Key 3: " + d.text);
            closeDialog();
            verify(!page.visible && !mainIten.mainMask.visible);
            compare([stored(2), keyMatrixMain.modKeys.get(2).keyText, keyMatrixMain.isSave, mouseMain.selectKey],
                    [d.code, d.text, true, -1]);
            compare(macroEditorMain.sent, d.kind === 4 ? [[2, "Skip"]] : []);
            compare(view.callsOf("setData"), d.kind === 4 ? [["mouseMacroKey/2", "Skip"]] : []);
        }

        function test_fireCaptureRateAndTimes()
        {
            mouseClick(part("kind1"));
            // The count and rate count for the key captured next.
            mouseClick(part("timesInput"));
            keyClick(Qt.Key_A, Qt.ControlModifier);
            keyClick(Qt.Key_7);
            mouseClick(part("fireField"));
            compare(page.captureIndex, 0);
            verify(!part("endless").checked);
            page.detectKeyboard(true, 0x14, 1);  // not the input that waits
            page.detectKeyboard(false, 0x14, 0); // a release
            page.detectKeyboard(true, 0xf0, 0);  // a mouse button
            compare(held(), [0, 0, 0xf2, 0]);
            page.detectKeyboard(true, 0x14, 0);
            compare([held(), page.keyString, page.captureIndex], [[1, 0x14, 10, 7], "Q", -1]);
            page.detectKeyboard(true, 0x15, 0);
            compare(held(), [1, 0x14, 10, 7]);

            mouseClick(part("rateDrop"));
            var slider = part("rateSlider");
            verify(part("ratePopup").visible);
            mousePress(slider, slider.position + 6, 10);
            mouseMove(slider, 200, 10);
            mouseMove(slider, 1000, 10);
            mouseRelease(slider, 1000, 10);
            compare([part("rateDrop").text, held()[2]], ["255MS", 255]);
            mouseClick(slider, slider.minPosition + 49 + 6, 10);  // a click glides there: 50 ms
            tryCompare(part("rateDrop"), "text", "50MS");
            compare(held()[2], 50);

            // Counts beyond a byte are held to it; 0 is endless and endless is 0.
            mouseClick(part("timesInput"));
            keyClick(Qt.Key_A, Qt.ControlModifier);
            keyClick(Qt.Key_9); keyClick(Qt.Key_9); keyClick(Qt.Key_9);
            keyClick(Qt.Key_Return);
            compare([part("timesInput").text, held()[3]], ["255", 255]);
            mouseClick(part("endless"));
            compare([part("timesInput").text, held()[3], part("endless").checked], ["0", 0, true]);
            mouseClick(part("endless"));
            compare([part("timesInput").text, held()[3]], ["1", 1]);
            mouseClick(part("timesInput"));
            keyClick(Qt.Key_A, Qt.ControlModifier);
            keyClick(Qt.Key_0);
            closeDialog();  // a count being typed counts
            compare([stored(2), keyMatrixMain.modKeys.get(2).keyText], [[1, 0x14, 50, 0], "Q"]);
        }

        function test_combination()
        {
            mouseClick(part("kind2"));
            mouseClick(part("comboField"));
            compare([page.captureIndex, part("comboField").text], [1, ""]);
            var keys = [0xe0, 0xe1, 0x04, 0x05, 0x06];
            for (var i = 0; i < keys.length; ++i) {
                page.detectKeyboard(true, keys[i], 1);
                page.detectKeyboard(true, keys[i], 1);
            }
            page.detectKeyboard(false, 0x04, 1);
            compare(part("comboField").text, "LCtrl + LShift + A + B");
            compare(held(), [0, 0, 0xf2, 0], "nothing before the confirmation");
            mouseClick(part("comboOk"));
            compare([held(), page.keyString, page.captureIndex], [[2, 3, 4, 5], "LCtrl + LShift + A + B", -1]);
            page.detectKeyboard(true, 0x07, 1);
            compare(held(), [2, 3, 4, 5]);

            // Cancelled, or confirmed with nothing captured: the definition stays.
            mouseClick(part("comboField"));
            page.detectKeyboard(true, 0xe2, 1);
            mouseClick(part("comboCancel"));
            compare([part("comboField").text, held(), page.captureIndex], ["Click Input", [2, 3, 4, 5], -1]);
            mouseClick(part("comboField"));
            mouseClick(part("comboOk"));
            compare([part("comboField").text, held()], ["Click Input", [2, 3, 4, 5]]);
        }

        function test_closingWithoutChangeAndReset()
        {
            mouseClick(part("mouse1"));
            closeDialog();
            compare([keyMatrixMain.isSave, view.calls.length, mouseMain.selectKey], [false, 0, -1]);
        }

        // OK and the close button apply the choice (a reset among them); Cancel and Escape drop it.
        function test_applyOrDrop_data()
        {
            return [
                {tag: "ok", close: "okButton", applied: true},
                {tag: "close button", close: "closeButton", applied: true},
                {tag: "cancel", close: "cancelButton", applied: false},
                {tag: "escape", key: Qt.Key_Escape, applied: false},
            ];
        }

        function test_applyOrDrop(data)
        {
            // A fire key with another rate has the same text as the default: reset still applies.
            keyMatrixMain.modKeys_tmp.set(5, element([1, 0x14, 10, 0]));
            keyMatrixMain.modKeys.set(5, element([1, 0x14, 90, 0]));
            page.close();
            page.show(5);
            mouseClick(part("resetButton"));
            compare([held(), page.rateText, stored(5)], [[1, 0x14, 10, 0], "10MS", [1, 0x14, 90, 0]]);
            if (data.key !== undefined)
                keyClick(data.key);
            else
                mouseClick(part(data.close));
            compare([page.visible, mainIten.mainMask.visible, mouseMain.selectKey], [false, false, -1]);
            compare([stored(5), keyMatrixMain.isSave],
                    data.applied ? [[1, 0x14, 10, 0], true] : [[1, 0x14, 90, 0], false]);
        }

        // Escape while a key is awaited ends the capture only.
        function test_escapeEndsCaptureFirst()
        {
            mouseClick(part("kind2"));
            mouseClick(part("comboField"));
            keyClick(Qt.Key_Escape);
            compare([page.visible, page.captureIndex], [true, -1]);
            keyClick(Qt.Key_Escape);
            verify(!page.visible);
        }

        function test_macroNamesAndRunModes()
        {
            mouseClick(part("kind4"));
            mouseClick(part("runMode2"));
            pickRow(part("macroList"), 0);
            compare(held(), [4, 2, 2, 0]);
            mouseClick(part("runMode1"));
            compare(held(), [4, 1, 2, 0]);
            closeDialog();
            keyMatrixMain.isSave = false;
            macroEditorMain.sent = [];
            // Another macro with the same run mode: only the name differs, and it is still a change.
            page.show(2);
            pickRow(part("macroList"), 2);
            compare(held(), [4, 1, 2, 0]);
            closeDialog();
            compare([macroEditorMain.sent, view.profile["mouseMacroKey/2"], keyMatrixMain.isSave],
                    [[[2, "Skip"]], "Skip", true]);
        }

        // Names the macro store would refuse are listed but never chosen, stored or sent.
        function test_refusedMacroNames()
        {
            mouseClick(part("kind4"));
            compare(part("macroList").disabledIndexes, [1, 3]);
            pickRow(part("macroList"), 1);
            compare(held(), [0, 0, 0xf2, 0]);
            // A definition that already names one (a hand-edited profile) is not sent either.
            keyMatrixMain.modKeys.set(6, {keyCode0: 4, keyCode1: 0, keyCode2: 6, keyCode3: 0,
                                          keyText: "../setting/apConfig"});
            page.close();
            page.show(6);
            mouseClick(part("kind4"));
            mouseClick(part("runMode2"));
            closeDialog();
            compare([macroEditorMain.sent, view.callsOf("setData"), keyMatrixMain.isSave], [[], [], false]);
        }

        function test_longMacroListScrolls()
        {
            var names = [];
            for (var i = 0; i < 30; ++i)
                names.push("Macro_" + i);
            page.macroList.addData(names, false);
            mouseClick(part("kind4"));
            var drop = part("macroList");
            mouseClick(drop);
            verify(findChild(drop, "listScrollBar").visible);
            // The scroll bar dragged to the end, then the last row.
            var handle = findChild(drop, "scrollHandle");
            mousePress(handle, 3, 3);
            mouseMove(handle, 3, 100, -1, Qt.LeftButton);
            mouseMove(handle, 3, 300, -1, Qt.LeftButton);
            mouseRelease(handle, 3, 300);
            mouseClick(drop, 40, 24 * 8 + 12);
            compare(page.keyString, "Macro_29");
            // Opened again, the list shows the chosen entry.
            mouseClick(drop);
            mouseClick(drop, 40, 24 * 8 + 12);
            compare(page.keyString, "Macro_29");
        }

        function test_keysWithoutInputAndMacroEditor()
        {
            page.detectKeyboard(true, 0x04, 0);
            page.detectKeyboard(true, 0x04, 1);
            page.detectKeyboard(true, 0x04, -1);
            compare([held(), page.captureIndex], [[0, 0, 0xf2, 0], -1]);
            mouseClick(part("kind4"));
            pickRow(part("macroList"), 0);
            mouseClick(part("macroEditorButton"));
            compare([page.visible, macroEditorMain.opened, macroEditorMain.sent], [false, 1, [[2, "Hop"]]]);
            // Switching kinds ends a capture.
            page.show(2);
            mouseClick(part("kind1"));
            mouseClick(part("fireField"));
            mouseClick(part("kind0"));
            compare(page.captureIndex, -1);
        }
    }
}
