// Geometry of the shared slider control: handle positions and the ratio a value sets.
.pragma library

var HANDLE_WIDTH = 12;

function minPosition()
{
    return HANDLE_WIDTH / 4;
}

function maxPosition(length)
{
    return length - HANDLE_WIDTH - HANDLE_WIDTH / 4;
}

// Steps the handle can move: 158 on the 176-pixel DPI slider, 334 on the 352-pixel ones.
function span(length)
{
    return maxPosition(length) - minPosition();
}

// Where dragging or clicking may put the handle.
function clampPosition(position, length)
{
    var p = Number(position);
    if (isNaN(p))
        return minPosition();
    return Math.min(Math.max(p, minPosition()), maxPosition(length));
}

// Handle position for a ratio 0 ... 1. The extra 1 beyond the track start makes the round trip
// through the value rounding give back the stored value. A ratio outside the track is held to it.
function positionForRatio(ratio, length)
{
    var r = Number(ratio);
    if (!isFinite(r))
        r = 0;
    r = Math.min(Math.max(r, 0), 1);
    return Math.trunc(span(length) * r) + minPosition() + 1;
}
