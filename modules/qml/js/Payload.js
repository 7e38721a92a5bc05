// Builds the 128-byte macro data the mouse stores from a macro's steps, and its length.
.pragma library

.import "KeyNames.js" as KeyNames
.import "MacroSteps.js" as MacroSteps

var MAX_BYTES = 128;
// The page refuses to add steps once the payload would reach this length.
var LIMIT = 126;
var RELEASE_BIT = 0x80;
// Delays of this many 10 ms units or more need the extended record.
var EXTENDED_FROM = 127;
var UNIT_20MS = 1;
var UNIT_50MS = 2;
var UNIT_100MS = 3;
// The longest extended delay that fits: 65535 units of 100 ms.
var LONGEST_COUNT = 0xffff;

// The actions in order, each with the delay to the next action in 10 ms units (possibly
// fractional). Leading and trailing delays are dropped; other step types are skipped.
function actions(steps)
{
    var list = MacroSteps.toArray(steps);
    var acts = [];
    var ms = 0;
    for (var i = 0; i < list.length; ++i) {
        var s = list[i];
        if (s.type === MacroSteps.DELAY) {
            if (acts.length > 0)
                ms += MacroSteps.delayMs(s);
        } else if (MacroSteps.isAction(s.type)) {
            if (acts.length > 0)
                acts[acts.length - 1].units = ms / 10;
            ms = 0;
            acts.push({type: s.type, info: s.info, units: 0});
        }
    }
    return acts;
}

// The extended record for a long delay: [unit, count]. Beyond what 16 bits of 100 ms hold, the
// longest delay that fits is sent rather than a count whose high byte would overflow.
function extendedDelay(units)
{
    if (units < 100000)
        return [UNIT_20MS, Math.floor(units / 2)];
    if (units < 300000)
        return [UNIT_50MS, Math.floor(units / 5)];
    if (units < 600000)
        return [UNIT_100MS, Math.floor(units / 10)];
    return [UNIT_100MS, LONGEST_COUNT];
}

// The short-form timing value: whole 10 ms units, truncated, at least 1, so its low seven bits are
// never 0 (which would announce an extended record).
function shortTiming(units)
{
    var v = Math.trunc(units);
    return v < 1 ? 1 : v;
}

function isExtended(units)
{
    return units >= EXTENDED_FROM;
}

// Bytes the given actions take: header, one pair per action (plus the extended record after a
// long delay), terminator. The last action's delay never counts.
function lengthOf(acts)
{
    if (acts.length === 0)
        return 2;
    var n = 2 + 2;
    for (var i = 0; i < acts.length; ++i)
        n += (i < acts.length - 1 && isExtended(acts[i].units)) ? 6 : 2;
    return n;
}

// Length of the payload the steps would give, not cut to the mouse's 128 bytes.
function recordCount(steps)
{
    return lengthOf(actions(steps));
}

function isFull(steps)
{
    return recordCount(steps) >= LIMIT;
}

// The payload as a list of byte values: repeat count (big-endian), a timing byte and key code per
// action, extended records, and the 00 00 terminator. A macro too long for the mouse keeps its
// first actions and still ends with a proper last action and terminator.
function deCode(steps, repeat, names)
{
    var r = MacroSteps.repeatCount(repeat);
    var out = [Math.floor(r / 256), r % 256];
    var acts = actions(steps);
    if (acts.length === 0)
        return out;
    while (acts.length > 1 && lengthOf(acts) > MAX_BYTES)
        acts.pop();
    for (var i = 0; i < acts.length; ++i) {
        var a = acts[i];
        var release = MacroSteps.isRelease(a.type) ? RELEASE_BIT : 0;
        var code = KeyNames.strTokeycode(a.info, names);
        if (i === acts.length - 1) {
            out.push(1 | release, code);
        } else if (isExtended(a.units)) {
            var ext = extendedDelay(a.units);
            out.push(release, code, 0, ext[0], Math.floor(ext[1] / 256), ext[1] % 256);
        } else {
            out.push(shortTiming(a.units) | release, code);
        }
    }
    out.push(0, 0);
    return out;
}
