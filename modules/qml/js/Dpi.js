// DPI stage arithmetic: slider position to DPI value and stored value to slider position.
.pragma library

.import "Slider.js" as Slider

var SLIDER_LENGTH = 176;
var STAGES = 8;

function num(x, fallback)
{
    var n = Number(x);
    return isFinite(n) ? n : fallback;
}

// The DPI value of a handle position, truncated toward zero to a multiple of dpiBase.
function valueAt(position, minDPI, maxDPI, dpiBase)
{
    var lo = num(minDPI, 0);
    var hi = num(maxDPI, lo);
    var base = num(dpiBase, 1);
    if (!(base > 0))
        base = 1;
    var p = num(position, Slider.minPosition());
    var v = ((p - Slider.minPosition()) * (hi - lo) / Slider.span(SLIDER_LENGTH) + lo) / base;
    return Math.trunc(v) * base;
}

// Where a stored value sits on the track, 0 ... 1 (0 for an empty range).
function ratioOf(value, minDPI, maxDPI)
{
    var lo = num(minDPI, 0);
    var range = num(maxDPI, lo) - lo;
    if (!(range > 0))
        return 0;
    return (num(value, lo) - lo) / range;
}

function positionOf(value, minDPI, maxDPI)
{
    return Slider.positionForRatio(ratioOf(value, minDPI, maxDPI), SLIDER_LENGTH);
}

// The labels' texts as the integers the page stores and sends.
function valuesOf(texts)
{
    var out = [];
    for (var i = 0; i < STAGES; ++i) {
        var n = texts && i < texts.length ? parseInt(String(texts[i]), 10) : NaN;
        out.push(isNaN(n) ? 0 : n);
    }
    return out;
}

// What a stage holds when the profile has no readable value for it.
var BUILT_IN = [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000];

// A number from a settings text (INI values arrive as strings, a missing key as undefined);
// NaN when missing, empty, non-numeric or infinite.
function readNumber(x)
{
    if (x === undefined || x === null)
        return NaN;
    var s = String(x).trim();
    var n = s === "" ? NaN : Number(s);
    return isFinite(n) ? n : NaN;
}

// Range and step from the global settings. An unreadable or negative bound, or a step below 1, keeps
// the current one; a reversed range is turned round, so the track never maps onto a negative span.
function limits(minText, maxText, baseText, current)
{
    var lo = Math.trunc(readNumber(minText));
    var hi = Math.trunc(readNumber(maxText));
    var base = Math.trunc(readNumber(baseText));
    if (!(lo >= 0))
        lo = current.minDPI;
    if (!(hi >= 0))
        hi = current.maxDPI;
    if (!(base >= 1))
        base = current.dpiBase;
    if (hi < lo) {
        var t = lo;
        lo = hi;
        hi = t;
    }
    return {minDPI: lo, maxDPI: hi, dpiBase: base};
}

// An enabled stage count held to 1 ... the supported count (never beyond the eight stages).
function holdCount(count, dpiCount)
{
    var top = Math.min(Math.max(Math.trunc(num(dpiCount, STAGES)), 1), STAGES);
    var n = Math.trunc(num(count, top));
    return Math.min(Math.max(n, 1), top);
}

// Stage counts from the profile: an unreadable supported count, or one below 1, keeps the current
// one; an unreadable enabled count keeps the current one; the enabled count is then held to range.
function stageCounts(dpiCountText, currentText, current)
{
    var count = Math.trunc(readNumber(dpiCountText));
    if (!(count >= 1))
        count = current.dpiCount;
    var enabled = Math.trunc(readNumber(currentText));
    if (isNaN(enabled))
        enabled = current.currentDpiCount;
    return {dpiCount: count, currentDpiCount: holdCount(enabled, count)};
}

// maxDPI rounded down to a multiple of dpiBase: the highest value a stage may take.
function topValue(maxDPI, dpiBase)
{
    var base = num(dpiBase, 1);
    if (!(base > 0))
        base = 1;
    return Math.trunc(num(maxDPI, 0) / base) * base;
}

// A typed or nudged stage value, held as a drag holds one: a multiple of dpiBase (truncated toward
// zero), no lower than the lowest such multiple at or above minDPI and no higher than topValue. A
// text without leading digits keeps `current`.
function typedValue(text, current, minDPI, maxDPI, dpiBase)
{
    var n = parseInt(String(text), 10);
    if (isNaN(n))
        return num(current, num(minDPI, 0));
    var base = num(dpiBase, 1);
    if (!(base > 0))
        base = 1;
    var hi = topValue(maxDPI, base);
    var lo = Math.min(Math.ceil(num(minDPI, 0) / base) * base, hi);
    return Math.min(Math.max(Math.trunc(n / base) * base, lo), hi);
}

// The value of a handle position as valueAt gives it, but never above topValue: a full-scale ratio
// places the handle one step past the track end, which on a wide range lands above maxDPI.
function stageValue(position, minDPI, maxDPI, dpiBase)
{
    var v = valueAt(position, minDPI, maxDPI, dpiBase);
    if (num(maxDPI, 0) < num(minDPI, 0))
        return v;
    return Math.min(v, topValue(maxDPI, dpiBase));
}

// A stage's value in a stored list as a number; an unreadable or missing one becomes the built-in
// value of that stage, held to the range and to a multiple of dpiBase.
function storedValue(list, index, minDPI, maxDPI, dpiBase)
{
    var n = list && index < list.length ? readNumber(list[index]) : NaN;
    if (!isNaN(n))
        return n;
    var lo = num(minDPI, 0);
    var hi = Math.max(num(maxDPI, lo), lo);
    var base = num(dpiBase, 1);
    if (!(base > 0))
        base = 1;
    var v = BUILT_IN[index] !== undefined ? BUILT_IN[index] : lo;
    v = Math.trunc(Math.min(Math.max(v, lo), hi) / base) * base;
    if (v < lo && v + base <= hi)
        v += base;
    return v;
}

// What a loaded stage shows: the stored value itself when the page could have produced it (within
// the range, a multiple of dpiBase), else the value at its handle. On a wide range the 158 handle
// steps are coarser than dpiBase, and the value at the handle would creep with every load and save.
function shownValue(value, position, minDPI, maxDPI, dpiBase)
{
    var n = readNumber(value);
    var lo = num(minDPI, 0);
    var hi = num(maxDPI, lo);
    var base = num(dpiBase, 1);
    if (!isNaN(n) && base > 0 && n >= lo && n <= hi && n % base === 0)
        return n;
    return stageValue(position, minDPI, maxDPI, dpiBase);
}

// A stored list as an array: a single value (an INI list of one) becomes a list of one, a missing
// key an empty list.
function listOf(x)
{
    if (x === undefined || x === null)
        return [];
    if (typeof x === "string" || typeof x === "number")
        return [x];
    return x.length !== undefined ? Array.prototype.slice.call(x) : [];
}
