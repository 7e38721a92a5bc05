// Button assignment rules: the four-code definitions each choice produces, their 8-digit form,
// their display texts, key-combination capture and the last-left-button guard.
.pragma library

.import "KeyNames.js" as KeyNames
.import "Rate.js" as Rate

var MOUSE = 0;
var FIRE = 1;
var COMBINATION = 2;
var MEDIA = 3;
var MACRO = 4;
var DPI = 5;
var WINDOWS = 6;
var SHORTCUT = 7;
var GUN = 8;

var LEFT_BUTTON = 0xf0;

// The dialog's built-in texts; a language list replaces them position by position.
var BUILT_IN_TEXTS = [
    "Key ", "Mouse Function", "Left Key", "Middle Key", "Right Key", "Forward Key", "Back Key",
    "Double Fire", "Fire Function", "Key Value", "Click Input", "Rate", "Times", "Endless", "Combo Function",
    "Media Function",
    "Macro Function", "Macro Editor", "Macro runs as many times as set in the macro editor",
    "Macro repeats until any button is pressed", "Macro repeats while the button is held",
    "DPI Function", "DPI+", "DPI-", "DPI Loop", "System Function", "Shortcut Function", "Player", "Next",
    "Previous", "Stop", "Mute", "Play/Pause", "Volume+", "Volume-", "My PC", "Home Page", "Search", "Maximize",
    "Minimize",
    "Desktop", "Run", "New", "Cut", "Copy", "Paste", "Save", "Print", "Find", "Redo", "Undo", "Select All",
    "Gun Function", "Gun 1", "Gun 2", "Gun 3", "Sniper Key", "", "", ""
];

// Left, Middle, Right, Forward, Back, Double Fire; their texts are at 2 ... 7.
var MOUSE_CODES = ["0000F000", "0000F200", "0000F100", "0000F400", "0000F300", "00f01e02"];
var MOUSE_TEXT_FIRST = 2;
// Player, next, previous, stop, mute, play/pause, volume up, volume down; texts at 27 ... 34.
var MEDIA_CODES = ["03008301", "0300b500", "0300b600", "0300b700", "0300e200", "0300cd00", "0300e900",
                   "0300ea00"];
var MEDIA_TEXT_FIRST = 27;
// My computer, home page, search, maximise, minimise, show desktop, run; texts at 35 ... 41.
var WINDOWS_CODES = ["06009401", "06002302", "06002102", "06042c1b", "06042c11", "0600e307", "0600e315"];
var WINDOWS_TEXT_FIRST = 35;
// New, cut, copy, paste, save, print, find, redo, undo, select all; texts at 42 ... 51.
var SHORTCUT_CODES = ["0700e011", "0700e01b", "0700e006", "0700e019", "0700e016", "0700e013", "0700e009",
                      "0700e01c", "0700e01d", "0700e004"];
var SHORTCUT_TEXT_FIRST = 42;
// DPI+, DPI-, DPI LOOP, sniper.
var DPI_CODES = ["05000100", "05000200", "05000300", "05000400"];
var DPI_TEXTS = [22, 23, 24, 56];
// One, two, three gun.
var GUN_CODES = ["08000100", "08000200", "08000300"];
var GUN_TEXTS = [53, 54, 55];

// The 16 buttons' built-in definitions.
var DEFAULT_KEY_MATRIX = [
    [0x00, 0x00, 0xf0, 0x00], [0x00, 0x00, 0xf1, 0x00], [0x00, 0x00, 0xf2, 0x00], [0x00, 0x00, 0xf4, 0x00],
    [0x00, 0x00, 0xf3, 0x00], [0x05, 0x00, 0x01, 0x00], [0x05, 0x00, 0x02, 0x00], [0x00, 0xf0, 0x1e, 0x02],
    [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0],
    [0xff, 0x00, 0x01, 0x00], [0xff, 0x00, 0x02, 0x00]
];

// "0000F000" -> [0, 0, 0xF0, 0]; a pair that is not hexadecimal reads as 0.
function keyCodeStrProc(text)
{
    var s = String(text);
    var out = [];
    for (var i = 0; i < 4; ++i) {
        var part = s.substr(2 * i, 2);
        out.push(/^[0-9a-fA-F]{2}$/.test(part) ? parseInt(part, 16) : 0);
    }
    return out;
}

function hex2(v)
{
    var n = Number(v) & 0xff;
    return (n < 16 ? "0" : "") + n.toString(16).toUpperCase();
}

function keyCodeStr(code0, code1, code2, code3)
{
    return hex2(code0) + hex2(code1) + hex2(code2) + hex2(code3);
}

// A definition as [c0, c1, c2, c3] from an array or an element with keyCode0 ... keyCode3.
function codesOf(def)
{
    if (!def)
        return [0, 0, 0, 0];
    if (def.length !== undefined)
        return [Number(def[0]) || 0, Number(def[1]) || 0, Number(def[2]) || 0, Number(def[3]) || 0];
    return [Number(def.keyCode0) || 0, Number(def.keyCode1) || 0, Number(def.keyCode2) || 0,
            Number(def.keyCode3) || 0];
}

function sameCodes(a, b)
{
    var x = codesOf(a);
    var y = codesOf(b);
    return x[0] === y[0] && x[1] === y[1] && x[2] === y[2] && x[3] === y[3];
}

function mouseCode(i)
{
    return keyCodeStrProc(MOUSE_CODES[i]);
}

function mediaCode(i)
{
    return keyCodeStrProc(MEDIA_CODES[i]);
}

function windowsCode(i)
{
    return keyCodeStrProc(WINDOWS_CODES[i]);
}

function shortcutCode(i)
{
    return keyCodeStrProc(SHORTCUT_CODES[i]);
}

function dpiCode(i)
{
    return keyCodeStrProc(DPI_CODES[i]);
}

function gunCode(i)
{
    return keyCodeStrProc(GUN_CODES[i]);
}

var FIRE_RATE_MIN = 1;
var FIRE_RATE_MAX = 255;
var FIRE_RATE_INITIAL = 10;
var FIRE_TIMES_MAX = 255;

function heldTo(v, lo, hi, fallback)
{
    var n = Math.trunc(Number(v));
    if (!isFinite(n))
        n = fallback;
    return Math.min(Math.max(n, lo), hi);
}

// Each code is one byte on the mouse: a rate or count beyond it would arrive as some other value.
function fireRate(rate)
{
    return heldTo(rate, FIRE_RATE_MIN, FIRE_RATE_MAX, FIRE_RATE_INITIAL);
}

function fireTimes(times)
{
    return heldTo(times, 0, FIRE_TIMES_MAX, 0);
}

// The rate a slider position p gives ((p + 1) ms, held to a byte) and the position showing a rate.
function fireRateAt(p)
{
    return fireRate(Rate.rateValue(p));
}

function fireRatePosition(rate)
{
    return fireRate(rate) - 1;
}

// Fire: the key, the rate in milliseconds and the repeat count (0 endless).
function fireCode(usbCode, rate, times)
{
    return [FIRE, Number(usbCode), fireRate(rate), fireTimes(times)];
}

// A key that fire can repeat: a named keyboard key, not a mouse button.
function isFireKey(usbCode, names)
{
    var code = Number(usbCode);
    return !KeyNames.isMouseButton(code) && KeyNames.keycodeTostr(code, names) !== "";
}

// Macro: run mode 0 counted, 1 until any button, 2 while held; the slot is the button index.
function macroCode(runMode, selectKey)
{
    return [MACRO, Number(runMode), Number(selectKey), 0];
}

function fireRateText(p)
{
    return Rate.rateText(fireRatePosition(Rate.rateValue(p)));
}

// Key in the profile under which the name of the macro in a slot is kept.
function macroKey(slot)
{
    return "mouseMacroKey/" + slot;
}

function textAt(texts, i)
{
    var t = (texts || BUILT_IN_TEXTS)[i];
    return t === undefined || t === null ? "" : String(t);
}

function listText(table, first, code2, code3, texts)
{
    for (var i = 0; i < table.length; ++i) {
        var c = keyCodeStrProc(table[i]);
        if (c[2] === code2 && c[3] === code3)
            return textAt(texts, first + i);
    }
    return "";
}

// Display text of a definition. `texts` are the dialog's texts, `names` the key names, and
// `macroNameOf(slot)` gives the macro name kept for a slot.
function keyCodeToString(code0, code1, code2, code3, texts, names, macroNameOf)
{
    var c = codesOf([code0, code1, code2, code3]);
    switch (c[0]) {
    case MOUSE: {
        var order = [0xf0, 0xf2, 0xf1, 0xf4, 0xf3];
        var i = order.indexOf(c[2]);
        return textAt(texts, MOUSE_TEXT_FIRST + (i < 0 ? 5 : i));
    }
    case FIRE:
        return KeyNames.keycodeTostr(c[1], names);
    case COMBINATION: {
        var parts = [];
        for (var bit = 0; bit < 8; ++bit) {
            if (c[1] & (1 << bit))
                parts.push(KeyNames.keycodeTostr(KeyNames.MODIFIER_FIRST + bit, names));
        }
        if (c[2] !== 0)
            parts.push(KeyNames.keycodeTostr(c[2], names));
        if (c[3] !== 0)
            parts.push(KeyNames.keycodeTostr(c[3], names));
        return parts.join("+");
    }
    case MEDIA:
        return listText(MEDIA_CODES, MEDIA_TEXT_FIRST, c[2], c[3], texts);
    case WINDOWS:
        return listText(WINDOWS_CODES, WINDOWS_TEXT_FIRST, c[2], c[3], texts);
    case SHORTCUT:
        return listText(SHORTCUT_CODES, SHORTCUT_TEXT_FIRST, c[2], c[3], texts);
    case MACRO: {
        var name = macroNameOf ? macroNameOf(c[2]) : "";
        return name === undefined || name === null ? "" : String(name);
    }
    case DPI:
        return c[2] >= 1 && c[2] <= 4 ? textAt(texts, DPI_TEXTS[c[2] - 1]) : "";
    case GUN:
        return c[2] >= 1 && c[2] <= 3 ? textAt(texts, GUN_TEXTS[c[2] - 1]) : "";
    default:
        return "";
    }
}

function isLeftButton(def)
{
    var c = codesOf(def);
    return c[0] === MOUSE && c[2] === LEFT_BUTTON;
}

// True when exactly one button holds the left-button function and it is the button selectKey:
// that button must keep it, or the mouse could not click any more.
function checkOneLeftKey(defs, selectKey)
{
    var list = defs || [];
    var n = list.length !== undefined ? list.length : list.count;
    var count = 0;
    var selectedIsLeft = false;
    for (var i = 0; i < n; ++i) {
        var def = list.length !== undefined ? list[i] : list.get(i);
        if (isLeftButton(def)) {
            ++count;
            if (i === Number(selectKey))
                selectedIsLeft = true;
        }
    }
    return count === 1 && selectedIsLeft;
}

// Key-combination capture: a fresh state, one captured event, and the result.
function comboStart()
{
    return {mask: 0, key1: 0, key2: 0, names: []};
}

// Key-downs only. A modifier sets its bit; the first two other keys become the keys; later keys are
// ignored. A key or modifier already captured (auto-repeat while held) is not added again, and a
// code without a name is ignored.
function comboKey(state, isDown, usbCode, names)
{
    var code = Number(usbCode);
    if (!isDown)
        return state;
    var name = KeyNames.keycodeTostr(code, names);
    if (name === "")
        return state;
    if (KeyNames.isModifier(code)) {
        var bit = 1 << (code - KeyNames.MODIFIER_FIRST);
        if (state.mask & bit)
            return state;
        state.mask |= bit;
        state.names.push(name);
    } else if (code === state.key1 || code === state.key2) {
        return state;
    } else if (state.key1 === 0) {
        state.key1 = code;
        state.names.push(name);
    } else if (state.key2 === 0) {
        state.key2 = code;
        state.names.push(name);
    }
    return state;
}

function comboText(state)
{
    return state.names.join(" + ");
}

function comboIsEmpty(state)
{
    return state.mask === 0 && state.key1 === 0;
}

function comboCode(state)
{
    return [COMBINATION, state.mask, state.key1, state.key2];
}
