// Gun editor rules: the rate control of a preset, its period text and the recoil (Y) marker.
.pragma library

.import "Rate.js" as Rate

var Y_MAX = 64;
var MARKER_TOP = 89;
var MARKER_TRAVEL = 94;

function num(x)
{
    var n = Number(x);
    return isFinite(n) ? n : 0;
}

// Rate slider ratio for a stored period, held to 0 ... 1.
function periodRatio(period)
{
    var r = (num(period) - 5) / 86;
    return Math.min(Math.max(r, 0), 1);
}

// The period stored when the rate slider is let go, from the text it shows.
function periodText(rateText)
{
    return Rate.periodFromText(rateText);
}

// Vertical marker position on the target for a Y value (held to 0 ... 64).
function markerY(y)
{
    var v = Math.min(Math.max(num(y), 0), Y_MAX);
    return MARKER_TRAVEL * v / Y_MAX + MARKER_TOP;
}

function clampMarkerY(position)
{
    return Math.min(Math.max(num(position), MARKER_TOP), MARKER_TOP + MARKER_TRAVEL);
}

// Y value for a dragged marker position.
function yFromMarker(position)
{
    return Math.trunc((clampMarkerY(position) - MARKER_TOP) / MARKER_TRAVEL * Y_MAX);
}

// What a gun slot sends: [times, X, Y] as integers of a preset's texts.
function sendValues(times, x, y)
{
    return [parseInt(times, 10) || 0, parseInt(x, 10) || 0, parseInt(y, 10) || 0];
}
