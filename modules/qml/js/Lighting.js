// Lighting page rules: stored colour lists, slot colour texts and the controls of each effect.
.pragma library

.import "Hue.js" as Hue

var SLOTS = 8;
var BUILT_IN_COLORS = ["#ff0000", "#00ff00", "#0000ff", "#ff00ff", "#00ffff", "#ff7f00", "#6000ff",
                       "#ffffff"];
var PERCENT_TEXTS = ["0%", "25%", "50%", "75%", "100%"];
var STEPS = 5;
// The effect the list shows before anything is loaded.
var DEFAULT_EFFECT = 1;
// Language entries titling the effects every mouse has (indexes 0 ... 3).
var BASE_EFFECT_TEXTS = [1, 2, 3, 4];

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

// Language entries titling the effects a model adds after the four every mouse has.
function extraEffectTexts(isColorful, is55328)
{
    var out = isColorful ? [8, 9, 10, 11, 12, 13, 14] : [];
    if (is55328)
        out.push(15);
    return out;
}

// [effect, speed step, brightness step] of a stored "mouse/lightValue" list, safe to show and send:
// an effect the list of `effectCount` entries lacks reads as the default one, a step that is not a
// number as 0, and a step outside 0 ... 4 is held to it.
function lightValues(list, effectCount)
{
    var v = list || [];
    // A stored text that is not a whole number reads as NaN (Number() would take "" as 0).
    function number(x)
    {
        if (x === undefined || x === null || String(x).trim() === "")
            return NaN;
        var n = Number(x);
        return isFinite(n) ? Math.trunc(n) : NaN;
    }
    function step(x)
    {
        var n = number(x);
        return isNaN(n) ? 0 : Math.min(Math.max(n, 0), STEPS - 1);
    }
    var effect = number(v[0]);
    if (!(effect >= 0 && effect < Number(effectCount)))
        effect = DEFAULT_EFFECT;
    return [effect, step(v[1]), step(v[2])];
}

// Whether colour slot `slot` is offered. Slot 7 never is; a 55328-kind mouse takes its further colours
// only under effect 4; other mice get one per supported DPI stage, or all on a full-colour mouse.
function slotVisible(slot, dpiCount, isColorful, is55328, effect)
{
    var i = Number(slot);
    var stages = Number(dpiCount) || 0;
    if (i === 0)
        return stages > 0 || !!isColorful;
    if (i < 1 || i > 6)
        return false;
    if (is55328)
        return Number(effect) === 4;
    return stages > i || !!isColorful;
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
