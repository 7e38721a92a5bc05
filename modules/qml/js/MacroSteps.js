// Macro steps as the macro page holds them: {type, info}, stored as "type,info" text.
.pragma library

.import "KeyNames.js" as KeyNames

var DELAY = 0;
var KEY_DOWN = 1;
var KEY_UP = 2;
var MOUSE_DOWN = 3;
var MOUSE_UP = 4;
var MOVE = 5;

var MAX_DELAY_MS = 65535;
var INSERTED_DELAY = "50";

function step(type, info)
{
    return {type: Number(type), info: String(info)};
}

// The type is the first character and the text starts at the third, so "1,A" is a press of A.
function splitStep(text)
{
    var s = String(text);
    var t = s.length > 0 ? "0123456789".indexOf(s.charAt(0)) : -1;
    return {type: t, info: s.substring(2)};
}

function joinStep(s)
{
    return String(s.type) + "," + s.info;
}

function stepText(s)
{
    return Number(s.type) === DELAY ? s.info + " ms" : String(s.info);
}

function isAction(type)
{
    var t = Number(type);
    return t >= KEY_DOWN && t <= MOUSE_UP;
}

function isRelease(type)
{
    var t = Number(type);
    return t === KEY_UP || t === MOUSE_UP;
}

// Accepts a JS array or a list model (count/get) of step objects or stored step texts.
function toArray(steps)
{
    var out = [];
    if (!steps)
        return out;
    var n = steps.length !== undefined ? steps.length : steps.count;
    for (var i = 0; i < (n || 0); ++i) {
        var s = steps.length !== undefined ? steps[i] : steps.get(i);
        if (typeof s === "string")
            out.push(splitStep(s));
        else if (s)
            out.push(step(s.type, s.info));
    }
    return out;
}

function toStored(steps)
{
    return toArray(steps).map(joinStep);
}

// A loaded macro is its steps followed by the repeat count.
function fromLoaded(list)
{
    var items = list ? Array.prototype.slice.call(list) : [];
    if (items.length === 0)
        return {steps: [], repeat: "1"};
    var repeat = String(items.pop());
    return {steps: items.map(splitStep), repeat: repeat};
}

// Milliseconds of a delay step; garbage or a negative number counts as no delay.
function delayMs(s)
{
    var ms = Number(s.info);
    return isFinite(ms) && ms > 0 ? ms : 0;
}

var MIN_REPEAT = 1;
var MAX_REPEAT = 65535;

// The repeat count as the page shows and stores it: 1 ... 65535; an empty text or a value below 1
// becomes "1". A macro run once per press with a count of 0 would do nothing at all, and the endless
// runs are the button's run modes, not a count.
function commitRepeat(text)
{
    var n = parseInt(String(text), 10);
    if (isNaN(n) || n < MIN_REPEAT)
        return String(MIN_REPEAT);
    return String(Math.min(n, MAX_REPEAT));
}

// The repeat count as a number for storing and sending: 0 ... 65535.
function repeatCount(text)
{
    var n = parseInt(String(text), 10);
    if (isNaN(n) || n < 0)
        return 0;
    return Math.min(n, 65535);
}

// An edited delay: the typed whole number of milliseconds, or the old text when it does not parse.
function editDelay(text, oldInfo)
{
    var s = String(text).trim();
    if (!/^[0-9]+$/.test(s) || Number(s) > MAX_DELAY_MS)
        return String(oldInfo);
    return String(Number(s));
}

function pressRelease(downType, name)
{
    return [step(downType, name), step(downType + 1, name)];
}

function keyPair(name)
{
    return pressRelease(KEY_DOWN, name);
}

function mouseButtonPair(code, names)
{
    return pressRelease(MOUSE_DOWN, KeyNames.keycodeTostr(code, names));
}

// Where an inserted step goes, whatever it is: after the selected step (the end when none is).
function insertIndex(count, selected)
{
    return selected >= 0 && selected < count ? selected + 1 : count;
}
