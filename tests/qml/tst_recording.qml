// Recording captured events into macro steps, and where inserted steps go.
import QtQuick
import QtTest
import "../../modules/qml/js/Recording.js" as Recording
import "../../modules/qml/js/MacroSteps.js" as MacroSteps
import "../../modules/qml/js/Payload.js" as Payload

TestCase {
    name: "Recording"

    // Feeds events [isDown, code, ticks before it] as the page would.
    function record(events, withDelay)
    {
        var steps = [];
        for (var i = 0; i < events.length; ++i) {
            var e = events[i];
            steps = steps.concat(Recording.eventSteps(steps, e[0], e[1], e[2], withDelay));
        }
        return MacroSteps.toStored(steps);
    }

    function test_withAndWithoutDelays()
    {
        var events = [[true, 0x04, 37], [false, 0x04, 20], [true, 0xf1, 3], [false, 0xf1, 0]];
        compare(record(events, true), ["1,A", "0,200", "2,A", "0,30", "3,MS-R", "0,0", "4,MS-R"]);
        compare(record(events, false), ["1,A", "2,A", "3,MS-R", "4,MS-R"]);
        // The recorded steps build the same bytes as typed ones.
        compare(Payload.deCode(record(events, true), 1), [0, 1, 20, 4, 0x83, 4, 1, 0xf1, 0x81, 0xf1, 0, 0]);
    }

    function test_ignoredEvents()
    {
        // A code without a name is dropped; so is everything once the payload limit is reached.
        compare(record([[true, 0x86, 5], [true, 0x05, 5]], true), ["1,B"]);
        var steps = [];
        for (var i = 0; i < 61; ++i)
            steps.push(MacroSteps.step(1, "A"));
        compare(Recording.eventSteps(steps, true, 0x04, 1, true), []);
        verify(!Recording.canAdd(steps));
        verify(Recording.canAdd(steps.slice(1)));
    }

    function test_languageNames()
    {
        var names = [];
        names[0] = "Ah";
        compare(Recording.eventSteps([], true, 0x04, 0, true, names), [{type: 1, info: "Ah"}]);
    }

    function test_stepForms()
    {
        compare(MacroSteps.splitStep("0,50"), {type: 0, info: "50"});
        compare(MacroSteps.splitStep("1,,"), {type: 1, info: ","});
        compare(MacroSteps.splitStep("x"), {type: -1, info: ""});
        compare(MacroSteps.stepText({type: 0, info: "50"}), "50 ms");
        compare(MacroSteps.stepText({type: 2, info: "A"}), "A");
        var loaded = MacroSteps.fromLoaded(["1,A", "2,A", "3"]);
        compare(loaded.repeat, "3");
        compare(MacroSteps.toStored(loaded.steps), ["1,A", "2,A"]);
        compare(MacroSteps.fromLoaded([]), {steps: [], repeat: "1"});
        compare(MacroSteps.commitRepeat(""), "1");
        compare(MacroSteps.commitRepeat("0"), "1");
        compare(MacroSteps.commitRepeat("-3"), "1");
        compare(MacroSteps.commitRepeat("12"), "12");
        compare(MacroSteps.commitRepeat("70000"), "65535");
        compare(MacroSteps.editDelay("250", "50"), "250");
        compare(MacroSteps.editDelay("65536", "50"), "50");
        compare(MacroSteps.editDelay("1e3", "50"), "50");
    }

    function test_insertPositions()
    {
        // Five steps: step 2 selected, the last one, none.
        compare(MacroSteps.insertIndex(5, 2), 3);
        compare(MacroSteps.insertIndex(5, 4), 5);
        compare(MacroSteps.insertIndex(5, -1), 5);
        compare(MacroSteps.toStored(MacroSteps.mouseButtonPair(0xf2)), ["3,MS-M", "4,MS-M"]);
        compare(MacroSteps.toStored(MacroSteps.keyPair("Q")), ["1,Q", "2,Q"]);
    }
}
