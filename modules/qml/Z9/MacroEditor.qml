// The macro editor: the user's macros by name, the steps of the selected one, recording from the
// captured keys, inserting, editing and deleting steps, the repeat count, and creating, importing,
// exporting, renaming and deleting macros. Every change is saved at once and announced, so the main
// window can re-send the macro to the buttons that use it.
pragma ComponentBehavior: Bound
import QtQuick
import "../common"
import "../js/Lang.js" as Lang
import "../js/KeyNames.js" as KeyNames
import "../js/MacroSteps.js" as MacroSteps
import "../js/NameList.js" as NameList
import "../js/Naming.js" as Naming
import "../js/Payload.js" as Payload
import "../js/Recording.js" as Recording

DialogFrame {
    id: macroEditor

    signal deleteMacro(string macroName)
    signal modifyMacroName(string oldMacroName, string newMacroName)
    signal modifyMacroData(string macroName)

    readonly property var builtInLang: ["Macro Editor", "Macro Name", "New", "Delete", "Action", "Stop Record",
        "Times", "OK", "Start Record", "Delay", "Delete", "Import", "Export", "Insert Delay", "Insert Key",
        "Insert Left Key", "Insert Middle Key", "Insert Right Key", "", ""]
    property var macroEditorLang: builtInLang

    // Recording is on / the insert-key dialog waits for a key. The main window forwards captured keys
    // only while one of them is set and a macro is selected (hasSelection).
    // The key-name table, handed over by the main window.
    property var keyNames: undefined
    // The macro names after a change, for the assignment dialog's macro list; and that list is to close.
    signal namesHanded(var names, bool isInit)
    signal macroListClosing
    property bool isInputting: false
    property bool isInsertting: false
    // 10 ms periods since the last recorded event.
    property int macroRecordCount: 0
    property real recordSince: 0
    property alias macroRecord: recordTimer
    property alias countRecordInput: repeatInput
    property alias delayRecord: delayCheck

    property int selectedMacro: -1
    property int selectedStep: -1
    readonly property bool hasSelection: selectedMacro >= 0 && selectedMacro < macroModel.count
    // Kept with the selection and renames (a binding would not see a renamed entry).
    property string selectedName: ""
    // A name the macro store would refuse is shown but never becomes a file name.
    readonly property bool canEdit: hasSelection && Naming.isUsableMacroName(selectedName)
    // The repeat count as last loaded or saved; an unchanged entry saves nothing.
    property string shownRepeat: "1"
    // The captured key the insert-key dialog shows.
    property string insertKeyName: ""
    property string renameOld: ""

    readonly property int rowHeight: 24

    function langText(i)
    {
        return Lang.text(macroEditorLang, i, builtInLang);
    }

    function macroNames()
    {
        var out = new Array(macroModel.count);
        for (var i = 0; i < macroModel.count; ++i)
            out[i] = macroModel.get(i).name;
        return out;
    }

    // --- what the main window and the assignment dialog call ---

    function init()
    {
        discardEdits();
        closeInsertKey();
        stopRecord(false);
        var names = NameList.readList(ui_View.getNameList(0));
        macroModel.clear();
        var seen = [];
        for (var i = 0; i < names.length; ++i) {
            // One entry per name: two would share one file, and deleting one would delete both.
            if (names[i] === "" || seen.indexOf(names[i]) >= 0)
                continue;
            seen.push(names[i]);
            macroModel.append({name: names[i]});
        }
        selectMacroAt(macroModel.count > 0 ? 0 : -1);
        handNames(true);
    }

    function sendMacro(index, macroName)
    {
        if (!Naming.isUsableMacroName(macroName))
            return false;
        var loaded = MacroSteps.fromLoaded(ui_View.loadMacroIni(macroName));
        var payload = Payload.deCode(loaded.steps, MacroSteps.commitRepeat(loaded.repeat), keyNames);
        ui_View.mouseSendMacroData(payload, index);
        return true;
    }

    // Waits for captured keys: recording, or the insert-key dialog open, on a shown selected macro.
    readonly property bool wantsKeys: visible && hasSelection && (isInputting || isInsertting)

    // A captured key, to the recording or to the insert-key dialog, whichever waits for it.
    function takeKey(isDown, usbCode)
    {
        if (isInputting)
            detectKeyboard(isDown, usbCode);
        else
            detectInput(isDown, usbCode);
    }

    // A captured key while recording.
    function detectKeyboard(isDown, usbCode)
    {
        if (!isInputting || !canEdit)
            return;
        var ticks = Math.max(macroRecordCount, elapsedTicks());
        var added = Recording.eventSteps(stepModel, isDown, usbCode, ticks, delayCheck.checked, keyNames);
        resetTicks();
        for (var i = 0; i < added.length; ++i)
            stepModel.append(added[i]);
        stepBox.view.positionViewAtEnd();
    }

    // A captured key while the insert-key dialog is open: the last key pressed is the one inserted.
    function detectInput(isDown, usbCode)
    {
        if (!isInsertting || !canEdit || !isDown || KeyNames.isMouseButton(usbCode))
            return;
        var name = KeyNames.keycodeTostr(usbCode, keyNames);
        if (name !== "")
            insertKeyName = name;
    }

    // Commits an open name or delay edit and the repeat count, and closes the menus.
    function macroEditorFocus()
    {
        macroBox.input.releaseFocus();
        stepBox.input.releaseFocus();
        repeatInput.releaseFocus();
        closeMenus();
    }

    // --- helpers ---

    function popup(menu, item, x, y)
    {
        var p = item.mapToItem(menu.parent, x, y);
        menu.popup(p.x, p.y);
    }

    // A click on a step (-1: below the steps) selects it; a right click opens the step menu.
    function stepClicked(index, button, item, x, y)
    {
        macroEditorFocus();
        if (isInputting)
            return;
        selectedStep = index;
        if (button === Qt.RightButton && canEdit)
            popup(stepMenu, item, x, y);
    }

    function closeMenus()
    {
        macroMenu.close();
        stepMenu.close();
    }

    // Edits of a macro that is going away are dropped, not saved.
    function discardEdits()
    {
        macroBox.input.finish(false);
        stepBox.input.finish(false);
        repeatInput.text = shownRepeat;
        repeatInput.releaseFocus();
        closeMenus();
    }

    function elapsedTicks()
    {
        return Math.floor((Date.now() - recordSince) / Recording.TICK_MS);
    }

    function resetTicks()
    {
        macroRecordCount = 0;
        recordSince = Date.now();
    }

    function storeNames()
    {
        ui_View.updataNameList(0, macroNames());
    }

    function handNames(isInit)
    {
        namesHanded(macroNames(), isInit === true);
    }

    function closeAssignmentList()
    {
        macroListClosing();
    }

    function autoSave()
    {
        if (!canEdit)
            return false;
        var name = selectedName;
        var repeat = MacroSteps.repeatCount(MacroSteps.commitRepeat(repeatInput.text));
        var saved = ui_View.saveMacroIni(name, MacroSteps.toStored(stepModel), repeat);
        shownRepeat = String(repeat);
        // Nothing was written (no file of that name): nothing to re-send.
        if (!saved)
            return false;
        modifyMacroData(name);
        return true;
    }

    function loadSteps()
    {
        stepModel.clear();
        selectedStep = -1;
        var loaded = MacroSteps.fromLoaded(canEdit ? ui_View.loadMacroIni(selectedName) : []);
        for (var i = 0; i < loaded.steps.length; ++i) {
            var s = loaded.steps[i];
            // A step type the editor does not know cannot be shown or written back as it was.
            if (s.type >= MacroSteps.DELAY && s.type <= MacroSteps.MOVE)
                stepModel.append(s);
        }
        shownRepeat = MacroSteps.commitRepeat(loaded.repeat);
        repeatInput.text = shownRepeat;
    }

    function selectMacroAt(index)
    {
        selectedMacro = index >= 0 && index < macroModel.count ? index : -1;
        selectedName = selectedMacro >= 0 ? macroModel.get(selectedMacro).name : "";
        loadSteps();
        if (selectedMacro >= 0)
            macroBox.view.positionViewAtIndex(selectedMacro, ListView.Contain);
    }

    // --- the macro list ---

    function selectMacro(index)
    {
        macroEditorFocus();
        if (index === selectedMacro)
            return;
        stopRecord(true);
        selectMacroAt(index);
    }

    function newMacro()
    {
        macroEditorFocus();
        var names = macroNames();
        if (!Naming.canAddMacro(names))
            return;
        stopRecord(true);
        var name = Naming.newMacroName(names);
        macroModel.append({name: name});
        if (!ui_View.createMacroIni(name, 0)) {
            macroModel.remove(macroModel.count - 1);
            return;
        }
        selectMacroAt(macroModel.count - 1);
        storeNames();
        handNames(false);
    }

    function deleteSelected()
    {
        if (!hasSelection)
            return;
        discardEdits();
        closeInsertKey();
        // Recorded steps of a macro being deleted are not saved.
        stopRecord(false);
        var index = selectedMacro;
        var name = selectedName;
        if (canEdit)
            ui_View.deleteMacroIni(name);
        stepModel.clear();
        selectedStep = -1;
        selectedMacro = -1;
        selectedName = "";
        macroModel.remove(index);
        deleteMacro(name);
        selectMacroAt(Math.min(index, macroModel.count - 1));
        storeNames();
        handNames(false);
    }

    // Delete asks first, naming the macro.
    function askDelete()
    {
        if (!hasSelection)
            return;
        // What is being typed for a macro that may go is dropped rather than saved.
        discardEdits();
        deleteAsk.ask(Lang.withName(Lang.main(mainLang, 22), selectedName), [langText(3), Lang.main(mainLang, 7)], 1);
    }

    function importMacro()
    {
        macroEditorFocus();
        var names = macroNames();
        if (!Naming.canAddMacro(names))
            return;
        stopRecord(true);
        var name = Naming.newMacroName(names);
        var previous = selectedMacro;
        var at = hasSelection ? selectedMacro : macroModel.count;
        macroModel.insert(at, {name: name});
        selectedMacro = -1;
        selectedName = "";
        // A file refused or not written leaves no macro file (the backend tells the person why);
        // a macro that cannot be created either is not listed.
        var made = ui_View.loadMacroFile(name) ? ui_View.loadMacroIni(name).length > 0
                                               : ui_View.createMacroIni(name, 0) === true;
        if (!made) {
            macroModel.remove(at);
            selectMacroAt(previous);
            return;
        }
        selectMacroAt(at);
        storeNames();
        handNames(false);
    }

    function exportSelected()
    {
        macroEditorFocus();
        if (!canEdit)
            return;
        stopRecord(true);
        ui_View.saveMacroFile(selectedName);
    }

    function startRename(index)
    {
        if (index < 0 || index >= macroModel.count)
            return;
        var name = macroModel.get(index).name;
        if (!Naming.isUsableMacroName(name))
            return;
        renameOld = name;
        macroBox.edit(index, name);
    }

    // The store renames the file and the profiles' references first; only when it has done so do the
    // list, the name file, the assignment dialog and the buttons follow. A name it refuses (unsafe,
    // or a file of that name exists) changes nothing anywhere.
    function commitRename(index, text)
    {
        var newName = String(text);
        if (index < 0 || index >= macroModel.count || macroModel.get(index).name !== renameOld)
            return false;
        var oldName = renameOld;
        if (newName === oldName)
            return false;
        if (!Naming.isUsableMacroName(oldName) || !Naming.acceptMacroName(macroNames(), newName))
            return false;
        if (isInputting && index === selectedMacro)
            stopRecord(true);
        if (!ui_View.modifyMacroNameUpdateProfile(oldName, newName))
            return false;
        macroModel.setProperty(index, "name", newName);
        if (index === selectedMacro)
            selectedName = newName;
        storeNames();
        handNames(false);
        modifyMacroName(oldName, newName);
        return true;
    }

    // --- recording ---

    function startRecord()
    {
        if (!canEdit || isInputting)
            return;
        macroEditorFocus();
        stepModel.clear();
        selectedStep = -1;
        resetTicks();
        recordTimer.start();
        isInputting = true;
    }

    function stopRecord(save)
    {
        if (!isInputting)
            return;
        recordTimer.stop();
        isInputting = false;
        if (save)
            autoSave();
    }

    // --- the steps ---

    function stepAt(index)
    {
        return index >= 0 && index < stepModel.count ? stepModel.get(index) : null;
    }

    // Every insert goes after the selected step (at the end with none) and selects what it added
    // last, so the next one follows it.
    function insertSteps(steps)
    {
        var at = MacroSteps.insertIndex(stepModel.count, selectedStep);
        for (var i = 0; i < steps.length; ++i)
            stepModel.insert(at + i, steps[i]);
        selectedStep = at + steps.length - 1;
        stepBox.view.positionViewAtIndex(selectedStep, ListView.Contain);
        autoSave();
    }

    function deleteStep()
    {
        if (!canEdit || isInputting || !stepAt(selectedStep))
            return;
        stepModel.remove(selectedStep);
        selectedStep = Math.min(selectedStep, stepModel.count - 1);
        autoSave();
    }

    function insertDelay()
    {
        if (!canEdit || isInputting || !Recording.canAdd(stepModel))
            return;
        insertSteps([MacroSteps.step(MacroSteps.DELAY, MacroSteps.INSERTED_DELAY)]);
    }

    function insertMouseButton(code)
    {
        if (!canEdit || isInputting || !Recording.canAdd(stepModel))
            return;
        insertSteps(MacroSteps.mouseButtonPair(code, keyNames));
    }

    function openInsertKey()
    {
        if (!canEdit || isInputting || !Recording.canAdd(stepModel))
            return;
        insertKeyName = "";
        isInsertting = true;
        insertDialog.open();
    }

    function closeInsertKey()
    {
        insertDialog.close();
        isInsertting = false;
    }

    function confirmInsertKey()
    {
        var name = insertKeyName;
        closeInsertKey();
        if (name === "" || !canEdit)
            return;
        insertSteps(MacroSteps.keyPair(name));
    }

    function stepMenuChosen(index)
    {
        if (index === 0)
            deleteStep();
        else if (index === 1)
            insertDelay();
        else if (index === 2)
            openInsertKey();
        else if (index === 3)
            insertMouseButton(0xf0);
        else if (index === 4)
            insertMouseButton(0xf2);
        else if (index === 5)
            insertMouseButton(0xf1);
    }

    function startDelayEdit(index)
    {
        var s = stepAt(index);
        if (!canEdit || isInputting || !s || s.type !== MacroSteps.DELAY)
            return;
        stepBox.edit(index, s.info);
    }

    function commitDelay(index, text)
    {
        var s = stepAt(index);
        if (!canEdit || !s || s.type !== MacroSteps.DELAY)
            return;
        var info = MacroSteps.editDelay(text, s.info);
        if (info === s.info)
            return;
        stepModel.setProperty(index, "info", info);
        autoSave();
    }

    function repeatCommitted(value)
    {
        if (String(value) === shownRepeat || isInputting)
            return;
        autoSave();
    }

    width: 640
    height: 448
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

    onBackgroundPressed: macroEditorFocus()
    // However the editor goes away, a recording ends saved and open edits are kept.
    onVisibleChanged: {
        if (visible)
            return;
        stopRecord(true);
        closeInsertKey();
        macroEditorFocus();
        closeAssignmentList();
        // Closed while asking: nothing is deleted.
        if (deleteAsk.isOpen)
            deleteAsk.answer(1);
    }

    ListModel {
        id: macroModel
    }
    ListModel {
        id: stepModel
    }

    Timer {
        id: recordTimer
        objectName: "macroRecord"
        interval: Recording.TICK_MS
        repeat: true
        // Counts periods, catching up when the scene was too busy to tick.
        onTriggered: macroEditor.macroRecordCount = Math.max(macroEditor.macroRecordCount + 1,
                                                              macroEditor.elapsedTicks())
    }

    Rectangle {
        x: 16
        y: 40
        width: parent.width - 32
        height: 1
        color: Theme.colorGray1
    }

    Caption {
        x: 16
        y: 48
        text: macroEditor.langText(1)
    }
    Caption {
        x: 232
        y: 48
        text: macroEditor.langText(4)
    }

    // --- the macro list ---
    MacroListBox {
        id: macroBox
        objectName: "macroBox"
        x: 16
        y: 70
        width: 200
        // Room below for New, Delete, Import and Export.
        height: 11 * macroEditor.rowHeight + 2
        rowHeight: macroEditor.rowHeight
        model: macroModel
        viewName: "macroView"
        inputName: "renameInput"
        belowName: "macroListEnd"
        scrollName: "macroScroll"
        input.maximumLength: Math.max(64, macroEditor.renameOld.length)
        delegate: Rectangle {
            id: macroRow
            required property int index
            required property string name
            readonly property bool usable: Naming.isUsableMacroName(name)
            width: macroBox.rowWidth
            height: macroEditor.rowHeight
            color: index === macroEditor.selectedMacro ? Theme.colorOrange
                                                       : (macroRowArea.containsMouse ? Theme.colorGray1 : "transparent")
            Text {
                x: 8
                width: parent.width - 16
                anchors.verticalCenter: parent.verticalCenter
                text: macroRow.name
                elide: Text.ElideRight
                color: macroRow.usable ? Theme.fontColor : Theme.colorGray2
                font.italic: !macroRow.usable
                font.pixelSize: Theme.fontNormalSize
                font.family: Theme.fontFamily
            }
            MouseArea {
                id: macroRowArea
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onClicked: function (mouse) {
                    macroEditor.selectMacro(macroRow.index);
                    if (mouse.button === Qt.RightButton)
                        macroEditor.popup(macroMenu, macroRow, mouse.x, mouse.y);
                }
                onDoubleClicked: function (mouse) {
                    if (mouse.button === Qt.LeftButton)
                        macroEditor.startRename(macroRow.index);
                }
            }
        }
        // A right click below the names offers Import.
        onBelowClicked: function (button, x, y) {
            macroEditor.macroEditorFocus();
            if (button === Qt.RightButton)
                macroEditor.popup(macroMenu, macroBox, x, y);
        }
        onEditCommitted: function (row, text) { macroEditor.commitRename(row, text); }
    }

    Grid {
        x: 16
        y: 356
        columns: 2
        columnSpacing: 24
        rowSpacing: 19
        PlateButton {
            objectName: "newButton"
            text: macroEditor.langText(2)
            enabled: macroModel.count < Naming.MAX_MACROS
            onClicked: macroEditor.newMacro()
        }
        PlateButton {
            objectName: "deleteButton"
            text: macroEditor.langText(3)
            enabled: macroEditor.hasSelection
            onClicked: macroEditor.askDelete()
        }
        PlateButton {
            objectName: "importButton"
            text: macroEditor.langText(11)
            enabled: macroModel.count < Naming.MAX_MACROS
            onClicked: macroEditor.importMacro()
        }
        PlateButton {
            objectName: "exportButton"
            text: macroEditor.langText(12)
            enabled: macroEditor.canEdit
            onClicked: macroEditor.exportSelected()
        }
    }

    // --- the steps ---
    MacroListBox {
        id: stepBox
        objectName: "stepBox"
        x: 232
        y: 70
        width: parent.width - x - 16
        height: 13 * macroEditor.rowHeight + 2
        border.color: macroEditor.isInputting ? Theme.colorOrange : Theme.colorGray1
        rowHeight: macroEditor.rowHeight
        model: stepModel
        viewName: "stepView"
        inputName: "delayInput"
        belowName: "stepListEnd"
        scrollName: "stepScroll"
        inputX: 76
        inputWidth: 80
        input.maximumLength: 5
        delegate: Rectangle {
            id: stepRow
            required property int index
            required property int type
            required property string info
            readonly property bool isDelay: type === MacroSteps.DELAY
            readonly property bool selected: index === macroEditor.selectedStep
            width: stepBox.rowWidth
            height: macroEditor.rowHeight
            color: selected ? Theme.colorOrange : (stepRowArea.containsMouse ? Theme.colorGray1 : "transparent")
            Text {
                x: 4
                width: 30
                anchors.verticalCenter: parent.verticalCenter
                horizontalAlignment: Text.AlignRight
                text: String(stepRow.index + 1)
                color: stepRow.selected ? Theme.fontColor : Theme.colorGray2
                font.pixelSize: Theme.fontMinSize
                font.family: Theme.fontFamily
            }
            MacroStepIcon {
                x: 44
                anchors.verticalCenter: parent.verticalCenter
                type: stepRow.type
                selected: stepRow.selected
            }
            Text {
                x: stepRow.isDelay ? 80 : 68
                width: parent.width - x - 8
                anchors.verticalCenter: parent.verticalCenter
                text: MacroSteps.stepText(stepRow)
                elide: Text.ElideRight
                color: stepRow.isDelay && !stepRow.selected ? Theme.colorGray3 : Theme.fontColor
                font.pixelSize: Theme.fontNormalSize
                font.family: Theme.fontFamily
            }
            MouseArea {
                id: stepRowArea
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onClicked: function (mouse) { macroEditor.stepClicked(stepRow.index, mouse.button, stepRow, mouse.x, mouse.y); }
                onDoubleClicked: function (mouse) {
                    if (mouse.button === Qt.LeftButton)
                        macroEditor.startDelayEdit(stepRow.index);
                }
            }
        }
        // A right click below the steps adds at the end.
        onBelowClicked: function (button, x, y) { macroEditor.stepClicked(-1, button, stepBox, x, y); }
        onEditCommitted: function (row, text) { macroEditor.commitDelay(row, text); }
    }

    Row {
        x: stepBox.x
        y: 400
        spacing: 16
        PlateButton {
            objectName: "recordButton"
            width: 100
            text: macroEditor.langText(macroEditor.isInputting ? 5 : 8)
            // Orange while recording.
            source: macroEditor.isInputting ? Theme.sourceSureBtnH : Theme.sourceSureBtn
            color: macroEditor.isInputting ? Theme.colorOrange : Theme.colorBlue
            enabled: macroEditor.canEdit
            onClicked: macroEditor.isInputting ? macroEditor.stopRecord(true) : macroEditor.startRecord()
        }
        CheckBox {
            id: delayCheck
            objectName: "delayRecord"
            anchors.verticalCenter: parent.verticalCenter
            text: macroEditor.langText(9)
            markSource: Theme.sourceCheckBtn
            textColor: Theme.fontColor
            fontSize: Theme.fontNormalSize
            fontName: Theme.fontFamily
        }
    }
    Row {
        anchors.right: stepBox.right
        y: 400
        height: 25
        spacing: 8
        Caption {
            anchors.verticalCenter: parent.verticalCenter
            text: macroEditor.langText(6)
        }
        NumberInput {
            id: repeatInput
            objectName: "countRecordInput"
            anchors.verticalCenter: parent.verticalCenter
            width: 64
            height: 24
            // The mouse takes 16 bits; five digits so a stored count is never cut when shown.
            maximumLength: 5
            minimum: MacroSteps.MIN_REPEAT
            maximum: MacroSteps.MAX_REPEAT
            emptyValue: MacroSteps.MIN_REPEAT
            text: "1"
            enabled: macroEditor.canEdit && !macroEditor.isInputting
            opacity: enabled ? 1 : 0.5
            color: Theme.colorBlack
            textColor: Theme.fontColor
            fontSize: Theme.fontNormalSize
            fontName: Theme.fontFamily
            onFocusGained: macroEditor.closeMenus()
            onCommitted: function (value) { macroEditor.repeatCommitted(value); }
        }
    }

    ContextMenu {
        id: macroMenu
        objectName: "macroMenu"
        model: [macroEditor.langText(10), macroEditor.langText(11), macroEditor.langText(12)]
        color: Theme.colorGray0
        border.color: Theme.colorGray1
        textColor: Theme.fontColor
        highlightColor: Theme.colorOrange
        fontSize: Theme.fontNormalSize
        fontName: Theme.fontFamily
        onTriggered: function (index) {
            if (index === 0)
                macroEditor.askDelete();
            else if (index === 1)
                macroEditor.importMacro();
            else if (index === 2)
                macroEditor.exportSelected();
        }
    }
    ContextMenu {
        id: stepMenu
        objectName: "stepMenu"
        model: [macroEditor.langText(10), macroEditor.langText(13), macroEditor.langText(14),
            macroEditor.langText(15), macroEditor.langText(16), macroEditor.langText(17)]
        color: Theme.colorGray0
        border.color: Theme.colorGray1
        textColor: Theme.fontColor
        highlightColor: Theme.colorOrange
        fontSize: Theme.fontNormalSize
        fontName: Theme.fontFamily
        onTriggered: function (index) { macroEditor.stepMenuChosen(index); }
    }

    AskDialog {
        id: deleteAsk
        objectName: "deleteAsk"
        title: macroEditor.langText(3)
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
        focusBack: macroEditor
        onAnswered: function (index) {
            if (index === 0)
                macroEditor.deleteSelected();
        }
    }

    MacroKeyDialog {
        id: insertDialog
        objectName: "insertKey"
        anchors.fill: parent
        keyName: macroEditor.insertKeyName
        title: macroEditor.langText(14)
        okText: macroEditor.langText(7)
        onConfirmed: macroEditor.confirmInsertKey()
        onClosed: macroEditor.isInsertting = false
    }

    component Caption: Text {
        color: Theme.fontColor
        font.pixelSize: Theme.fontNormalSize
        font.family: Theme.fontFamily
    }

    // The window's blue plate with a text; dimmed while it cannot be used.
    component PlateButton: PictureButton {
        width: 88
        height: 25
        source: Theme.sourceSureBtn
        hoverSource: Theme.sourceSureBtnH
        textColor: Theme.fontColor
        fontName: Theme.fontFamily
        fontSize: Theme.fontNormalSize
        opacity: enabled ? 1 : 0.5
    }
}
