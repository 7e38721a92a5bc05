// Lighting page rules: stored colour lists, slot colour texts and the controls of each effect.
.pragma library

.import "Hue.js" as Hue

var SLOTS = 8;
var BUILT_IN_COLORS = ["#ff0000", "#00ff00", "#0000ff", "#ff00ff", "#00ffff", "#ff7f00", "#6000ff",
                       "#ffffff"];
var PERCENT_TEXTS = ["0%", "25%", "50%", "75%", "100%"];

// The eight slot colours of a stored list of 24 components; a missing component reads as 0.
function colorTexts(colorValue)
{
    var cv = colorValue || [];
    var out = [];
    for (var i = 0; i < SLOTS; ++i)
        out.push(Hue.colorText(cv[3 * i] || 0, cv[3 * i + 1] || 0, cv[3 * i + 2] || 0));
    return out;
}

// The 24 components to store and send. A mouse of the 55328 kind gets slot 7 as black unless
// effect 4 is selected.
function colorValues(texts, is55328, effect)
{
    var out = [];
    for (var i = 0; i < SLOTS; ++i) {
        var c = Hue.parseColorText(texts && i < texts.length ? texts[i] : "#000000");
        out.push(c[0], c[1], c[2]);
    }
    if (is55328 && Number(effect) !== 4)
        out[21] = out[22] = out[23] = 0;
    return out;
}

function percentText(step)
{
    var t = PERCENT_TEXTS[Number(step)];
    return t === undefined ? "" : t;
}

// Which sliders an effect shows and where picking it puts them (null: left where it is).
function effectControls(effect, is55328)
{
    function c(speedShown, speed, brightShown, bright)
    {
        return {speedVisible: speedShown, speed: speed, brightnessVisible: brightShown, brightness: bright};
    }
    switch (Number(effect)) {
    case 0:
    case 7:
        return c(false, null, true, 4);
    case 1:
    case 2:
        return c(true, 0, false, null);
    case 3:
        return c(false, null, false, 0);
    case 4:
        return is55328 ? c(true, 0, false, null) : c(false, null, true, 4);
    case 5:
    case 8:
    case 9:
    case 10:
        return c(true, 0, true, 4);
    case 6:
        return c(false, 0, false, 4);
    default:
        return c(false, null, false, null);
    }
}
