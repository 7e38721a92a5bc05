// The gun editor in a stand-in scene, with real input: what it loads, which presets it stores and
// when, what it sends on closing and after a reset, and stored values it cannot take as they are.
import QtQuick
import QtTest
import "support"
import "../../modules/qml/Z9"

SceneStub {
    id: mainIten

    // The key list sends the key matrices with the selected presets' periods; it reads them here.
    Item {
        id: keyMatrixMain
        property QtObject modKeys: QtObject {
            function saveData()
            {
                var m = gunControlMain.gunNumberModel;
                mainIten.ui_View.record("saveData", [[m.get(gunControlMain.selectGun1).gunPeriod,
                                                      m.get(gunControlMain.selectGun2).gunPeriod,
                                                      m.get(gunControlMain.selectGun3).gunPeriod]]);
            }
        }
    }

    GunControl {
        id: gunControlMain
        pictureFolder: Qt.resolvedUrl("../../modules/img/skin1/gun/")
        onGunsSent: keyMatrixMain.modKeys.saveData()
    }

    TestCase {
        name: "GunPage"
        when: windowShown

        property var page: gunControlMain
        property var view: mainIten.ui_View

        function part(name) { return findChild(page, name); }

        // Stores and sends in order, as texts.
        function trail()
        {
            var t = view.calls.filter(function (c) {
                return ["mouseSaveGundata", "mouseSendGundata", "setGlobalData", "saveData"].indexOf(c.fn) >= 0;
            }).map(function (c) { return c.fn + ":" + JSON.stringify(c.args); });
            view.clearCalls();
            return t;
        }

        function load(presets, selected)
        {
            view.gunFile = true;
            view.gunData = presets;
            view.global = {"mouse/selectGun": selected};
            page.gunControlLang = page.builtInLang;
            page.init();
            view.clearCalls();
        }

        function init()
        {
            load({"0": ["M416", "L-Click", "10", "0", "0", "0"], "1": ["AKM", "L-Click", "20", "0", "30", "0"],
                  "2": ["M16A4", "L-Click", "12", "0", "10", "5"], "3": ["SCAR-L", "L-Click", "10", "0", "10", "0"],
                  "4": ["UNP9", "L-Click", "8", "2", "16", "0"], "5": ["Thomson", "L-Click", "60", "0", "64", "0"]},
                 ["0", "2", "5"]);
            page.open();
            verify(!page.isSave);
        }

        function cleanup()
        {
            page.gunControlFocus();
            page.close();
        }

        // What the page shows for the selected preset.
        function shown()
        {
            return {y: part("yField").text, x: part("xField").text, marker: part("marker").y,
                    rate: part("rateList").text, times: part("timesField").text, endless: part("endness").checked};
        }

        function typeInto(field, text)
        {
            mouseClick(field);
            verify(field.inputFocus);
            keyClick(Qt.Key_A, Qt.ControlModifier);
            keyClick(Qt.Key_Backspace);
            for (var i = 0; i < text.length; ++i)
                keyClick(text[i]);
        }

        function clickPreset(i) { mouseClick(part("preset" + i)); }

        function chooseSlot(slot)
        {
            var list = part("selectGun");
            mouseClick(list);
            waitForRendering(list);
            mouseClick(list, 20, list.height * (slot + 1.5));
            compare(list.currentIndex, slot);
        }

        function test_initAndSlots()
        {
            compare([page.selectGun1, page.selectGun2, page.selectGun3], [0, 2, 5]);
            compare(page.gunNumber_lv.currentIndex, 0);
            compare(page.gunNumberModel.get(4).gunImage, "UNP9.png");
            // Every preset has its picture, whatever it is called now.
            for (var i = 0; i < 6; ++i)
                tryCompare(part("picture" + i), "status", Image.Ready);
            tryCompare(part("targetPicture"), "status", Image.Ready);
            compare(page.gunNumberModel.get(5).gunPeriod, "60");
            compare(shown(), {y: "0", x: "0", marker: 89, rate: "10MS", times: "0", endless: true});
            compare(part("selectGun").model, ["Gun1", "Gun2", "Gun3"]);
            // Choosing a slot shows its preset and changes nothing.
            chooseSlot(1);
            compare(page.gunNumber_lv.currentIndex, 2);
            compare(shown(), {y: "10", x: "0", marker: 89 + 94 * 10 / 64, rate: "12MS", times: "5", endless: false});
            chooseSlot(2);
            compare(shown().marker, 183);
            compare(trail(), []);
            verify(!page.isSave);
            page.gunControlLang = ["压枪编辑器", "枪械"];
            compare(part("selectGun").model, ["枪械1", "枪械2", "枪械3"]);
            compare(page.title, "压枪编辑器");
            compare(page.langText(9), "Endless");
        }

        function test_choosePresetForSlot()
        {
            chooseSlot(1);
            clickPreset(4);
            compare(trail(), ['setGlobalData:["mouse/selectGun",[0,4,5]]']);
            verify(page.isSave);
            compare([page.selectGun1, page.selectGun2, page.selectGun3], [0, 4, 5]);
            compare(shown(), {y: "16", x: "2", marker: 89 + 94 * 16 / 64, rate: "8MS", times: "0", endless: true});
            // The preset the slot already holds: nothing to store.
            page.isSave = false;
            clickPreset(4);
            compare(trail(), []);
            verify(!page.isSave);
        }

        function test_markerDrag()
        {
            var target = part("target");
            var marker = part("marker");
            mousePress(target, 100, 95);
            mouseMove(target, 100, 95 + 20);
            mouseMove(target, 100, 95 + 47);
            compare(marker.y, 136);
            compare(part("yField").text, "32");
            compare(trail(), [], "nothing stored while the marker moves");
            mouseRelease(target, 100, 95 + 47);
            compare(trail(), ['mouseSaveGundata:[0,["M416","L-Click",10,0,32,0]]']);
            verify(page.isSave);
            // Held to the target's scale at both ends.
            mousePress(target, 100, 142);
            mouseMove(target, 100, 142 + 10);
            mouseMove(target, 100, 142 + 150);
            compare([marker.y, part("yField").text], [183, "64"]);
            mouseMove(target, 100, 142 - 150);
            compare([marker.y, part("yField").text], [89, "0"]);
            mouseMove(target, 100, 250);
            mouseRelease(target, 100, 250);
            compare(page.gunNumberModel.get(0).gunY, "64");
            compare(trail(), ['mouseSaveGundata:[0,["M416","L-Click",10,0,64,0]]']);
        }

        function test_yField_data()
        {
            return [{tag: "typed", typed: "50", y: 50}, {tag: "too big", typed: "99", y: 64},
                    {tag: "empty", typed: "", y: 0}, {tag: "unchanged", typed: "30", y: 30, unchanged: true}];
        }

        function test_yField(d)
        {
            clickPreset(1);
            trail();
            typeInto(part("yField"), d.typed);
            compare(trail(), [], "nothing stored while typing");
            keyClick(Qt.Key_Return);
            compare(part("yField").text, String(d.y));
            compare(part("marker").y, 89 + 94 * d.y / 64);
            var want = d.unchanged ? [] : ['mouseSaveGundata:[1,["AKM","L-Click",20,0,' + d.y + ',0]]'];
            compare(trail(), want);
        }

        // A value being typed belongs to the preset it was typed for, whatever is clicked next.
        function test_typedValueStaysWithItsPreset()
        {
            typeInto(part("yField"), "33");
            clickPreset(3);
            compare(trail(), ['mouseSaveGundata:[0,["M416","L-Click",10,0,33,0]]',
                              'setGlobalData:["mouse/selectGun",[3,2,5]]']);
            compare(page.gunNumberModel.get(3).gunY, "10");
            compare(part("yField").text, "10");
            typeInto(part("timesField"), "7");
            chooseSlot(1);
            compare(trail(), ['mouseSaveGundata:[3,["SCAR-L","L-Click",10,0,10,7]]']);
            compare(part("timesField").text, "5");
        }

        function test_rateRelease_data()
        {
            return [{tag: "15 ms dragged", preset: 0, period: 15, drag: true},
                    {tag: "9 ms clicked", preset: 1, period: 9, drag: false}];
        }

        function test_rateRelease(d)
        {
            clickPreset(d.preset);
            trail();
            var list = part("rateList");
            mouseClick(list);
            verify(list.isOpen);
            var slider = list.slider;
            waitForRendering(slider);
            var to = d.period - 1 + 6;
            if (d.drag) {
                mousePress(slider, slider.position + 6, 10);
                mouseMove(slider, (slider.position + 6 + to) / 2, 10);
                mouseMove(slider, to, 10);
                compare(list.text, d.period + "MS");
                compare(trail(), []);
                mouseRelease(slider, to, 10);
            } else {
                mouseClick(slider, to, 10);
            }
            tryVerify(function () { return view.callsOf("mouseSaveGundata").length === 1; });
            compare(list.text, d.period + "MS");
            compare(page.gunNumberModel.get(d.preset).gunPeriod, String(d.period));
            var e = page.gunNumberModel.get(d.preset);
            compare(trail(), ['mouseSaveGundata:[' + d.preset + ',["' + e.gunName + '","L-Click",' + d.period + ',0,'
                              + e.gunY + ',0]]']);
            verify(page.isSave);
            page.gunControlFocus();
            verify(!list.isOpen);
        }

        function test_timesAndEndness()
        {
            var endness = part("endness");
            typeInto(part("timesField"), "300");
            keyClick(Qt.Key_Return);
            compare(part("timesField").text, "255");
            verify(!endness.checked);
            compare(trail(), ['mouseSaveGundata:[0,["M416","L-Click",10,0,0,255]]']);
            mouseClick(endness);
            verify(endness.checked);
            compare(part("timesField").text, "0");
            compare(trail(), ['mouseSaveGundata:[0,["M416","L-Click",10,0,0,0]]']);
            // No count is endless: the box stays ticked until a count is typed.
            mouseClick(endness);
            verify(endness.checked);
            compare(trail(), []);
            // A count typed, then the ticked box clicked: the count is kept and the box cleared.
            typeInto(part("timesField"), "12");
            mouseClick(endness);
            verify(!endness.checked);
            compare(part("timesField").text, "12");
            compare(trail(), ['mouseSaveGundata:[0,["M416","L-Click",10,0,0,12]]']);
        }

        function closeByButton()
        {
            mouseClick(findChild(page, "closeButton"));
            verify(!page.visible && !mainIten.mainMask.visible);
        }

        function test_closing()
        {
            verify(mainIten.mainMask.visible);
            closeByButton();
            compare(trail(), [], "nothing changed, nothing sent");
            page.open();
            chooseSlot(2);
            clickPreset(1);
            // Closed while a count is being typed: it is stored and sent too.
            typeInto(part("timesField"), "40");
            closeByButton();
            compare(trail(), ['setGlobalData:["mouse/selectGun",[0,2,1]]',
                              'mouseSaveGundata:[1,["AKM","L-Click",20,0,30,40]]',
                              'mouseSendGundata:[1,[0,0,0]]', 'mouseSendGundata:[2,[5,0,10]]',
                              'mouseSendGundata:[3,[40,0,30]]', 'saveData:[["10","12","20"]]']);
            verify(!page.isSave);
            page.open();
            closeByButton();
            compare(trail(), []);
        }

        function test_resetData()
        {
            chooseSlot(2);
            clickPreset(4);
            trail();
            page.resetData();
            compare(trail(), ['setGlobalData:["mouse/selectGun",[0,1,2]]',
                              'mouseSaveGundata:[0,["M416","L-Click",9,0,5,0]]',
                              'mouseSaveGundata:[1,["AKM","L-Click",9,0,7,0]]',
                              'mouseSaveGundata:[2,["M16A4","L-Click",9,0,8,5]]',
                              'mouseSendGundata:[1,[0,0,5]]', 'mouseSendGundata:[2,[0,0,7]]',
                              'mouseSendGundata:[3,[5,0,8]]']);
            compare(part("selectGun").currentIndex, 0);
            compare(page.gunNumber_lv.currentIndex, 0);
            compare(shown().rate, "9MS");
            compare(shown().y, "5");
        }

        // Stored values the page cannot take as they are: shown, stored and sent held to range.
        function test_storedFaults_data()
        {
            return [
                {tag: "no preset file", file: false, preset: undefined,
                 want: ["M416", "L-Click", "10", "0", "10", "0"]},
                {tag: "out of range", preset: ["X1", "F", "150", "-3", "99", "999"],
                 want: ["X1", "F", "90", "0", "64", "255"]},
                {tag: "no digits", preset: ["", "", "MS", "x", "abc", ""],
                 want: ["M416", "L-Click", "10", "0", "10", "0"]},
                {tag: "empty period, short list", preset: ["Mine", "L-Click", ""],
                 want: ["Mine", "L-Click", "10", "0", "10", "0"]},
                {tag: "below the rate range", preset: ["M416", "L-Click", "2", "0", "3", "2"],
                 want: ["M416", "L-Click", "4", "0", "3", "2"]},
            ];
        }

        function test_storedFaults(d)
        {
            view.gunFile = d.file !== false;
            view.gunData = {"0": d.preset};
            view.global = {"mouse/selectGun": ["0", "0", "0"]};
            page.init();
            var e = page.gunNumberModel.get(0);
            compare([e.gunName, e.gunKey, e.gunPeriod, e.gunX, e.gunY, e.gunTimes], d.want);
            compare(part("rateList").text, d.want[2] + "MS");
            compare(part("marker").y, 89 + 94 * Number(d.want[4]) / 64);
            view.clearCalls();
            // Edited and closed: the stored preset and what is sent are whole numbers in range.
            typeInto(part("timesField"), "1");
            keyClick(Qt.Key_Return);
            closeByButton();
            var w = d.want;
            compare(view.callsOf("mouseSaveGundata"), [[0, [w[0], w[1], Number(w[2]), Number(w[3]), Number(w[4]), 1]]]);
            var sent = [1, Number(w[3]), Number(w[4])];
            compare(view.callsOf("mouseSendGundata"), [[1, sent], [2, sent], [3, sent]]);
            compare(view.callsOf("saveData"), [[[w[2], w[2], w[2]]]]);
        }

        function test_storedSelection_data()
        {
            return [
                {tag: "missing", stored: undefined, want: [0, 1, 2]},
                {tag: "short", stored: ["4"], want: [4, 1, 2]},
                {tag: "one value", stored: "3", want: [3, 1, 2]},
                {tag: "not numbers", stored: ["a", "2.5", " "], want: [0, 1, 2]},
                {tag: "out of range", stored: ["6", "-1", "5"], want: [0, 1, 5]},
            ];
        }

        function test_storedSelection(d)
        {
            view.global = {"mouse/selectGun": d.stored};
            page.init();
            compare([page.selectGun1, page.selectGun2, page.selectGun3], d.want);
            compare(page.gunNumber_lv.currentIndex, d.want[0]);
            // Another preset for gun 1 stores the mended choices of the others.
            clickPreset(d.want[0] === 5 ? 4 : 5);
            compare(view.callsOf("setGlobalData"), [["mouse/selectGun", [d.want[0] === 5 ? 4 : 5, d.want[1], d.want[2]]]]);
        }
    }
}
