// Gun editor rules: presets as stored and shown, the selected guns, the rate control of a preset and
// its period text, the recoil (Y) marker, and what a gun sends.
.pragma library

.import "Rate.js" as Rate
.import "NumberText.js" as NumberText
.import "Dpi.js" as Dpi

var Y_MAX = 64;
var X_MAX = 64;
var TIMES_MAX = 255;
var PRESETS = 6;
var NAMES = ["M416", "AKM", "M16A4", "SCAR-L", "UNP9", "Thomson"];
var DEFAULT_KEY = "L-Click";
var DEFAULT_PERIOD = 10;
var DEFAULT_Y = 10;
// The rate slider: its handle's left edge p runs 3 ... 89 and shows p + 1 ms, so a period of
// 4 ... 90 ms can be shown and chosen.
var RATE_SLIDER_WIDTH = 104;
var PERIOD_MIN = 4;
var PERIOD_MAX = 90;
// A factory reset gives presets 0, 1, 2 these Y values and this period.
var RESET_Y = [5, 7, 8];
var RESET_PERIOD = 9;
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

function holdPeriod(period)
{
    return NumberText.clampText(period, PERIOD_MIN, PERIOD_MAX, DEFAULT_PERIOD);
}

// The period a released rate text gives, held to the slider's range; a text without digits keeps
// `current` (itself held to the range).
function releasedPeriod(rateText, current)
{
    var digits = periodText(rateText);
    return holdPeriod(digits !== "" ? digits : current);
}

// Rate slider handle position showing a period: the same place the ratio (period - 5) / 86 gives
// on the 104-pixel track, without its rounding, and held to the track.
function ratePosition(period)
{
    return Number(holdPeriod(period)) - 1;
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

function holdNumber(text, maximum, emptyValue)
{
    return Number(NumberText.clampText(text, 0, maximum, emptyValue));
}

// What a gun slot sends: [times, X, Y] as integers of a preset's texts, each held to its range.
function sendValues(times, x, y)
{
    return [holdNumber(times, TIMES_MAX, 0), holdNumber(x, X_MAX, 0), holdNumber(y, Y_MAX, 0)];
}

// A Y or a shot count as entered, held to its range (no number is 0).
function yText(v)
{
    return NumberText.clampText(v, 0, Y_MAX, 0);
}

function timesText(v)
{
    return NumberText.clampText(v, 0, TIMES_MAX, 0);
}

function pictureName(position)
{
    return (NAMES[position] !== undefined ? NAMES[position] : NAMES[0]) + ".png";
}

function builtInPreset(position)
{
    return preset([], position);
}

// A preset for the list from a stored one (texts as the preset file gives them): a missing, empty
// or unreadable element keeps the built-in value, numbers are held to their ranges. The picture
// stays the position's own whatever the name.
function preset(stored, position)
{
    var s = Dpi.listOf(stored);
    function text(v, fallback)
    {
        var t = v === undefined || v === null ? "" : String(v).trim();
        return t !== "" ? t : fallback;
    }
    return {
        gunName: text(s[0], NAMES[position] !== undefined ? NAMES[position] : ""),
        gunImage: pictureName(position),
        gunKey: text(s[1], DEFAULT_KEY),
        gunPeriod: holdPeriod(s[2]),
        gunX: NumberText.clampText(s[3], 0, X_MAX, 0),
        gunY: NumberText.clampText(s[4], 0, Y_MAX, DEFAULT_Y),
        gunTimes: NumberText.clampText(s[5], 0, TIMES_MAX, 0)
    };
}

// The six values a preset is saved with: name, key, then period, X, Y and times as integers.
function savedValues(entry)
{
    return [String(entry.gunName), String(entry.gunKey), Number(holdPeriod(entry.gunPeriod)),
            holdNumber(entry.gunX, X_MAX, 0), holdNumber(entry.gunY, Y_MAX, DEFAULT_Y),
            holdNumber(entry.gunTimes, TIMES_MAX, 0)];
}

// The presets chosen as guns 1, 2 and 3 from the stored "mouse/selectGun": an element that is
// missing, not a whole number or no preset position is that gun's reset choice (0, 1, 2).
function selection(stored)
{
    var s = Dpi.listOf(stored);
    var out = [];
    for (var i = 0; i < 3; ++i) {
        var t = s[i] === undefined || s[i] === null ? "" : String(s[i]).trim();
        var n = /^[0-9]+$/.test(t) ? Number(t) : -1;
        out.push(n >= 0 && n < PRESETS ? n : i);
    }
    return out;
}
