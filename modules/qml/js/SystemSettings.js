// Pointer settings page rules: slider positions to speed indexes and the wheel value.
.pragma library

var compareValue = [4, 37, 70, 104, 138, 172, 205, 239, 272, 305, 338];
var SLIDER_LENGTH = 352;
var ONE_SCREEN = 1000;
var MAX_LINES = 100;

// Speed index 0 ... 10: the first i with position < compareValue[i]; beyond the last threshold the
// fastest, and a position that is no number the slowest.
function speedIndex(position)
{
    var p = Number(position);
    if (isNaN(p))
        return 0;
    for (var i = 0; i < compareValue.length; ++i) {
        if (p < compareValue[i])
            return i;
    }
    return compareValue.length - 1;
}

// A stored wheel value above 100 means one screen per notch.
function isOneScreen(scrollRate)
{
    return Number(scrollRate) > MAX_LINES;
}

// The line-count input after editing: empty or below 1 becomes "1", above 100 "100".
function commitLineCount(text)
{
    var n = parseInt(String(text), 10);
    if (isNaN(n) || n < 1)
        return "1";
    return String(Math.min(n, MAX_LINES));
}

// The wheel value to store and apply.
function scrollValue(rowsChosen, lineText)
{
    return rowsChosen ? Number(commitLineCount(lineText)) : ONE_SCREEN;
}

// What the last applications changed, as lines for the page. report: the backend's pointerReport
// ({speed, doubleClick, wheel}: lists of target names, an empty list where nothing took the value);
// text(i): the page's text i. Nothing applied yet: no lines; nothing took any value: one line saying
// so; otherwise a heading and one line per setting applied.
var REPORT_SETTINGS = [{key: "speed", caption: 1}, {key: "doubleClick", caption: 2}, {key: "wheel", caption: 5}];
var TARGET_TEXTS = {gsettings: 10, kde: 11, libinput: 12, xaccel: 13};

function reportLines(report, text)
{
    if (!report)
        return [];
    var lines = [];
    var any = false;
    for (var i = 0; i < REPORT_SETTINGS.length; ++i) {
        var targets = report[REPORT_SETTINGS[i].key];
        if (targets === undefined || targets === null)
            continue;
        var names = [];
        for (var k = 0; k < targets.length; ++k)
            names.push(TARGET_TEXTS[targets[k]] !== undefined ? text(TARGET_TEXTS[targets[k]]) : String(targets[k]));
        any = any || names.length > 0;
        lines.push(text(REPORT_SETTINGS[i].caption) + ": " + (names.length ? names.join(", ") : text(14)));
    }
    if (lines.length === 0)
        return [];
    return any ? [text(8)].concat(lines) : [text(9)];
}
