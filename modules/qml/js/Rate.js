// The fire-rate text shared by the fire function and the gun presets: "<ms>MS".
.pragma library

var FIRE_INITIAL_TEXT = "10ms";

// Milliseconds shown for slider position p.
function rateValue(p)
{
    return Math.trunc(Number(p) || 0) + 1;
}

function rateText(p)
{
    return rateValue(p) + "MS";
}

// The number of milliseconds in a rate text: its leading digits ("15MS" gives "15", "9MS" "9").
function periodFromText(text)
{
    var m = /^[0-9]+/.exec(String(text));
    return m ? m[0] : "";
}
