// Button definitions: the codes each choice produces, their texts, combination capture and the
// last-left-button guard.
import QtQuick
import QtTest
import "../../modules/qml/js/KeyAssign.js" as KeyAssign

TestCase {
    name: "KeyAssign"

    function text(code, macroNames)
    {
        var c = KeyAssign.keyCodeStrProc(code);
        return KeyAssign.keyCodeToString(c[0], c[1], c[2], c[3], undefined, undefined, function (slot) {
            return macroNames ? macroNames[slot] : undefined;
        });
    }

    function test_eightDigitForm()
    {
        compare(KeyAssign.keyCodeStrProc("00f01e02"), [0, 0xf0, 0x1e, 2]);
        compare(KeyAssign.keyCodeStrProc("06042C1B"), [6, 4, 0x2c, 0x1b]);
        compare(KeyAssign.keyCodeStrProc("05zz"), [5, 0, 0, 0]);
        compare(KeyAssign.keyCodeStr(0, 0xf0, 0x1e, 2), "00F01E02");
        verify(KeyAssign.sameCodes([3, 0, 0xe2, 0], {keyCode0: 3, keyCode1: 0, keyCode2: 0xe2, keyCode3: 0}));
        verify(!KeyAssign.sameCodes([3, 0, 0xe2, 0], [3, 0, 0xe2, 1]));
    }

    function test_textsOfEveryKind_data()
    {
        return [
            {tag: "left", code: "0000F000", text: "Left Key"},
            {tag: "middle", code: "0000F200", text: "Middle Key"},
            {tag: "right", code: "0000F100", text: "Right Key"},
            {tag: "forward", code: "0000F400", text: "Forward Key"},
            {tag: "back", code: "0000F300", text: "Back Key"},
            {tag: "double", code: "00f01e02", text: "Double Fire"},
            {tag: "other mouse", code: "00001100", text: "Double Fire"},
            {tag: "fire", code: "01140a00", text: "Q"},
            {tag: "combination", code: "02030405", text: "LCtrl+LShift+A+B"},
            {tag: "combination keys", code: "02800007", text: "RWin+D"},
            {tag: "media first", code: "03008301", text: "Player"},
            {tag: "media last", code: "0300ea00", text: "Volume-"},
            {tag: "media unknown", code: "03001200", text: ""},
            {tag: "windows", code: "06042c11", text: "Minimize"},
            {tag: "windows run", code: "0600e315", text: "Run"},
            {tag: "shortcut", code: "0700e004", text: "Select All"},
            {tag: "shortcut new", code: "0700e011", text: "New"},
            {tag: "macro", code: "04010300", text: "Hop"},
            {tag: "macro unnamed", code: "04000500", text: ""},
            {tag: "dpi+", code: "05000100", text: "DPI+"},
            {tag: "dpi loop", code: "05000300", text: "DPI Loop"},
            {tag: "sniper", code: "05000400", text: "Sniper Key"},
            {tag: "dpi other", code: "05000500", text: ""},
            {tag: "gun 1", code: "08000100", text: "Gun 1"},
            {tag: "gun 3", code: "08000300", text: "Gun 3"},
            {tag: "gun other", code: "08000400", text: ""},
            {tag: "disabled", code: "ff000100", text: ""},
        ];
    }

    function test_textsOfEveryKind(d)
    {
        compare(text(d.code, {3: "Hop"}), d.text);
    }

    function test_everyListEntryNamesItself()
    {
        var lists = [[KeyAssign.MEDIA_CODES, 27], [KeyAssign.WINDOWS_CODES, 35],
                     [KeyAssign.SHORTCUT_CODES, 42], [KeyAssign.MOUSE_CODES, 2]];
        for (var l = 0; l < lists.length; ++l) {
            for (var i = 0; i < lists[l][0].length; ++i)
                compare(text(lists[l][0][i]), KeyAssign.BUILT_IN_TEXTS[lists[l][1] + i]);
        }
        compare(KeyAssign.mediaCode(7), [3, 0, 0xea, 0]);
        compare(KeyAssign.dpiCode(3), [5, 0, 4, 0]);
        compare(KeyAssign.gunCode(1), [8, 0, 2, 0]);
        compare(KeyAssign.macroCode(2, 5), [4, 2, 5, 0]);
        compare(KeyAssign.fireCode(0x14, 10, 0), [1, 0x14, 10, 0]);
        compare(KeyAssign.fireRateText(9), "10MS");
        compare(KeyAssign.BUILT_IN_TEXTS.length, 60);
    }

    // Each code is one byte on the mouse: rates and counts are held to it.
    function test_fireCodesStayBytes()
    {
        compare(KeyAssign.fireCode(0x14, 300, 999), [1, 0x14, 255, 255]);
        compare(KeyAssign.fireCode(0x14, 0, -3), [1, 0x14, 1, 0]);
        compare(KeyAssign.fireCode(0x14, "x", "y"), [1, 0x14, 10, 0]);
        compare([KeyAssign.fireRateAt(0), KeyAssign.fireRateAt(254), KeyAssign.fireRateAt(400)], [1, 255, 255]);
        compare([KeyAssign.fireRatePosition(50), KeyAssign.fireRateText(900)], [49, "255MS"]);
        verify(KeyAssign.isFireKey(0xe0) && KeyAssign.isFireKey(0x04));
        verify(!KeyAssign.isFireKey(0xf0) && !KeyAssign.isFireKey(0x86) && !KeyAssign.isFireKey(0));
    }

    function test_combinationCapture()
    {
        var st = KeyAssign.comboStart();
        verify(KeyAssign.comboIsEmpty(st));
        var events = [[true, 0xe0], [true, 0xe1], [false, 0xe1], [true, 0x04], [true, 0x04], [true, 0xe0],
                      [true, 0x05], [true, 0x06]];
        for (var i = 0; i < events.length; ++i)
            KeyAssign.comboKey(st, events[i][0], events[i][1]);
        compare(KeyAssign.comboCode(st), [2, 3, 4, 5]);
        compare(KeyAssign.comboText(st), "LCtrl + LShift + A + B");
        var c = KeyAssign.comboCode(st);
        compare(KeyAssign.keyCodeToString(c[0], c[1], c[2], c[3]), "LCtrl+LShift+A+B");
        verify(KeyAssign.comboIsEmpty(KeyAssign.comboKey(KeyAssign.comboStart(), true, 0x86)));
    }

    function test_checkOneLeftKey()
    {
        var defs = KeyAssign.DEFAULT_KEY_MATRIX.map(function (d) { return d.slice(); });
        verify(KeyAssign.checkOneLeftKey(defs, 0));
        verify(!KeyAssign.checkOneLeftKey(defs, 1));
        defs[3] = KeyAssign.mouseCode(0);
        verify(!KeyAssign.checkOneLeftKey(defs, 0));
        verify(!KeyAssign.checkOneLeftKey(defs, 3));
        defs[0] = KeyAssign.keyCodeStrProc("03008301");
        verify(KeyAssign.checkOneLeftKey(defs, 3));
        verify(!KeyAssign.checkOneLeftKey(defs, 0));
        verify(!KeyAssign.checkOneLeftKey(defs, -1));
    }
}
