// The lighting page's hue strip: strip position to colour, colour to marker position.
.pragma library

var STRIP_WIDTH = 185;
var MARKER_WIDTH = 16;
// Width of one of the six hue segments in the colour lookup, and in the marker placement.
var W = Math.trunc((STRIP_WIDTH - 2) / 6);
var D = (STRIP_WIDTH - 2) / 6;
var U = D / 256;
var LAST_HUE = STRIP_WIDTH - 3;
// White sits at the right end: the marker's left edge at the end of its drag range.
var WHITE_X = STRIP_WIDTH - 10 - 1 + MARKER_WIDTH / 2;

// Colour [r, g, b] at strip position p (pixels from the strip's left edge plus one).
function colorAt(p)
{
    var x = Number(p);
    if (!(x > 0))
        x = 0;
    var k = Math.trunc(x / W);
    var s = Math.trunc((x - k * W) * 255 / W);
    switch (k) {
    case 0:
        return [255, s, 0];
    case 1:
        return [255 - s, 255, 0];
    case 2:
        return [0, 255, s];
    case 3:
        return [0, 255 - s, 255];
    case 4:
        return [s, 0, 255];
    case 5:
        return [255, 0, 255 - s];
    default:
        return x > LAST_HUE ? [255, 255, 255] : [255, 0, 0];
    }
}

// Strip offset x for a colour. A colour off the strip (neither full nor empty in its strongest and
// weakest component) goes to its nearest hue: stretched to full saturation and brightness. Greys and
// black have no hue and go to the start.
function positionOf(r, g, b)
{
    r = Number(r);
    g = Number(g);
    b = Number(b);
    if (r === 255 && g === 255 && b === 255)
        return WHITE_X;
    if (r === 255 && b === 0)
        return U * g;
    if (r === 0 && b === 255)
        return 3 * D + U * (255 - g);
    if (g === 255 && b === 0)
        return D + U * (255 - r);
    if (g === 0 && b === 255)
        return 4 * D + U * r;
    if (r === 0 && g === 255)
        return 2 * D + U * b;
    if (r === 255 && g === 0)
        return 5 * D + U * (255 - b);
    var hi = Math.max(r, g, b);
    var lo = Math.min(r, g, b);
    if (!isFinite(hi) || !isFinite(lo) || hi === lo)
        return 0;
    var stretch = function (v) {
        return v === hi ? 255 : (v === lo ? 0 : Math.round((v - lo) * 255 / (hi - lo)));
    };
    return positionOf(stretch(r), stretch(g), stretch(b));
}

function markerLeft(x, stripLeft)
{
    return Math.trunc(x) + stripLeft + 1 - MARKER_WIDTH / 2;
}

function clampMarkerLeft(left, stripLeft)
{
    return Math.min(Math.max(left, stripLeft - 8), stripLeft + STRIP_WIDTH - 10);
}

// Strip position under a marker whose left edge is at `left`.
function positionAtMarker(left, stripLeft)
{
    return left + MARKER_WIDTH / 2 - stripLeft + 1;
}

function hex2(v)
{
    var n = Math.trunc(Number(v));
    if (!isFinite(n) || n < 0)
        n = 0;
    if (n > 255)
        n = 255;
    return (n < 16 ? "0" : "") + n.toString(16);
}

// "#rrggbb" in lower case, two digits per component.
function colorText(r, g, b)
{
    return "#" + hex2(r) + hex2(g) + hex2(b);
}

// [r, g, b] of a "#rrggbb" text; a component that is not hexadecimal reads as 0.
function parseColorText(text)
{
    var s = String(text);
    if (s.charAt(0) === "#")
        s = s.substring(1);
    var out = [];
    for (var i = 0; i < 3; ++i) {
        var part = s.substr(2 * i, 2);
        var v = /^[0-9a-fA-F]{2}$/.test(part) ? parseInt(part, 16) : 0;
        out.push(v);
    }
    return out;
}
