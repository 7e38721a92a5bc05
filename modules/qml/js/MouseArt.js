// The mouse picture's drawing, seen from above: the body's outline and each button's shape and place,
// in the picture's own pixels (PICTURE_WIDTH × PICTURE_HEIGHT). A shape is a list of path steps:
// ["M", x, y], ["L", x, y], ["C", c1x, c1y, c2x, c2y, x, y] and ["Z"]. Buttons are numbered as the
// button list numbers them (index 0 is "Key 1"): left, right, wheel, forward, back, DPI+, DPI-, fire.
.pragma library

var PICTURE_WIDTH = 400;
var PICTURE_HEIGHT = 460;
var TAG_SIZE = 20;
// Tags stand in two columns beside the body, at least this far apart.
var TAG_GAP = 30;
var CENTRE = PICTURE_WIDTH / 2;

// Right half from the nose round the back; the left half is its mirror.
var BODY_RIGHT = [["M", 200, 24], ["C", 252, 22, 284, 60, 286, 110], ["C", 290, 160, 278, 205, 282, 250],
                  ["C", 286, 295, 300, 330, 296, 370], ["C", 292, 420, 250, 442, 200, 440]];

function mirrorStep(step)
{
    var out = [step[0]];
    for (var i = 1; i < step.length; i += 2)
        out.push(2 * CENTRE - step[i], step[i + 1]);
    return out;
}

// The same path drawn from its end back to its start, so the two halves join into one outline.
function reversed(path)
{
    var out = [];
    var points = [];
    for (var i = 0; i < path.length; ++i)
        points.push([path[i][path[i].length - 2], path[i][path[i].length - 1]]);
    for (var j = path.length - 1; j > 0; --j) {
        var s = path[j];
        var start = points[j - 1];
        if (s[0] === "C")
            out.push(["C", s[3], s[4], s[1], s[2], start[0], start[1]]);
        else
            out.push(["L", start[0], start[1]]);
    }
    return out;
}

function body()
{
    var left = reversed(BODY_RIGHT.map(mirrorStep));
    return BODY_RIGHT.concat(left).concat([["Z"]]);
}

function roundRect(x, y, w, h, r)
{
    var k = 0.5523 * r; // a quarter circle as one cubic
    return [["M", x + r, y], ["L", x + w - r, y], ["C", x + w - r + k, y, x + w, y + r - k, x + w, y + r],
            ["L", x + w, y + h - r], ["C", x + w, y + h - r + k, x + w - r + k, y + h, x + w - r, y + h],
            ["L", x + r, y + h], ["C", x + r - k, y + h, x, y + h - r + k, x, y + h - r],
            ["L", x, y + r], ["C", x, y + r - k, x + r - k, y, x + r, y], ["Z"]];
}

var LEFT_BUTTON = [["M", 190, 31], ["L", 190, 186], ["C", 165, 197, 136, 195, 117, 183],
                   ["C", 112, 152, 112, 130, 116, 110], ["C", 121, 66, 150, 33, 190, 31], ["Z"]];

// Every button a mouse of this family may have, by button index; `side` is the tag's column and
// `anchor` the point inside the button where its tag's line ends.
var PARTS = [
    {kind: "main", side: "left", shape: LEFT_BUTTON, anchor: [154, 112]},
    {kind: "main", side: "right", shape: LEFT_BUTTON.map(mirrorStep), anchor: [246, 112]},
    {kind: "wheel", side: "right", shape: roundRect(191, 56, 18, 58, 9), anchor: [200, 85]},
    {kind: "side", side: "left", shape: roundRect(109, 236, 16, 36, 7), anchor: [117, 254]},
    {kind: "side", side: "left", shape: roundRect(111, 278, 16, 36, 7), anchor: [119, 296]},
    {kind: "dpi", side: "right", shape: roundRect(193, 126, 14, 22, 5), anchor: [200, 137]},
    {kind: "dpi", side: "right", shape: roundRect(193, 154, 14, 22, 5), anchor: [200, 165]},
    {kind: "fire", side: "left", shape: roundRect(108, 196, 16, 34, 7), anchor: [116, 213]}
];

// The buttons a mouse with `keyCount` buttons shows (1 … 8; others show all eight): the first
// keyCount of PARTS, since the button list numbers them the same way.
function layout(keyCount)
{
    var n = Number(keyCount);
    if (!isFinite(n) || n < 1 || n !== Math.floor(n) || n > PARTS.length)
        n = PARTS.length;
    var parts = PARTS.slice(0, n).map(function (p, i) {
        return {index: i, kind: p.kind, side: p.side, shape: p.shape, anchor: p.anchor, bounds: bounds(p.shape)};
    });
    placeTags(parts);
    return parts;
}

// Each column's tags in the order of their buttons from front to back, each as near its button's
// height as the gap to the one before allows.
function placeTags(parts)
{
    ["left", "right"].forEach(function (side) {
        var column = parts.filter(function (p) { return p.side === side; });
        column.sort(function (a, b) { return a.anchor[1] - b.anchor[1]; });
        var next = 0;
        column.forEach(function (p) {
            var y = Math.max(p.anchor[1] - TAG_SIZE / 2, next);
            p.tag = [side === "left" ? 0 : PICTURE_WIDTH - TAG_SIZE, y];
            next = y + TAG_GAP;
        });
    });
}

// The leader from a tag to its button: out of the tag, level to a bend beside the body, then to the
// anchor.
function leader(part)
{
    var left = part.side === "left";
    var startX = left ? part.tag[0] + TAG_SIZE : part.tag[0];
    var y = part.tag[1] + TAG_SIZE / 2;
    var bendX = left ? 70 : PICTURE_WIDTH - 70;
    return [[startX, y], [bendX, y], [part.anchor[0], part.anchor[1]]];
}

// The shape as a polygon, each curve cut into `steps` straight pieces.
function flatten(shape, steps)
{
    var n = steps || 12;
    var points = [];
    var at = [0, 0];
    for (var i = 0; i < shape.length; ++i) {
        var s = shape[i];
        if (s[0] === "M" || s[0] === "L") {
            at = [s[1], s[2]];
            points.push(at);
        } else if (s[0] === "C") {
            for (var k = 1; k <= n; ++k) {
                var t = k / n, u = 1 - t;
                points.push([u * u * u * at[0] + 3 * u * u * t * s[1] + 3 * u * t * t * s[3] + t * t * t * s[5],
                             u * u * u * at[1] + 3 * u * u * t * s[2] + 3 * u * t * t * s[4] + t * t * t * s[6]]);
            }
            at = [s[5], s[6]];
        }
    }
    return points;
}

function bounds(shape)
{
    var points = flatten(shape, 8);
    var x0 = Infinity, y0 = Infinity, x1 = -Infinity, y1 = -Infinity;
    points.forEach(function (p) {
        x0 = Math.min(x0, p[0]);
        y0 = Math.min(y0, p[1]);
        x1 = Math.max(x1, p[0]);
        y1 = Math.max(y1, p[1]);
    });
    return {x: x0, y: y0, width: x1 - x0, height: y1 - y0};
}

// Whether (x, y) lies inside the polygon (even-odd rule).
function inside(polygon, x, y)
{
    var result = false;
    for (var i = 0, j = polygon.length - 1; i < polygon.length; j = i++) {
        var a = polygon[i], b = polygon[j];
        if ((a[1] > y) !== (b[1] > y) && x < (b[0] - a[0]) * (y - a[1]) / (b[1] - a[1]) + a[0])
            result = !result;
    }
    return result;
}

// Traces a shape on a Canvas 2D context (a new path).
function trace(ctx, shape)
{
    ctx.beginPath();
    for (var i = 0; i < shape.length; ++i) {
        var s = shape[i];
        if (s[0] === "M")
            ctx.moveTo(s[1], s[2]);
        else if (s[0] === "L")
            ctx.lineTo(s[1], s[2]);
        else if (s[0] === "C")
            ctx.bezierCurveTo(s[1], s[2], s[3], s[4], s[5], s[6]);
        else
            ctx.closePath();
    }
}
