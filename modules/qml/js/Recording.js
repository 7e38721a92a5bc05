// Turns key and mouse-button events captured while recording into macro steps.
.pragma library

.import "KeyNames.js" as KeyNames
.import "MacroSteps.js" as MacroSteps
.import "Payload.js" as Payload

var TICK_MS = 10;

// The steps one event appends to `steps`: with `withDelay`, the measured delay (ticks of 10 ms)
// before it unless it is the first step, then the press or release. Nothing once the payload limit
// is reached, and nothing for a code without a name, which could be neither shown nor sent.
// The caller resets its tick count after every event it hands over.
function eventSteps(steps, isDown, usbCode, ticks, withDelay, names)
{
    var list = MacroSteps.toArray(steps);
    if (Payload.isFull(list))
        return [];
    var name = KeyNames.keycodeTostr(usbCode, names);
    if (name === "")
        return [];
    var out = [];
    if (list.length > 0 && withDelay) {
        var t = Math.max(0, Math.trunc(Number(ticks) || 0));
        out.push(MacroSteps.step(MacroSteps.DELAY, String(t * TICK_MS)));
    }
    var mouse = KeyNames.isMouseButton(usbCode);
    var type = isDown ? (mouse ? MacroSteps.MOUSE_DOWN : MacroSteps.KEY_DOWN)
                      : (mouse ? MacroSteps.MOUSE_UP : MacroSteps.KEY_UP);
    out.push(MacroSteps.step(type, name));
    return out;
}

// Whether an insertion from the step menu is allowed.
function canAdd(steps)
{
    return !Payload.isFull(steps);
}
