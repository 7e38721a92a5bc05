// Number inputs: what a committed entry becomes.
.pragma library

// The decimal text of the integer typed, held to [minimum, maximum]; an entry without leading digits
// becomes `emptyValue` (itself held to the range).
function clampText(text, minimum, maximum, emptyValue)
{
    var lo = Number(minimum);
    var hi = Number(maximum);
    var n = parseInt(String(text), 10);
    if (isNaN(n))
        n = Number(emptyValue);
    if (isNaN(n))
        n = lo;
    return String(Math.min(Math.max(n, lo), hi));
}
