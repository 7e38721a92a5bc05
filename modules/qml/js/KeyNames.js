// The key-name table: 133 keyboard usage codes with their short display names, in code order.
// The scene may replace the names by a language's list; the codes never change.
.pragma library

var COUNT = 133;

var codeList = (function () {
    var c = [];
    var i;
    for (i = 0x04; i <= 0x73; ++i)
        c.push(i);
    c.push(0x85);
    for (i = 0x87; i <= 0x8b; ++i)
        c.push(i);
    c.push(0x90, 0x91);
    for (i = 0xe0; i <= 0xe7; ++i)
        c.push(i);
    for (i = 0xf0; i <= 0xf4; ++i)
        c.push(i);
    return c;
})();

var builtInNames = (function () {
    var n = [];
    var i;
    for (i = 0; i < 26; ++i)
        n.push(String.fromCharCode(65 + i));
    n.push("1", "2", "3", "4", "5", "6", "7", "8", "9", "0");
    n.push("Enter", "Esc", "Back", "Tab", "Space", "-", "=", "[", "]", "\\", "\\", ";", "'", "`", ",", ".",
           "/", "Caps");
    for (i = 1; i <= 12; ++i)
        n.push("F" + i);
    n.push("Prt", "Scr", "Pau", "Ins", "Hom", "Pgu", "Del", "End", "PgD", "\u25BA", "\u25C4", "\u25BC",
           "\u25B2", "Num", "KP/", "KP*", "KP-", "KP+", "KPEnter");
    for (i = 1; i <= 9; ++i)
        n.push("KP" + i);
    n.push("KP0", "KP.", "Eur2", "App", "Power", "KP=");
    for (i = 13; i <= 24; ++i)
        n.push("F" + i);
    n.push("Keypad", "Intl1", "Intl2", "Intl2", "Intl4", "Intl5", "Lang1", "Lang2");
    n.push("LCtrl", "LShift", "LAlt", "LWin", "RCtrl", "RShift", "RAlt", "RWin");
    n.push("MS-L", "MS-R", "MS-M", "MS-B4", "MS-B5");
    return n;
})();

// Lowest code that is a mouse button rather than a key.
var MOUSE_BUTTON_FIRST = 0xf0;
var MODIFIER_FIRST = 0xe0;
var MODIFIER_LAST = 0xe7;

function codes()
{
    return codeList.slice();
}

function defaultNames()
{
    return builtInNames.slice();
}

// The names to use with a language's list: its entries replace the built-in names position by
// position. A short list or an empty entry keeps the built-in name there, so a language file that
// lacks the section (or a key) cannot make keys nameless and unconvertible.
function mergeNames(languageNames)
{
    var n = builtInNames.slice();
    if (!languageNames)
        return n;
    var count = Math.min(languageNames.length || 0, COUNT);
    for (var i = 0; i < count; ++i) {
        var s = languageNames[i];
        if (s !== undefined && s !== null && String(s) !== "")
            n[i] = String(s);
    }
    return n;
}

// Name of the first pair with this code, "" when there is none.
function keycodeTostr(code, names)
{
    var table = names || builtInNames;
    var c = Number(code);
    for (var i = 0; i < COUNT; ++i) {
        if (codeList[i] === c)
            return table[i] === undefined ? "" : String(table[i]);
    }
    return "";
}

// Code of the first pair with this name (so duplicate names convert to their first code), 0 when
// there is none.
function strTokeycode(name, names)
{
    var table = names || builtInNames;
    var s = String(name);
    for (var i = 0; i < COUNT; ++i) {
        if (table[i] !== undefined && String(table[i]) === s)
            return codeList[i];
    }
    return 0;
}

function isMouseButton(code)
{
    return Number(code) >= MOUSE_BUTTON_FIRST;
}

function isModifier(code)
{
    var c = Number(code);
    return c >= MODIFIER_FIRST && c <= MODIFIER_LAST;
}
