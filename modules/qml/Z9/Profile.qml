// The profile dialog: the user's profiles by name, each one settings file known by its number. New,
// import, rename in place (double click), delete and export (context menu). The title bar's drop-down
// shows the same list and switches the active profile through changeProfile(number). Under the list,
// the programs linked to the selected profile (its profile is put on the mouse while one of them is
// in front), "Link to program…", the profile for every other program, and the balloon's switch.
pragma ComponentBehavior: Bound
import QtQuick
import "../common"
import "../js/Lang.js" as Lang
import "../js/NameList.js" as NameList
import "../js/Naming.js" as Naming

DialogFrame {
    id: profile

    // Raised with the profile NUMBER of the entry chosen in the title bar: after a delete, list
    // positions and numbers differ, and the position would switch to another profile's file.
    signal changeProfile(int tmpProfileNo)
    signal listViewFocus
    signal doubleClick

    readonly property var builtInLang: ["Config", "New", "Import", "Delete", "Export", "Standard",
        "Programs that switch to “%1”:", "Link to program…", "Default for all other programs",
        "Show a balloon when a program switches the profile", "No program linked", "Remove the link",
        "Windows open now", "Program name:", "Link", "Cancel",
        "Native Wayland programs cannot be followed on this desktop; X11 programs are.",
        "Following programs is not available on this desktop.", "default", "Link to program"]
    // Title, New, Import, Delete, Export, the first profile's name; 6 on the programs linked to a
    // profile: the caption over them, the link button, the default's and the balloon's check boxes,
    // the empty list's text, the remove tip, the link dialog's list caption, name label, Link, Cancel,
    // the two texts for desktops where programs cannot (all) be followed, the default's mark, the link
    // dialog's title.
    property var profileLang: builtInLang
    // The active profile's number; the main window sets it.
    property int profileNo: -1
    property alias profileDataModel0: profileModel
    // The list's display names and numbers in order (the title bar's drop-down shows the names).
    property var profileNames: []
    property var profileNumbers: []
    // Where the active profile is in the list; -1 while it is not listed.
    readonly property int activePosition: profileNumbers.indexOf(profileNo)
    property alias currentIndex: listView.currentIndex
    // The position being renamed, -1 when none.
    property int editIndex: -1

    // The links between programs and profiles ([{program, profile}]), where the window has them.
    readonly property bool canLink: typeof appProfiles !== "undefined" && appProfiles !== null
    property var programLinks: []
    readonly property int selectedNumber: listView.currentIndex >= 0 && listView.currentIndex < profileNumbers.length
                                          ? profileNumbers[listView.currentIndex] : -1
    readonly property var selectedPrograms: programsOf(selectedNumber)

    function reloadLinks()
    {
        programLinks = canLink ? appProfiles.links() : [];
    }

    function programsOf(number)
    {
        var out = [];
        for (var i = 0; i < programLinks.length; ++i) {
            if (programLinks[i].profile === number)
                out.push(String(programLinks[i].program));
        }
        return out;
    }

    function linkProgram(program)
    {
        if (canLink && selectedNumber >= 0)
            appProfiles.link(program, selectedNumber);
    }

    function unlinkProgram(program)
    {
        if (canLink)
            appProfiles.unlink(program);
    }

    Connections {
        target: profile.canLink ? appProfiles : null
        function onChanged() { profile.reloadLinks(); }
    }

    function langText(i)
    {
        return Lang.text(profileLang, i, builtInLang);
    }

    function init()
    {
        cancelRename();
        contextMenu.close();
        var profiles = NameList.parseProfiles(ui_View.getNameList(2));
        // Without a stored list there is still the first profile.
        if (profiles.length === 0)
            profiles = [{name: "", number: 0}];
        profileModel.clear();
        for (var i = 0; i < profiles.length; ++i)
            profileModel.append({textValue: profiles[i].name, profileNo: profiles[i].number});
        listView.currentIndex = NameList.positionOf(profiles, profileNo);
        // The first profile always carries this language's name for it.
        profileModel.setProperty(0, "textValue", langText(5));
        storeList();
        reloadLinks();
    }

    // Leaving the dialog's list: a rename being typed is taken, the menu closes.
    function profileFocus()
    {
        nameInput.releaseFocus();
        contextMenu.close();
    }

    // 0 delete, 1 export (both the selected entry), 2 import.
    function profileMenuCmd(cmd)
    {
        profileFocus();
        var command = Number(cmd);
        if (command === 0)
            askDelete(listView.currentIndex);
        else if (command === 1)
            exportProfile(listView.currentIndex);
        else if (command === 2)
            importProfile();
    }

    // The title bar's choice of list position i.
    function chooseProfile(i)
    {
        if (i >= 0 && i < profileModel.count)
            changeProfile(profileModel.get(i).profileNo);
    }

    function storeList()
    {
        var texts = [];
        var numbers = [];
        for (var i = 0; i < profileModel.count; ++i) {
            texts[i] = profileModel.get(i).textValue;
            numbers[i] = profileModel.get(i).profileNo;
        }
        profileNames = texts;
        profileNumbers = numbers;
        ui_View.updataNameList(2, NameList.storeProfiles(profileModel));
    }

    function addProfile(number, name)
    {
        profileModel.append({textValue: name === undefined ? Naming.newProfileName(profileNames) : name,
                             profileNo: number});
        listView.currentIndex = profileModel.count - 1;
        listView.positionViewAtIndex(listView.currentIndex, ListView.Contain);
        storeList();
    }

    // A new profile starts from the defaults, never from what a deleted one with its number left.
    function newProfile()
    {
        profileFocus();
        if (!Naming.canAddProfile(profileModel.count))
            return;
        var number = Naming.newProfileNumber(profileNumbers);
        ui_View.resetProfile(number);
        addProfile(number);
    }

    // The backend asks for the file; a cancelled dialog adds nothing.
    function importProfile()
    {
        profileFocus();
        if (!Naming.canAddProfile(profileModel.count))
            return;
        var number = Naming.newProfileNumber(profileNumbers);
        if (ui_View.loadProfile(number) !== true)
            return;
        // Named after the file it came from.
        addProfile(number, Naming.importedProfileName(profileNames, ui_View.importedProfileName()));
    }

    // The delete asks first, naming the profile; only what deleteProfile would remove is asked about.
    property int deleteAsked: -1

    function askDelete(i)
    {
        if (i <= 0 || i >= profileModel.count || profileModel.get(i).profileNo === profileNo)
            return;
        deleteAsked = i;
        deleteAsk.ask(Lang.withName(Lang.main(mainLang, 21), profileModel.get(i).textValue),
                      [Lang.main(mainLang, 20), Lang.main(mainLang, 7)], 1);
    }

    // Neither the first profile nor the active one goes; the settings file stays as it is.
    function deleteProfile(i)
    {
        if (i <= 0 || i >= profileModel.count || profileModel.get(i).profileNo === profileNo)
            return;
        cancelRename();
        // Its programs follow the default again; a later profile with its number starts with none.
        if (canLink)
            appProfiles.dropProfile(profileModel.get(i).profileNo);
        profileModel.remove(i);
        listView.currentIndex = Math.min(i, profileModel.count - 1);
        storeList();
    }

    // The entry the menu was opened on is exported.
    function exportProfile(i)
    {
        if (i >= 0 && i < profileModel.count)
            ui_View.saveProfile(profileModel.get(i).profileNo);
    }

    // The first profile's name follows the language, so it is not renamed.
    function startRename(i)
    {
        if (i <= 0 || i >= profileModel.count)
            return;
        contextMenu.close();
        editIndex = i;
        listView.positionViewAtIndex(i, ListView.Contain);
        nameInput.edit(profileModel.get(i).textValue);
        doubleClick();
    }

    function cancelRename()
    {
        editIndex = -1;
        if (nameInput.editing)
            nameInput.finish(false);
    }

    // Taken when it is not blank and no other profile has it.
    function finishRename(text)
    {
        var i = editIndex;
        editIndex = -1;
        if (i < 0 || i >= profileModel.count)
            return;
        var name = String(text);
        if (name === profileModel.get(i).textValue || name.trim() === "")
            return;
        var others = profileNames.filter(function (n, k) { return k !== i; });
        if (!Naming.acceptProfileName(others, name))
            return;
        profileModel.setProperty(i, "textValue", name);
        storeList();
    }

    // Room for the programs of the selected profile where the window can link them (fixed sizes: the
    // dialog opens centred).
    width: canLink ? 480 : 416
    height: !canLink ? 312 : linksPanel.coverageText === "" ? 474 : 512
    mask: mainMask
    title: langText(0)
    closeSource: Theme.sourceCloseBtn
    closeTip: Lang.main(mainLang, 15)
    closeHoverSource: Theme.sourceCloseBtnH
    textColor: Theme.fontColor
    titleSize: Theme.fontMiddleSize
    fontName: Theme.fontFamily
    color: Theme.colorGray0
    border.color: Theme.colorGray1

    // The active profile is the one selected when the dialog opens.
    onProfileNoChanged: {
        var i = profileNumbers.indexOf(profileNo);
        if (i >= 0)
            listView.currentIndex = i;
    }
    onBackgroundPressed: profileFocus()
    onClosed: mainFocus()
    onVisibleChanged: {
        if (visible)
            return;
        profileFocus();
        // Closed while asking: nothing is deleted, nothing linked.
        if (deleteAsk.isOpen)
            deleteAsk.answer(1);
        if (linkDialog.isOpen)
            linkDialog.cancel();
    }

    ListModel {
        id: profileModel
    }

    Rectangle {
        x: 16
        y: 40
        width: parent.width - 32
        height: 1
        color: Theme.colorGray1
    }

    Rectangle {
        id: listBox
        x: 16
        y: 52
        width: parent.width - 32
        height: 6 * 32 + 2
        color: Theme.colorBlack
        border.color: Theme.colorGray1

        ListView {
            id: listView
            objectName: "profileList"
            x: 1
            y: 1
            width: parent.width - 2 - (scrollBar.visible ? scrollBar.width + 2 : 0)
            height: parent.height - 2
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            model: profileModel
            currentIndex: 0
            delegate: Rectangle {
                id: row
                required property int index
                required property string textValue
                required property int profileNo
                readonly property bool active: profileNo === profile.profileNo
                objectName: "profileRow" + index
                width: ListView.view.width
                height: 32
                color: ListView.isCurrentItem ? Theme.colorBlue : (rowArea.containsMouse ? Theme.colorGray1 : "transparent")

                // The active profile is marked at its left edge.
                Rectangle {
                    visible: row.active
                    x: 0
                    y: 4
                    width: 3
                    height: parent.height - 8
                    color: Theme.colorOrange
                }
                Text {
                    id: rowName
                    x: 14
                    width: Math.min(implicitWidth, parent.width * 0.45)
                    anchors.verticalCenter: parent.verticalCenter
                    visible: profile.editIndex !== row.index
                    elide: Text.ElideRight
                    text: row.textValue
                    color: row.active && !row.ListView.isCurrentItem ? Theme.colorOrange : Theme.fontColor
                    font.pixelSize: Theme.fontNormalSize
                    font.family: Theme.fontFamily
                }
                // Its programs, and whether it is the profile for all the others.
                Text {
                    objectName: "rowPrograms"
                    anchors.left: rowName.right
                    anchors.leftMargin: 12
                    anchors.right: parent.right
                    anchors.rightMargin: 10
                    anchors.verticalCenter: parent.verticalCenter
                    visible: profile.editIndex !== row.index && text !== ""
                    horizontalAlignment: Text.AlignRight
                    elide: Text.ElideRight
                    text: {
                        var parts = profile.programsOf(row.profileNo);
                        if (profile.canLink && appProfiles.defaultProfile === row.profileNo
                                && profile.programLinks.length > 0)
                            parts.unshift("(" + profile.langText(18) + ")");
                        return parts.join(", ");
                    }
                    color: row.ListView.isCurrentItem ? Theme.colorGray3 : Theme.colorGray2
                    font.pixelSize: Theme.fontMinSize + 1
                    font.family: Theme.fontFamily
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onPressed: function (mouse) {
                        if (profile.editIndex !== row.index)
                            profile.profileFocus();
                        profile.listViewFocus();
                        listView.currentIndex = row.index;
                        if (mouse.button === Qt.RightButton) {
                            var p = mapToItem(profile, mouse.x, mouse.y);
                            contextMenu.popup(p.x, p.y);
                        }
                    }
                    onDoubleClicked: function (mouse) {
                        if (mouse.button === Qt.LeftButton)
                            profile.startRename(row.index);
                    }
                }
            }
        }

        ScrollBar {
            id: scrollBar
            anchors.right: parent.right
            anchors.rightMargin: 2
            y: 2
            height: parent.height - 4
            flickable: listView
            trackColor: Theme.colorGray0
            handleColor: Theme.colorGray2
            activeColor: Theme.colorOrange
        }

        NameInput {
            id: nameInput
            objectName: "nameInput"
            visible: editing
            x: 8
            y: 1 + profile.editIndex * 32 - listView.contentY + 4
            width: listView.width - 14
            height: 24
            textColor: Theme.fontColor
            selectionColor: Theme.colorOrange
            fontSize: Theme.fontNormalSize
            fontName: Theme.fontFamily
            color: Theme.colorGray0
            border.color: Theme.colorOrange
            onCommitted: function (text) {
                profile.finishRename(text);
            }
            onCancelled: profile.editIndex = -1
        }
    }

    ProgramLinks {
        id: linksPanel
        objectName: "programLinks"
        x: 16
        y: listBox.y + listBox.height + 10
        width: parent.width - 32
        visible: profile.canLink
        caption: profile.langText(6).replace("%1", profile.selectedNumber >= 0 && listView.currentIndex < profile.profileNames.length
                                                  ? profile.profileNames[listView.currentIndex] : "")
        programs: profile.selectedPrograms
        emptyText: profile.langText(10)
        removeTip: profile.langText(11)
        linkText: profile.langText(7)
        defaultText: profile.langText(8)
        balloonText: profile.langText(9)
        coverageText: !profile.canLink || appProfiles.coverage === "all" ? ""
                      : appProfiles.coverage === "x11" ? profile.langText(16) : profile.langText(17)
        isDefault: profile.canLink && appProfiles.defaultProfile === profile.selectedNumber
        balloons: profile.canLink && appProfiles.balloons
        onRemove: function (program) { profile.unlinkProgram(program); }
        onLinkClicked: {
            profile.profileFocus();
            linkDialog.open();
        }
        onDefaultToggled: function (checked) {
            // One profile is always the default: unticking leaves the first one as it.
            if (profile.canLink)
                appProfiles.defaultProfile = checked ? profile.selectedNumber : profile.profileNumbers[0];
        }
        onBalloonsToggled: function (checked) {
            if (profile.canLink)
                appProfiles.balloons = checked;
        }
    }

    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 20
        spacing: 40

        PictureButton {
            id: newButton
            objectName: "newButton"
            width: 88
            height: 25
            source: Theme.sourceSureBtn
            hoverSource: Theme.sourceSureBtnH
            text: profile.langText(1)
            textColor: Theme.fontColor
            color: Theme.colorBlue
            hoverColor: Theme.colorOrange
            fontSize: Theme.fontNormalSize
            fontName: Theme.fontFamily
            onClicked: profile.newProfile()
        }
        PictureButton {
            id: importButton
            objectName: "importButton"
            width: 88
            height: 25
            source: Theme.sourceSureBtn
            hoverSource: Theme.sourceSureBtnH
            text: profile.langText(2)
            textColor: Theme.fontColor
            color: Theme.colorBlue
            hoverColor: Theme.colorOrange
            fontSize: Theme.fontNormalSize
            fontName: Theme.fontFamily
            onClicked: profile.importProfile()
        }
    }

    LinkProgram {
        id: linkDialog
        objectName: "linkDialog"
        texts: [profile.langText(19), profile.langText(12), profile.langText(13), profile.langText(14),
            profile.langText(15)]
        closeSource: Theme.sourceCloseBtn
        closeHoverSource: Theme.sourceCloseBtnH
        buttonSource: Theme.sourceSureBtn
        buttonHoverSource: Theme.sourceSureBtnH
        focusBack: profile
        onChosen: function (program) { profile.linkProgram(program); }
    }

    AskDialog {
        id: deleteAsk
        objectName: "deleteAsk"
        title: Lang.main(mainLang, 20)
        buttonSource: Theme.sourceSureBtn
        buttonHoverSource: Theme.sourceSureBtnH
        closeSource: Theme.sourceCloseBtn
        closeHoverSource: Theme.sourceCloseBtnH
        textColor: Theme.fontColor
        fontSize: Theme.fontNormalSize
        titleSize: Theme.fontMiddleSize
        fontName: Theme.fontFamily
        color: Theme.colorGray0
        borderColor: Theme.colorGray1
        focusBack: profile
        onAnswered: function (index) {
            var i = profile.deleteAsked;
            profile.deleteAsked = -1;
            if (index === 0)
                profile.deleteProfile(i);
        }
    }

    ContextMenu {
        id: contextMenu
        objectName: "contextMenu"
        width: 120
        model: [profile.langText(3), profile.langText(4)]
        textColor: Theme.fontColor
        highlightColor: Theme.colorOrange
        fontSize: Theme.fontNormalSize
        fontName: Theme.fontFamily
        color: Theme.colorGray0
        border.color: Theme.colorGray1
        onTriggered: function (index) {
            profile.profileMenuCmd(index);
        }
    }
}
