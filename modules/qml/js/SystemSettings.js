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
