// Macro payload bytes and length for the rules the mouse depends on.
import QtQuick
import QtTest
import "../../modules/qml/js/Payload.js" as Payload
import "../../modules/qml/js/MacroSteps.js" as MacroSteps

TestCase {
    name: "Payload"

    function s(type, info) { return MacroSteps.step(type, info); }
    // press A, wait `ms`, release A
    function tap(ms) { return [s(1, "A"), s(0, String(ms)), s(2, "A")]; }

    function test_workedExample()
    {
        compare(Payload.deCode(tap(50), 1), [0, 1, 5, 4, 0x81, 4, 0, 0]);
        // Steps straight from a loaded macro file convert the same way.
        compare(Payload.deCode(["1,A", "0,50", "2,A"], "1"), [0, 1, 5, 4, 0x81, 4, 0, 0]);
    }

    function test_header()
    {
        compare(Payload.deCode([s(1, "B")], 300), [1, 44, 1, 5, 0, 0]);
        compare(Payload.deCode([s(0, "500")], 2), [0, 2]);
        compare(Payload.deCode([], "junk"), [0, 0]);
        compare(Payload.deCode([s(1, "A")], 70000).slice(0, 2), [255, 255]);
    }

    function test_leadingAndTrailingDelaysDropped()
    {
        var steps = [s(0, "300"), s(0, "20"), s(3, "MS-L"), s(0, "40"), s(4, "MS-L"), s(0, "900")];
        compare(Payload.deCode(steps, 1), [0, 1, 4, 0xf0, 0x81, 0xf0, 0, 0]);
        compare(Payload.recordCount(steps), 8);
    }

    function test_consecutiveDelaysAdd()
    {
        var steps = [s(1, "A"), s(0, "600"), s(0, "660"), s(2, "A")];
        compare(Payload.deCode(steps, 1).slice(2, 4), [126, 4]);
    }

    function test_zeroAndFractionalDelays_data()
    {
        return [
            {tag: "none", ms: null, press: 1},
            {tag: "0 ms", ms: "0", press: 1},
            {tag: "5 ms", ms: "5", press: 1},
            {tag: "19 ms", ms: "19", press: 1},
            {tag: "1269 ms", ms: "1269", press: 126},
            {tag: "garbage", ms: "x1", press: 1},
            {tag: "negative", ms: "-500", press: 1},
        ];
    }

    function test_zeroAndFractionalDelays(d)
    {
        var steps = d.ms === null ? [s(1, "A"), s(2, "A"), s(1, "A")] : [s(2, "A"), s(0, d.ms), s(1, "A")];
        var out = Payload.deCode(steps, 1);
        // Never a timing byte whose low seven bits are 0 outside the extended form.
        if (d.ms === null) {
            compare(out[2], d.press);
        } else {
            compare(out[2], d.press | 0x80);
            verify((out[2] & 0x7f) !== 0);
        }
    }

    function test_extendedForm_data()
    {
        return [
            {tag: "127 units", ms: 1270, rec: [0, 1, 0, 63]},
            {tag: "99999 units", ms: 999990, rec: [0, 1, 0xc3, 0x4f]},
            {tag: "100000 units", ms: 1000000, rec: [0, 2, 0x4e, 0x20]},
            {tag: "299999 units", ms: 2999990, rec: [0, 2, 0xea, 0x5f]},
            {tag: "300000 units", ms: 3000000, rec: [0, 3, 0x75, 0x30]},
            {tag: "599999 units", ms: 5999990, rec: [0, 3, 0xea, 0x5f]},
            {tag: "600000 units", ms: 6000000, rec: [0, 3, 0xff, 0xff]},
            {tag: "far beyond", ms: 1e12, rec: [0, 3, 0xff, 0xff]},
        ];
    }

    function test_extendedForm(d)
    {
        var out = Payload.deCode(tap(d.ms), 1);
        compare(out, [0, 1, 0, 4].concat(d.rec).concat([0x81, 4, 0, 0]));
        compare(Payload.recordCount(tap(d.ms)), out.length);
        // After a release the extended timing byte carries only the release bit.
        var rel = Payload.deCode([s(2, "A"), s(0, String(d.ms)), s(1, "A")], 1);
        compare(rel[2], 0x80);
    }

    function test_keyNames()
    {
        // A duplicate name converts to its first code; an unknown name to 0.
        compare(Payload.deCode([s(1, "\\"), s(2, "Intl2"), s(1, "Nope")], 1),
                [0, 1, 1, 0x31, 0x81, 0x88, 1, 0, 0, 0]);
        // With a language's names, the built-in spelling no longer converts.
        var names = ["Ä"];
        compare(Payload.deCode([s(1, "Ä"), s(1, "A")], 1, names).slice(3, 6), [4, 1, 0]);
    }

    function test_limit()
    {
        var steps = [];
        while (Payload.recordCount(steps) < 124)
            steps.push(s(1, "A"));
        compare(steps.length, 60);
        verify(!Payload.isFull(steps));
        steps.push(s(2, "A"));
        compare(Payload.recordCount(steps), 126);
        verify(Payload.isFull(steps));
        // Below the limit, one recorded event with a long delay before it adds six bytes.
        var big = steps.slice(0, 60).concat([s(0, "2000"), s(2, "A")]);
        compare(Payload.recordCount(big), 130);
        compare(Payload.deCode(big, 1).length, 124);
        // 62 actions fill the 128 bytes exactly: the last one is kept.
        var full = steps.slice(0, 60).concat([s(2, "A"), s(1, "B")]);
        var out = Payload.deCode(full, 1);
        compare(out.length, 128);
        compare(out.slice(122), [0x81, 4, 1, 5, 0, 0]);
    }

    function test_tooLongKeepsTerminator()
    {
        var steps = [];
        for (var i = 0; i < 70; ++i)
            steps.push(s(1, "B"), s(0, "5000"));
        steps.push(s(2, "C"));
        var out = Payload.deCode(steps, 1);
        verify(out.length <= 128);
        compare(out.slice(out.length - 4), [1, 5, 0, 0]);
        compare(out.length, 2 + 6 * 20 + 2 + 2);
    }
}
