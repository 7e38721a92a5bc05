// The dialog in which one mouse button gets its function. The kinds are listed on the left; the
// chosen kind's controls show on the right, and a choice there becomes the button's definition
// (four codes and a text). OK and the close button hand a changed definition to the key list;
// Cancel and Escape drop it.
pragma ComponentBehavior: Bound
import QtQuick
import "../common"
import "../js/Lang.js" as Lang
import "../js/KeyAssign.js" as KeyAssign
import "../js/KeyNames.js" as KeyNames
import "../js/Naming.js" as Naming
import "../js/NumberText.js" as NumberText
import "../js/Rate.js" as Rate

DialogFrame {
    id: keyAssigment

    property var keyAssigmentLang: KeyAssign.BUILT_IN_TEXTS
    // The button being edited and the definition the dialog holds for it.
    property int selectKey: -1
    property int keyCode0: 0
    property int keyCode1: 0
    property int keyCode2: 0
    property int keyCode3: 0
    property string keyString: ""
    // The input waiting for a key: -1 none, 0 fire, 1 combination. The main window forwards captured
    // keys (detectKeyboard) only while it is 0 or 1.
    property int captureIndex: -1
    // The kind whose controls are shown, 0 ... 8 as code 0.
    property int viewKind: 0
    property int rateValue: KeyAssign.FIRE_RATE_INITIAL
    property string rateText: Rate.FIRE_INITIAL_TEXT
    property int runMode: 0
    property var comboState: KeyAssign.comboStart()
    property string comboFieldText: langText(10)
    property alias macroList: macroDrop
    // The key list's definitions, the current profile's and the default profile's (ListModels), and
    // the key-name table: the main window hands them over.
    property var buttons: null
    property var defaults: null
    property var keyNames: undefined

    // A button got another function (its definition in `buttons` is changed): it is unsaved.
    signal edited(int index)
    // A macro was given to the button with slot `slot`: the macro goes to the mouse.
    signal macroAssigned(int slot, string macroName)
    // The dialog is done with its button (applied or cancelled).
    signal done
    signal macroEditorWanted

    // Kind rows: code 0 and the text naming it.
    readonly property var kinds: [[KeyAssign.MOUSE, 1], [KeyAssign.FIRE, 8], [KeyAssign.COMBINATION, 14],
        [KeyAssign.MEDIA, 15], [KeyAssign.MACRO, 16], [KeyAssign.DPI, 21], [KeyAssign.WINDOWS, 25],
        [KeyAssign.SHORTCUT, 26], [KeyAssign.GUN, 52]]

    // A language list that lacks an entry keeps the built-in text.
    function langText(i)
    {
        return Lang.text(keyAssigmentLang, i, KeyAssign.BUILT_IN_TEXTS);
    }

    function texts(first, count)
    {
        var out = new Array(count);
        for (var i = 0; i < count; ++i)
            out[i] = langText(first + i);
        return out;
    }

    function keyName(code)
    {
        return KeyNames.keycodeTostr(code, keyNames);
    }

    // Titles the media, Windows and shortcut lists from the language.
    function init()
    {
        mediaDrop.model = texts(KeyAssign.MEDIA_TEXT_FIRST, KeyAssign.MEDIA_CODES.length);
        windowsDrop.model = texts(KeyAssign.WINDOWS_TEXT_FIRST, KeyAssign.WINDOWS_CODES.length);
        shortcutDrop.model = texts(KeyAssign.SHORTCUT_TEXT_FIRST, KeyAssign.SHORTCUT_CODES.length);
        if (captureIndex !== 1 && KeyAssign.comboIsEmpty(comboState))
            comboFieldText = keyCode0 === KeyAssign.COMBINATION ? keyString : langText(10);
    }

    function keyCodeToString(code0, code1, code2, code3)
    {
        return KeyAssign.keyCodeToString(code0, code1, code2, code3, keyAssigmentLang, keyNames,
                                         function (slot) { return ui_View.getData(KeyAssign.macroKey(slot), false); });
    }

    function codes()
    {
        return [keyCode0, keyCode1, keyCode2, keyCode3];
    }

    function setCode(c, text)
    {
        keyCode0 = c[0];
        keyCode1 = c[1];
        keyCode2 = c[2];
        keyCode3 = c[3];
        keyString = text === undefined || text === null ? "" : String(text);
        syncLists();
    }

    // The lists show the entry of the definition held, and nothing when it is of another kind.
    function syncLists()
    {
        var c = codes();
        mediaDrop.currentIndex = listIndex(KeyAssign.MEDIA_CODES, c);
        windowsDrop.currentIndex = listIndex(KeyAssign.WINDOWS_CODES, c);
        shortcutDrop.currentIndex = listIndex(KeyAssign.SHORTCUT_CODES, c);
        macroDrop.currentIndex = keyCode0 === KeyAssign.MACRO ? macroDrop.model.indexOf(keyString) : -1;
    }

    function listIndex(table, c)
    {
        for (var i = 0; i < table.length; ++i) {
            if (KeyAssign.sameCodes(KeyAssign.keyCodeStrProc(table[i]), c))
                return i;
        }
        return -1;
    }

    // Puts every control in line with the definition held: after opening and after a reset.
    function loadControls()
    {
        endCapture();
        closePopups();
        var fire = keyCode0 === KeyAssign.FIRE;
        setRate(fire ? keyCode2 : KeyAssign.FIRE_RATE_INITIAL, !fire);
        timesInput.text = String(fire ? KeyAssign.fireTimes(keyCode3) : 0);
        endless.checked = timesInput.text === "0";
        comboState = KeyAssign.comboStart();
        comboFieldText = keyCode0 === KeyAssign.COMBINATION ? keyString : langText(10);
        runMode = keyCode0 === KeyAssign.MACRO && keyCode1 >= 0 && keyCode1 <= 2 ? keyCode1 : 0;
        viewKind = keyCode0 >= KeyAssign.MOUSE && keyCode0 <= KeyAssign.GUN ? keyCode0 : KeyAssign.MOUSE;
    }

    // Opens the dialog for button `index` with that button's definition and text.
    function show(index)
    {
        var i = Math.trunc(Number(index));
        var el = buttons && i >= 0 && i < buttons.count ? buttons.get(i) : undefined;
        if (!el)
            return;
        selectKey = i;
        setCode(KeyAssign.codesOf(el), el.keyText);
        loadControls();
        mainFocus();
        open();
    }

    // The fire or combination input waits for captured keys.
    readonly property bool wantsKeys: visible && captureIndex >= 0

    function takeKey(isDown, usbCode)
    {
        detectKeyboard(isDown, usbCode, captureIndex);
    }

    // A captured key for the input `index` (0 fire, 1 combination); ignored unless that input waits.
    function detectKeyboard(isDown, usbCode, index)
    {
        var down = isDown === true || isDown === "true" || Number(isDown) === 1;
        var code = Math.trunc(Number(usbCode));
        if (captureIndex < 0 || Number(index) !== captureIndex || !visible)
            return;
        if (captureIndex === 0) {
            if (!down || !KeyAssign.isFireKey(code, keyNames))
                return;
            captureIndex = -1;
            setCode(KeyAssign.fireCode(code, rateValue, timesValue()), keyName(code));
        } else {
            KeyAssign.comboKey(comboState, down, code, keyNames);
            comboFieldText = KeyAssign.comboText(comboState);
        }
    }

    // Leaving an input that waits for a key: an unconfirmed combination is dropped, as by Cancel.
    function endCapture()
    {
        if (captureIndex === 1)
            cancelCombo();
        captureIndex = -1;
    }

    function startFireCapture()
    {
        keyAssigmentFocus();
        captureIndex = 0;
    }

    function startComboCapture()
    {
        keyAssigmentFocus();
        comboState = KeyAssign.comboStart();
        comboFieldText = "";
        captureIndex = 1;
    }

    function confirmCombo()
    {
        if (captureIndex !== 1)
            return;
        captureIndex = -1;
        if (!KeyAssign.comboIsEmpty(comboState))
            setCode(KeyAssign.comboCode(comboState), KeyAssign.comboText(comboState));
        else
            comboFieldText = langText(10);
    }

    function cancelCombo()
    {
        captureIndex = -1;
        comboState = KeyAssign.comboStart();
        comboFieldText = langText(10);
    }

    function timesValue()
    {
        return KeyAssign.fireTimes(NumberText.clampText(timesInput.text, 0, KeyAssign.FIRE_TIMES_MAX, 0));
    }

    // The rate control for a rate in milliseconds, held to a byte; `initial` keeps the first text.
    function setRate(rate, initial)
    {
        rateValue = KeyAssign.fireRate(rate);
        rateText = initial === true ? Rate.FIRE_INITIAL_TEXT : Rate.rateText(rateValue - 1);
        rateSlider.setPosition(rateSlider.minPosition + KeyAssign.fireRatePosition(rateValue));
    }

    // The slider at `position`: its rate is shown, and is the fire key's rate.
    function rateMoved(position)
    {
        rateValue = KeyAssign.fireRateAt(Math.round(position - rateSlider.minPosition));
        rateText = Rate.rateText(rateValue - 1);
        if (keyCode0 === KeyAssign.FIRE)
            keyCode2 = rateValue;
    }

    function timesCommitted(value)
    {
        var n = KeyAssign.fireTimes(value);
        endless.checked = n === 0;
        if (keyCode0 === KeyAssign.FIRE)
            keyCode3 = n;
    }

    function endlessToggled(checked)
    {
        // The tick always says what the field holds: cleared, the count becomes 1.
        timesInput.text = checked ? "0" : "1";
        timesCommitted(checked ? 0 : 1);
    }

    function choose(c, text)
    {
        endCapture();
        setCode(c, text);
    }

    function chooseMacro(index)
    {
        var name = macroDrop.model[index];
        if (Naming.isUsableMacroName(name))
            choose(KeyAssign.macroCode(runMode, selectKey), name);
        else
            syncLists();
    }

    function chooseRunMode(mode)
    {
        runMode = mode;
        if (keyCode0 === KeyAssign.MACRO)
            keyCode1 = mode;
    }

    function showKind(kind)
    {
        endCapture();
        closePopups();
        viewKind = kind;
    }

    function closePopups()
    {
        rateDrop.isOpen = false;
        mediaDrop.close();
        windowsDrop.close();
        shortcutDrop.close();
        macroDrop.close();
    }

    // A press beside the controls: commits a typed count and closes the lists.
    function keyAssigmentFocus()
    {
        timesInput.releaseFocus();
        closePopups();
    }

    // Stores a changed definition in the key list (and a macro's name and data with it).
    function applyClose()
    {
        keyAssigmentFocus();
        endCapture();
        var model = buttons;
        var el = model && selectKey >= 0 ? model.get(selectKey) : undefined;
        if (el) {
            var isMacro = keyCode0 === KeyAssign.MACRO;
            // Another macro with the same run mode has the same codes: its name is the change.
            var changed = !KeyAssign.sameCodes(el, codes()) || (isMacro && String(el.keyText) !== keyString);
            // A name the macro store refuses never becomes a file name or reaches the mouse.
            if (changed && (!isMacro || Naming.isUsableMacroName(keyString))) {
                model.setProperty(selectKey, "keyCode0", keyCode0);
                model.setProperty(selectKey, "keyCode1", keyCode1);
                model.setProperty(selectKey, "keyCode2", keyCode2);
                model.setProperty(selectKey, "keyCode3", keyCode3);
                model.setProperty(selectKey, "keyText", keyString);
                edited(selectKey);
                if (isMacro) {
                    macroAssigned(keyCode2, keyString);
                    ui_View.setData(KeyAssign.macroKey(keyCode2), keyString);
                }
            }
        }
        done();
    }

    // The button's default from the default profile becomes the dialog's choice; like any other
    // choice it is applied by OK and dropped by Cancel.
    function resetKey()
    {
        var def = defaults && selectKey >= 0 ? defaults.get(selectKey) : undefined;
        if (!def)
            return;
        setCode(KeyAssign.codesOf(def), def.keyText === undefined ? "" : String(def.keyText));
        loadControls();
    }

    // Closes without applying: the button keeps the function it had.
    property bool cancelling: false

    function cancel()
    {
        if (!visible)
            return;
        cancelling = true;
        close();
    }

    function whenClosed()
    {
        if (cancelling) {
            cancelling = false;
            keyAssigmentFocus();
            endCapture();
            done();
            return;
        }
        applyClose();
    }

    // Escape ends a capture first; with none it cancels.
    function escapeKey()
    {
        if (captureIndex >= 0)
            endCapture();
        else
            cancel();
    }

    function openMacroEditor()
    {
        close();
        macroEditorWanted();
    }

    onKeyAssigmentLangChanged: init()
    Component.onCompleted: init()

    width: 416
    height: 404
    mask: mainMask
    title: titleMetrics.elidedText
    closeSource: Theme.sourceCloseBtn
    closeHoverSource: Theme.sourceCloseBtnH
    closeTip: Lang.main(mainLang, 19)
    escapeCloses: false
    textColor: Theme.fontColor
    titleSize: Theme.fontMiddleSize
    fontName: Theme.fontFamily
    color: Theme.colorGray0
    border.color: Theme.colorGray1

    onClosed: whenClosed()
    onEscapePressed: escapeKey()
    onBackgroundPressed: keyAssigmentFocus()

    TextMetrics {
        id: titleMetrics
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontMiddleSize
        font.bold: true
        elide: Text.ElideRight
        elideWidth: 316
        text: keyAssigment.langText(0) + (keyAssigment.selectKey + 1) + ": " + keyAssigment.keyString
    }

    PictureButton {
        objectName: "resetButton"
        anchors.right: parent.right
        anchors.rightMargin: 40
        anchors.top: parent.top
        anchors.topMargin: 6
        width: 24
        height: 24
        source: Theme.sourceBack
        hoverSource: Theme.sourceBackH
        toolTip: Lang.main(mainLang, 18)
        toolTipRight: true
        fontName: Theme.fontFamily
        onClicked: keyAssigment.resetKey()
    }

    Rectangle {
        x: 16
        y: 40
        width: parent.width - 32
        height: 1
        color: Theme.colorGray1
    }

    // The kinds; the shown one is lit, the button's present kind carries a dot.
    Column {
        x: 16
        y: 50
        width: 144
        spacing: 4
        Repeater {
            model: keyAssigment.kinds
            delegate: Rectangle {
                id: kindRow
                required property var modelData
                readonly property int kind: modelData[0]
                readonly property bool shown: keyAssigment.viewKind === kind
                objectName: "kind" + kind
                visible: kind !== KeyAssign.GUN || isGun || keyAssigment.keyCode0 === KeyAssign.GUN
                width: 144
                height: 30
                color: shown ? Theme.colorGray1 : (kindArea.containsMouse ? Qt.rgba(1, 1, 1, 0.06) : "transparent")
                Rectangle {
                    visible: kindRow.shown
                    width: 3
                    height: parent.height
                    color: Theme.colorOrange
                }
                Text {
                    x: 12
                    width: parent.width - 28
                    anchors.verticalCenter: parent.verticalCenter
                    text: keyAssigment.langText(kindRow.modelData[1])
                    color: Theme.fontColor
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontNormalSize
                    elide: Text.ElideRight
                }
                Rectangle {
                    visible: keyAssigment.keyCode0 === kindRow.kind
                    anchors.right: parent.right
                    anchors.rightMargin: 10
                    anchors.verticalCenter: parent.verticalCenter
                    width: 7
                    height: 7
                    radius: 4
                    color: Theme.colorOrange
                }
                MouseArea {
                    id: kindArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: keyAssigment.showKind(kindRow.kind)
                }
            }
        }
    }

    Rectangle {
        x: 168
        y: 50
        width: 1
        height: parent.height - 100
        color: Theme.colorGray1
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 16
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 12
        spacing: 12
        z: 1
        PictureButton {
            objectName: "okButton"
            width: 88
            height: 25
            source: Theme.sourceSureBtn
            hoverSource: Theme.sourceSureBtnH
            text: Lang.main(mainLang, 8)
            textColor: Theme.fontColor
            fontName: Theme.fontFamily
            fontSize: Theme.fontNormalSize
            onClicked: keyAssigment.close()
        }
        PictureButton {
            objectName: "cancelButton"
            width: 88
            height: 25
            source: Theme.sourceSureBtn
            hoverSource: Theme.sourceSureBtnH
            text: Lang.main(mainLang, 7)
            textColor: Theme.fontColor
            fontName: Theme.fontFamily
            fontSize: Theme.fontNormalSize
            onClicked: keyAssigment.cancel()
        }
    }

    // --- the kinds' controls, one pane each ---

    Pane {
        kind: KeyAssign.MOUSE
        Column {
            y: 32
            spacing: 14
            Repeater {
                model: KeyAssign.MOUSE_CODES.length
                delegate: Choice {
                    required property int index
                    objectName: "mouse" + index
                    text: keyAssigment.langText(KeyAssign.MOUSE_TEXT_FIRST + index)
                    checked: KeyAssign.sameCodes(keyAssigment.codes(), KeyAssign.mouseCode(index))
                    onClicked: keyAssigment.choose(KeyAssign.mouseCode(index), text)
                }
            }
        }
    }

    Pane {
        kind: KeyAssign.FIRE
        z: rateDrop.isOpen ? 10 : 0
        Caption {
            y: 36
            text: keyAssigment.langText(9)
        }
        Field {
            objectName: "fireField"
            x: 80
            y: 32
            width: 142
            active: keyAssigment.captureIndex === 0
            text: keyAssigment.keyCode0 === KeyAssign.FIRE ? keyAssigment.keyName(keyAssigment.keyCode1)
                                                           : keyAssigment.langText(10)
            onClicked: keyAssigment.startFireCapture()
        }
        Caption {
            y: 72
            text: keyAssigment.langText(12)
        }
        NumberInput {
            id: timesInput
            objectName: "timesInput"
            x: 80
            y: 68
            width: 48
            height: 24
            maximumLength: 3
            minimum: 0
            maximum: KeyAssign.FIRE_TIMES_MAX
            emptyValue: 0
            text: "0"
            color: Theme.colorBlack
            border.color: inputFocus ? Theme.colorOrange : Theme.colorGray1
            textColor: Theme.fontColor
            fontSize: Theme.fontNormalSize
            fontName: Theme.fontFamily
            onFocusGained: {
                mainFocus();
                keyAssigment.closePopups();
            }
            onCommitted: function (value) { keyAssigment.timesCommitted(value); }
        }
        CheckBox {
            id: endless
            objectName: "endless"
            x: 140
            y: 73
            checked: true
            text: keyAssigment.langText(13)
            markSource: Theme.sourceCheckBtn
            textColor: Theme.fontColor
            fontSize: Theme.fontNormalSize
            fontName: Theme.fontFamily
            onToggled: function (checked) { keyAssigment.endlessToggled(checked); }
        }
        Caption {
            y: 108
            text: keyAssigment.langText(11)
        }
        Field {
            id: rateDrop
            objectName: "rateDrop"
            property bool isOpen: false
            x: 80
            y: 104
            width: 100
            active: isOpen
            text: keyAssigment.rateText
            arrow: isOpen ? "\u25b4" : "\u25be"
            onClicked: {
                var open = !isOpen;
                keyAssigment.keyAssigmentFocus();
                mainFocus();
                isOpen = open;
            }
        }
        // The rate's pop-up: one pixel of track per millisecond.
        Rectangle {
            objectName: "ratePopup"
            visible: rateDrop.isOpen
            x: 222 - width
            y: rateDrop.y + rateDrop.height + 2
            width: rateSlider.width + 20
            height: 48
            color: Theme.colorBlack
            border.color: Theme.colorOrange
            SliderButton {
                id: rateSlider
                objectName: "rateSlider"
                x: 10
                y: 6
                width: KeyAssign.FIRE_RATE_MAX - KeyAssign.FIRE_RATE_MIN + 18
                trackColor: Theme.colorGray1
                fillColor: Theme.colorBlue
                handleColor: Theme.colorGray3
                onValueChange: function (position) { keyAssigment.rateMoved(position); }
                onDelayedValueChange: function (position) { keyAssigment.rateMoved(position); }
            }
            Text {
                x: 10
                y: 30
                text: Rate.rateText(KeyAssign.FIRE_RATE_MIN - 1)
                color: Theme.colorGray2
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontMinSize
            }
            Text {
                anchors.right: parent.right
                anchors.rightMargin: 10
                y: 30
                text: Rate.rateText(KeyAssign.FIRE_RATE_MAX - 1)
                color: Theme.colorGray2
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontMinSize
            }
        }
    }

    Pane {
        kind: KeyAssign.COMBINATION
        Field {
            objectName: "comboField"
            y: 32
            width: 222
            active: keyAssigment.captureIndex === 1
            text: keyAssigment.comboFieldText
            onClicked: keyAssigment.startComboCapture()
        }
        Row {
            y: 70
            spacing: 12
            PictureButton {
                objectName: "comboOk"
                width: 88
                height: 25
                source: Theme.sourceSureBtn
                hoverSource: Theme.sourceSureBtnH
                text: Lang.main(mainLang, 8)
                textColor: Theme.fontColor
                fontName: Theme.fontFamily
                fontSize: Theme.fontNormalSize
                onClicked: keyAssigment.confirmCombo()
            }
            PictureButton {
                objectName: "comboCancel"
                width: 88
                height: 25
                source: Theme.sourceSureBtn
                hoverSource: Theme.sourceSureBtnH
                text: Lang.main(mainLang, 7)
                textColor: Theme.fontColor
                fontName: Theme.fontFamily
                fontSize: Theme.fontNormalSize
                onClicked: keyAssigment.cancelCombo()
            }
        }
    }

    Pane {
        kind: KeyAssign.MEDIA
        List {
            id: mediaDrop
            objectName: "mediaDrop"
            onItemSelected: function (index) {
                keyAssigment.choose(KeyAssign.mediaCode(index), model[index]);
            }
        }
    }

    Pane {
        kind: KeyAssign.MACRO
        List {
            id: macroDrop
            objectName: "macroList"
            maximumRows: 8
            model: []
            z: 2
            disabledIndexes: {
                var out = [];
                for (var i = 0; i < model.length; ++i) {
                    if (!Naming.isUsableMacroName(model[i]))
                        out.push(i);
                }
                return out;
            }
            // The macro editor hands over the whole list after every change (isInit the first time;
            // either way the list is replaced). The entry shown follows the macro held, by name.
            function addData(names, isInit)
            {
                var list = [];
                var given = names === undefined || names === null ? [] : (typeof names === "string" ? [names] : names);
                for (var i = 0; i < given.length; ++i)
                    list.push(String(given[i]));
                close();
                model = list;
                keyAssigment.syncLists();
            }
            onItemSelected: function (index) { keyAssigment.chooseMacro(index); }
        }
        Column {
            y: 70
            spacing: 10
            Repeater {
                model: 3
                delegate: Choice {
                    required property int index
                    objectName: "runMode" + index
                    textWidth: 202
                    text: keyAssigment.langText(18 + index)
                    checked: keyAssigment.runMode === index
                    onClicked: keyAssigment.chooseRunMode(index)
                }
            }
            Item {
                width: 1
                height: 4
            }
            PictureButton {
                objectName: "macroEditorButton"
                width: 100
                height: 25
                source: Theme.sourceSureBtn
                hoverSource: Theme.sourceSureBtnH
                text: keyAssigment.langText(17)
                textColor: Theme.fontColor
                fontName: Theme.fontFamily
                fontSize: Theme.fontNormalSize
                onClicked: keyAssigment.openMacroEditor()
            }
        }
    }

    Pane {
        kind: KeyAssign.DPI
        Column {
            y: 32
            spacing: 14
            Repeater {
                model: KeyAssign.DPI_CODES.length
                delegate: Choice {
                    required property int index
                    objectName: "dpi" + index
                    text: keyAssigment.langText(KeyAssign.DPI_TEXTS[index])
                    checked: KeyAssign.sameCodes(keyAssigment.codes(), KeyAssign.dpiCode(index))
                    onClicked: keyAssigment.choose(KeyAssign.dpiCode(index), text)
                }
            }
        }
    }

    Pane {
        kind: KeyAssign.WINDOWS
        List {
            id: windowsDrop
            objectName: "windowsDrop"
            onItemSelected: function (index) {
                keyAssigment.choose(KeyAssign.windowsCode(index), model[index]);
            }
        }
    }

    Pane {
        kind: KeyAssign.SHORTCUT
        List {
            id: shortcutDrop
            objectName: "shortcutDrop"
            onItemSelected: function (index) {
                keyAssigment.choose(KeyAssign.shortcutCode(index), model[index]);
            }
        }
    }

    Pane {
        kind: KeyAssign.GUN
        Column {
            y: 32
            spacing: 14
            Repeater {
                model: KeyAssign.GUN_CODES.length
                delegate: Choice {
                    required property int index
                    objectName: "gun" + index
                    text: keyAssigment.langText(KeyAssign.GUN_TEXTS[index])
                    checked: KeyAssign.sameCodes(keyAssigment.codes(), KeyAssign.gunCode(index))
                    onClicked: keyAssigment.choose(KeyAssign.gunCode(index), text)
                }
            }
        }
    }

    // The right-hand area of one kind, titled with the kind's name.
    component Pane: Item {
        id: pane
        property int kind: 0
        objectName: "pane" + kind
        x: 178
        y: 50
        width: 222
        height: keyAssigment.height - 100
        visible: keyAssigment.viewKind === kind
        Text {
            y: 2
            width: parent.width
            text: keyAssigment.langText(keyAssigment.kinds[pane.kind][1])
            color: Theme.colorGray3
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontMiddleSize
            elide: Text.ElideRight
        }
    }

    component Caption: Text {
        width: 74
        color: Theme.fontColor
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormalSize
        elide: Text.ElideRight
    }

    component Choice: RadioBox {
        source: Theme.sourceRadioBtn
        checkedSource: Theme.sourceRadioBtnS
        textColor: Theme.fontColor
        fontSize: Theme.fontNormalSize
        fontName: Theme.fontFamily
    }

    // A boxed text that a click acts on; lit while it waits for input.
    component Field: Rectangle {
        id: field
        signal clicked
        property bool active: false
        property alias text: fieldText.text
        property string arrow: ""
        height: 24
        color: Theme.colorBlack
        border.color: active ? Theme.colorOrange : (fieldArea.containsMouse ? Theme.colorGray2 : Theme.colorGray1)
        Text {
            id: fieldText
            x: 8
            width: parent.width - (field.arrow === "" ? 16 : 28)
            anchors.verticalCenter: parent.verticalCenter
            color: Theme.fontColor
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormalSize
            elide: Text.ElideRight
        }
        Text {
            visible: field.arrow !== ""
            anchors.right: parent.right
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            text: field.arrow
            color: Theme.fontColor
            font.pixelSize: Theme.fontNormalSize
        }
        MouseArea {
            id: fieldArea
            anchors.fill: parent
            hoverEnabled: true
            onClicked: field.clicked()
        }
    }

    component List: DropDownList {
        id: list
        y: 32
        width: 222
        maximumRows: 10
        fieldColor: Theme.colorBlack
        borderColor: Theme.colorGray1
        highlightColor: Theme.colorOrange
        textColor: Theme.fontColor
        fontSize: Theme.fontNormalSize
        onOpened: {
            keyAssigment.keyAssigmentFocus();
            mainFocus();
            list.isOpen = true;
        }
    }
}
