// The profile dialog with real input: the list it reads and stores, the profile files it asks the
// backend to reset, import and export, and the switch the title bar's drop-down asks for.
import QtQuick
import QtTest
import "support"
import "../../modules/qml/common"
import "../../modules/qml/Z9"

SceneStub {
    id: mainIten

    // Wired as the title bar wires its drop-down to the dialog.
    DropDownList {
        id: titleDrop
        x: 776
        y: 16
        width: 144
        model: profileMain.profileNames
        onItemSelected: function (index) {
            profileMain.chooseProfile(index);
        }
        Connections {
            target: profileMain
            function onActivePositionChanged()
            {
                titleDrop.currentIndex = profileMain.activePosition;
            }
        }
    }

    Profile {
        id: profileMain
    }

    SignalSpy {
        id: changeSpy
        target: profileMain
        signalName: "changeProfile"
    }

    TestCase {
        name: "ProfilePage"
        when: windowShown

        property var page: profileMain
        property var view: mainIten.ui_View

        function part(name) { return findChild(page, name); }
        function row(i) { return findChild(page, "profileRow" + i); }
        function stored() { return view.nameLists[2]; }
        function names() { return page.profileNames; }

        // The stored list as the name file holds it, read by init with `active` as the active number.
        function load(list, active)
        {
            view.nameLists = list === undefined ? {} : {2: list};
            page.profileNo = active === undefined ? 0 : active;
            page.profileLang = page.builtInLang;
            page.init();
            view.clearCalls();
        }

        function init()
        {
            view.chooserAccepts = true;
            load(["Standard0", "Office3", "profile_05"], 3);
            page.open();
            changeSpy.clear();
        }

        function cleanup()
        {
            page.profileFocus();
            page.close();
        }

        function typeText(text)
        {
            for (var i = 0; i < text.length; ++i)
                keyClick(text[i]);
        }

        // Double click on a row, replace the selected name with `text`, end with `key`.
        function rename(i, text, key)
        {
            mouseDoubleClickSequence(row(i));
            verify(part("nameInput").visible, "the input opens on row " + i);
            if (text === "")
                keyClick(Qt.Key_Backspace);
            typeText(text);
            if (key !== undefined)
                keyClick(key);
        }

        function menuCommand(i, entry)
        {
            mouseClick(row(i), 40, 16, Qt.RightButton);
            var menu = part("contextMenu");
            verify(menu.visible);
            mouseClick(menu, 40, 1 + entry * 24 + 12);
            verify(!menu.visible);
        }

        // The menu's Delete, answered in the question that names the profile (0 delete, 1 cancel).
        function deleteRow(i, answer)
        {
            menuCommand(i, 0);
            verify(part("deleteAskFrame").visible, "asked before deleting row " + i);
            mouseClick(part("deleteAskAnswer" + (answer === undefined ? 0 : answer)));
            verify(!part("deleteAskFrame").visible);
        }

        function test_initFromStore()
        {
            compare(names(), ["Standard", "Office", "profile_0"]);
            compare(page.profileNumbers, [0, 3, 5]);
            compare(page.currentIndex, 1, "the active profile is selected");
            compare(page.activePosition, 1);
            // The dummy entry of a one-profile list is no profile; the first is named for the language.
            load(["Gaming0", "loaderveltis"], 0);
            compare(names(), ["Standard"]);
            compare(stored(), ["Standard0", "loaderveltis"]);
            page.profileLang = ["配置", "新建", "导入", "删除", "导出", "标准"];
            page.init();
            compare(names(), ["标准"]);
            compare(part("contextMenu").model, ["删除", "导出"]);
            // Nothing stored yet: the first profile.
            load(undefined, 0);
            compare(page.profileNumbers, [0]);
            compare(stored(), ["Standard0", "loaderveltis"]);
            // Two entries naming one settings file: the second is not listed.
            load(["Standard0", "A2", "B2", "C4"], 4);
            compare(names(), ["Standard", "A", "C"]);
            compare(page.currentIndex, 2);
        }

        function test_newProfile()
        {
            mouseClick(part("newButton"));
            compare(names(), ["Standard", "Office", "profile_0", "profile_1"]);
            compare(page.profileNumbers, [0, 3, 5, 1]);
            compare(page.currentIndex, 3);
            compare(view.callsOf("resetProfile"), [[1]]);
            compare(stored(), ["Standard0", "Office3", "profile_05", "profile_11"]);
            // Names that end in a digit read back as they were.
            page.init();
            compare(names(), ["Standard", "Office", "profile_0", "profile_1"]);
            compare(page.profileNumbers, [0, 3, 5, 1]);

            mouseClick(part("newButton"));
            compare(page.profileNumbers, [0, 3, 5, 1, 2]);
            mouseClick(part("newButton"));
            compare(page.profileNumbers, [0, 3, 5, 1, 2, 4]);
            view.clearCalls();
            // Six is the most.
            mouseClick(part("newButton"));
            compare(page.profileNumbers, [0, 3, 5, 1, 2, 4]);
            compare(view.calls, []);
            // A longer hand-made list is kept, but gets no more.
            load(["S0", "A1", "B2", "C3", "D4", "E5", "F6"], 0);
            compare(names().length, 7);
            mouseClick(part("newButton"));
            page.profileMenuCmd(2);
            compare(names().length, 7);
            compare(view.calls, []);
        }

        function test_rename()
        {
            rename(1, "Work, \"late\"; 2", Qt.Key_Return);
            verify(!part("nameInput").visible);
            compare(names()[1], "Work, \"late\"; 2");
            compare(stored()[1], "Work, \"late\"; 23");
            page.init();
            compare(names()[1], "Work, \"late\"; 2");
            compare(page.profileNumbers[1], 3);
            view.clearCalls();

            // Another profile's name, a blank one, or Escape: the old name stays and nothing is stored.
            rename(2, "Standard", Qt.Key_Return);
            rename(2, "", Qt.Key_Enter);
            rename(2, "   ", Qt.Key_Return);
            rename(2, "Other", Qt.Key_Escape);
            compare(names()[2], "profile_0");
            compare(view.callsOf("updataNameList"), []);
            // The first profile carries the language's name.
            mouseDoubleClickSequence(row(0));
            verify(!part("nameInput").visible);
            // A name longer than can be typed survives a rename left untouched.
            var longName = "A name longer than the input takes, from elsewhere";
            load(["Standard0", longName + "1"], 0);
            mouseDoubleClickSequence(row(1));
            keyClick(Qt.Key_Return);
            compare(names()[1], longName);
            compare(view.callsOf("updataNameList"), []);
        }

        function test_renameCommittedOnLeaving()
        {
            var doubleClicks = 0;
            page.doubleClick.connect(function () { doubleClicks += 1; });
            rename(1, "Home");
            compare(doubleClicks, 1);
            page.profileFocus();
            verify(!part("nameInput").visible);
            compare(names()[1], "Home");
            compare(stored()[1], "Home3");
            // A press on another row takes the name too.
            rename(2, "Travel");
            mouseClick(row(0));
            compare(names(), ["Standard", "Home", "Travel"]);
            compare(page.currentIndex, 0);
            // So does closing the dialog.
            rename(2, "Away");
            page.close();
            compare(names()[2], "Away");
            compare(stored()[2], "Away5");
        }

        function test_contextMenu()
        {
            // Export: the profile the menu was opened on.
            menuCommand(2, 1);
            compare(view.callsOf("saveProfile"), [[5]]);
            // Neither the first profile nor the active one can be deleted: nothing is asked.
            menuCommand(0, 0);
            menuCommand(1, 0);
            verify(!part("deleteAskFrame").visible);
            compare(names(), ["Standard", "Office", "profile_0"]);
            compare(view.callsOf("updataNameList"), []);
            // A right click elsewhere moves the menu; a press beside it closes it.
            mouseClick(row(2), 40, 16, Qt.RightButton);
            mouseClick(page, 200, 290);
            verify(!part("contextMenu").visible);

            // The question names the profile; Cancel and Escape keep it.
            deleteRow(2, 1);
            menuCommand(2, 0);
            compare(findChild(part("deleteAskFrame"), "message").text, "Delete profile “profile_0”? It leaves the list.");
            keyClick(Qt.Key_Escape);
            verify(!part("deleteAskFrame").visible);
            compare(names(), ["Standard", "Office", "profile_0"]);
            deleteRow(2);
            compare(names(), ["Standard", "Office"]);
            compare(stored(), ["Standard0", "Office3"]);
            compare(page.currentIndex, 1);
            compare(view.callsOf("resetProfile"), [], "the deleted profile's file is left alone");
        }

        function test_import()
        {
            load(["Standard0", "A3"], 0);
            mouseClick(part("importButton"));
            // The new profile's number, not its list position, names the file.
            compare(view.callsOf("loadProfile"), [[1]]);
            compare(names(), ["Standard", "A", "profile_0"]);
            compare(stored(), ["Standard0", "A3", "profile_01"]);
            view.clearCalls();
            // Cancelled: nothing added, nothing stored.
            view.chooserAccepts = false;
            page.profileMenuCmd(2);
            compare(view.callsOf("loadProfile"), [[2]]);
            compare(view.callsOf("updataNameList"), []);
            compare(names().length, 3);
        }

        // An imported profile is named after its file.
        function test_importedName_data()
        {
            return [
                {tag: "file name", file: "Office setup", name: "Office setup"},
                {tag: "taken", file: "A", name: "A (2)"},
                {tag: "control characters", file: " Line\nbreak\t", name: "Line_break_"},
                {tag: "none", file: "", name: "profile_0"},
                {tag: "long", file: "x".repeat(60), name: "x".repeat(40)},
            ];
        }

        function test_importedName(data)
        {
            load(["Standard0", "A3"], 0);
            view.importedFile = data.file;
            mouseClick(part("importButton"));
            compare(names(), ["Standard", "A", data.name]);
            view.importedFile = "";
        }

        // The deleted profile's number comes back for the next profile, with the defaults or the
        // imported file, never with what the deleted one left.
        function test_deletedNumberReused()
        {
            deleteRow(2);
            view.clearCalls();
            mouseClick(part("newButton"));
            compare(page.profileNumbers, [0, 3, 1]);
            mouseClick(part("newButton"));
            compare(page.profileNumbers, [0, 3, 1, 2]);
            mouseClick(part("newButton"));
            compare(page.profileNumbers, [0, 3, 1, 2, 4]);
            deleteRow(4);
            view.clearCalls();
            mouseClick(part("newButton"));
            // Reset before the list names it.
            compare(view.calls.map(function (c) { return c.fn; }), ["resetProfile", "updataNameList"]);
            compare(view.callsOf("resetProfile"), [[4]]);
            deleteRow(4);
            view.clearCalls();
            mouseClick(part("importButton"));
            compare(view.callsOf("loadProfile"), [[4]]);
            compare(view.callsOf("resetProfile"), []);
        }

        // The title bar lists the names; choosing one asks for that profile's number.
        function test_titleBarChoice()
        {
            load(["Standard0", "A2", "B4"], 4);
            compare(titleDrop.currentIndex, 2);
            // A delete before the active profile moves it up the list.
            deleteRow(1);
            compare(titleDrop.model, ["Standard", "B"]);
            compare(titleDrop.currentIndex, 1);
            page.profileNo = 0;
            compare(titleDrop.currentIndex, 0);
            mouseClick(titleDrop);
            verify(titleDrop.isOpen);
            // The list's rows are laid out with the next frame.
            waitForRendering(titleDrop);
            mouseClick(titleDrop, titleDrop.width / 2, titleDrop.height * 2.5);
            compare(changeSpy.count, 1);
            compare(changeSpy.signalArguments[0][0], 4);
            // The main window then makes it active; the list marks it.
            page.profileNo = 4;
            compare(page.activePosition, 1);
            compare(page.currentIndex, 1);
            page.profileNo = 2;
            compare(page.activePosition, -1, "a number no longer listed");
        }
    }
}
