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
