// Naming rules for macros and profiles, stored name lists, and the gun editor's rules.
import QtQuick
import QtTest
import "../../modules/qml/js/Naming.js" as Naming
import "../../modules/qml/js/NameList.js" as NameList
import "../../modules/qml/js/Gun.js" as Gun
import "../../modules/qml/js/Rate.js" as Rate

TestCase {
    name: "Rules"

    function numbered(prefix, count)
    {
        var out = [];
        for (var i = 0; i < count; ++i)
            out.push(prefix + i);
        return out;
    }

    function test_macroNames()
    {
        compare(Naming.newMacroName([]), "Macro_0");
        compare(Naming.newMacroName(["Macro_0", "Macro_2", "Other"]), "Macro_1");
        var full = numbered("Macro_", 100);
        compare(Naming.newMacroName(full), "Macro_100");
        verify(!Naming.canAddMacro(full));
        verify(Naming.canAddMacro(full.slice(1)));
        verify(Naming.acceptMacroName(["A"], "B"));
        verify(!Naming.acceptMacroName(["A", "B"], "B"));
        var refused = ["", ".", "..", "../setting/apConfig", "a\\b", "tab\there"];
        for (var i = 0; i < refused.length; ++i)
            verify(!Naming.acceptMacroName([], refused[i]), refused[i]);
        // What the macro store takes as a file name: no DEL/C1 control, at most 255 bytes with ".bin".
        var longest = new Array(252).join("a");
        verify(Naming.isUsableMacroName(longest) && !Naming.isUsableMacroName(longest + "a"));
        verify(!Naming.isUsableMacroName(new Array(127).join("\u00e9")));
        verify(Naming.isUsableMacroName("Macro_1") && Naming.isUsableMacroName("\u5b8f 1"));
        verify(!Naming.isUsableMacroName("del\x7f") && !Naming.isUsableMacroName(undefined));
        // The dummy entry would vanish from a two-name list when read back.
        verify(!Naming.acceptMacroName(["A"], "loaderveltis"));
    }

    function test_profileNamesAndNumbers()
    {
        compare(Naming.newProfileName(["Standard", "profile_0", "profile_1", "profile_3"]), "profile_2");
        compare(Naming.newProfileName(numbered("profile_", 12)), "profile_12");
        compare(Naming.newProfileNumber([0, 1, 3]), 2);
        compare(Naming.newProfileNumber([5, 4, 3, 2, 1, 0]), 6);
        verify(Naming.canAddProfile(5));
        verify(!Naming.canAddProfile(6));
        verify(!Naming.acceptProfileName(["Standard", "Office"], "Office"));
        verify(Naming.acceptProfileName(["Standard", "Office"], "Home"));
    }

    function test_oneElementListRule()
    {
        compare(NameList.readList(["A", "loaderveltis"]), ["A"]);
        compare(NameList.readList(["A", "B"]), ["A", "B"]);
        compare(NameList.readList(["A", "loaderveltis", "C"]), ["A", "loaderveltis", "C"]);
        compare(NameList.readList(["loaderveltis", "A"]), ["loaderveltis", "A"]);
        compare(NameList.readList([]), []);
        compare(NameList.readList(undefined), []);
    }

    function test_profileList()
    {
        var profiles = NameList.parseProfiles(["Standard0", "loaderveltis"]);
        compare(profiles, [{name: "Standard", number: 0}]);
        profiles = NameList.parseProfiles(["Standard0", "Office3", "x", "", "profile_12"]);
        compare(profiles, [{name: "Standard", number: 0}, {name: "Office", number: 3},
                           {name: "profile_1", number: 2}]);
        compare(NameList.storeProfiles(profiles), ["Standard0", "Office3", "profile_12"]);
        compare(NameList.storeProfiles([{textValue: "Home", profileNo: 4}]), ["Home4"]);
        compare(NameList.positionOf(profiles, 3), 1);
        compare(NameList.positionOf(profiles, 5), 0);
    }

    // What is stored reads back as the same profiles, whatever the names hold.
    function test_profileListRoundTrip()
    {
        var odd = [{name: "Team 2", number: 1}, {name: "", number: 4}, {name: "a, \"b\"; c", number: 2},
                   {name: "7", number: 5}, {name: "loaderveltis", number: 3}];
        compare(NameList.parseProfiles(NameList.storeProfiles(odd)), odd);
        var one = [{name: "9", number: 0}];
        compare(NameList.parseProfiles(NameList.storeProfiles(one).concat(["loaderveltis"])), one);
        // A number that is not one digit would read back as another profile: it is not written.
        compare(NameList.storeProfiles([{name: "A", number: 10}, {name: "B", number: -1},
                                        {name: "C", number: "x"}, {name: "D", number: "3"}]), ["D3"]);
        // Two entries naming one number would share one settings file: the first one stays.
        compare(NameList.parseProfiles(["Standard0", "Office3", "Copy3"]),
                [{name: "Standard", number: 0}, {name: "Office", number: 3}]);
    }

    function test_gunRules()
    {
        compare(Gun.periodText("15MS"), "15");
        compare(Gun.periodText("9MS"), "9");
        compare(Gun.periodText("100MS"), "100");
        compare(Gun.periodRatio(5), 0);
        compare(Gun.periodRatio(91), 1);
        compare(Gun.periodRatio(48), 0.5);
        compare(Gun.markerY(0), 89);
        compare(Gun.markerY(64), 183);
        compare(Gun.markerY(32), 136);
        compare(Gun.yFromMarker(50), 0);
        compare(Gun.yFromMarker(400), 64);
        compare(Gun.yFromMarker(135.9), 31);
        for (var y = 0; y <= 64; ++y)
            compare(Gun.yFromMarker(Gun.markerY(y)), y);
        compare(Gun.sendValues("0", "", "10"), [0, 0, 10]);
        compare(Gun.sendValues("300", "-2", "70"), [255, 0, 64]);
    }

    function test_gunRateRange()
    {
        // Every period the rate control can show comes back from its text.
        for (var p = Gun.PERIOD_MIN; p <= Gun.PERIOD_MAX; ++p)
            compare(Gun.releasedPeriod(Rate.rateText(Gun.ratePosition(p)), "10"), String(p));
        compare(Gun.ratePosition(2), 3);
        compare(Gun.ratePosition("95"), 89);
        compare(Gun.ratePosition("fast"), 9);
        // A rate text without digits keeps the period the preset has.
        compare(Gun.releasedPeriod("MS", "15"), "15");
        compare(Gun.releasedPeriod("", "abc"), "10");
        compare(Gun.releasedPeriod("95MS", "15"), "90");
    }
}
