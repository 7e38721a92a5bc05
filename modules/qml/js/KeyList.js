// Button list rules: stored definitions read safely, how many buttons a model shows, and the gun
// periods sent beside the key matrix.
.pragma library

.import "KeyAssign.js" as KeyAssign

var BUTTONS = 16;
var SHOWN_MAX = 8;
// The gun page's own default fire period.
var GUN_PERIOD_DEFAULT = 10;

// One code as stored: a whole number 0 ... 255, as a number or as its decimal text; NaN otherwise.
// Each code is one byte on the mouse, so anything else would arrive as some other function.
function byteOf(v)
{
    var n;
    if (typeof v === "number")
        n = v;
    else if (typeof v === "string" && /^\s*[0-9]+\s*$/.test(v))
        n = Number(v);
    else
        return NaN;
    return n === Math.floor(n) && n >= 0 && n <= 255 ? n : NaN;
}

// A definition as four codes, from a stored list or an element with keyCode0 ... keyCode3; null
// when it is not four readable codes (a short list, a text, a code out of range).
function readDefinition(def)
{
    if (def === undefined || def === null || typeof def !== "object")
        return null;
    var items;
    if (def.length !== undefined) {
        if (def.length < 4)
            return null;
        items = [def[0], def[1], def[2], def[3]];
    } else {
        items = [def.keyCode0, def.keyCode1, def.keyCode2, def.keyCode3];
    }
    var out = [];
    for (var i = 0; i < 4; ++i) {
        var b = byteOf(items[i]);
        if (isNaN(b))
            return null;
        out.push(b);
    }
    return out;
}

function builtIn(j)
{
    var def = KeyAssign.DEFAULT_KEY_MATRIX[j];
    return def ? def.slice() : [0, 0, 0, 0];
}

// Buttons shown in the list and on the picture: the model's count up to eight; a count that is not
// a positive whole number (a missing setting reads as 0) shows all eight.
function shownKeyCount(keyCount)
{
    var n = Number(keyCount);
    if (!isFinite(n) || n < 1 || n !== Math.floor(n))
        return SHOWN_MAX;
    return Math.min(n, SHOWN_MAX);
}

// Entry i of a list model or an array; undefined when i is not one of its positions.
function entryAt(model, i)
{
    if (!model || typeof i === "boolean" || i === null || i === "")
        return undefined;
    var k = Number(i);
    if (!(k >= 0 && k === Math.floor(k)))
        return undefined;
    if (typeof model.get === "function")
        return k < model.count ? model.get(k) : undefined;
    return model.length !== undefined && k < model.length ? model[k] : undefined;
}

// The fire periods of the three selected gun presets; an absent preset or an unreadable period
// sends the gun page's default.
function gunPeriods(model, selected)
{
    var out = [];
    for (var g = 0; g < 3; ++g) {
        var entry = entryAt(model, selected ? selected[g] : undefined);
        var p = byteOf(entry ? entry.gunPeriod : undefined);
        out.push(isNaN(p) ? GUN_PERIOD_DEFAULT : p);
    }
    return out;
}
