// The key-name table component: order, first-match lookups and language names.
import QtQuick
import QtTest
import "../../modules/qml/basic"

TestCase {
    name: "KeyCodeString"

    KeyCodeString { id: table }
    KeyCodeString { id: translated }

    function test_table()
    {
        compare(table.codes.length, 133);
        compare(table.names.length, 133);
        for (var i = 1; i < 133; ++i)
            verify(table.codes[i] > table.codes[i - 1], "codes ascend at " + i);
        var spots = [[0x04, "A"], [0x1d, "Z"], [0x1e, "1"], [0x27, "0"], [0x2a, "Back"], [0x39, "Caps"],
                     [0x45, "F12"], [0x4f, "\u25BA"], [0x52, "\u25B2"], [0x58, "KPEnter"], [0x62, "KP0"],
                     [0x67, "KP="], [0x73, "F24"], [0x85, "Keypad"], [0x8b, "Intl5"], [0x91, "Lang2"],
                     [0xe0, "LCtrl"], [0xe7, "RWin"], [0xf0, "MS-L"], [0xf4, "MS-B5"]];
        for (var j = 0; j < spots.length; ++j)
            compare(table.keycodeTostr(spots[j][0]), spots[j][1]);
    }

    function test_lookups()
    {
        compare(table.keycodeTostr(0x32), "\\");
        compare(table.strTokeycode("\\"), 0x31);
        compare(table.keycodeTostr(0x89), "Intl2");
        compare(table.strTokeycode("Intl2"), 0x88);
        compare(table.keycodeTostr(0x86), "");
        compare(table.keycodeTostr(0), "");
        compare(table.strTokeycode("nothing"), 0);
        compare(table.strTokeycode(""), 0);
        compare(table.strTokeycode("MS-M"), 0xf2);
    }

    function test_languageNames()
    {
        var lang = table.names.slice();
        lang[0] = "Ah";
        lang[132] = "Maus5";
        translated.keyCodeLang = lang;
        compare(translated.keycodeTostr(0x04), "Ah");
        compare(translated.strTokeycode("Ah"), 0x04);
        compare(translated.strTokeycode("A"), 0);
        compare(translated.keycodeTostr(0xf4), "Maus5");
        // A short list, or empty entries, keep the built-in names there.
        translated.keyCodeLang = ["Ah", ""];
        compare(translated.keycodeTostr(0x04), "Ah");
        compare(translated.keycodeTostr(0x05), "B");
        compare(translated.keycodeTostr(0xe0), "LCtrl");
        translated.keyCodeLang = [];
        compare(translated.names, table.names);
    }
}
