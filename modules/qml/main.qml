// The root of the scene: scene-wide settings the pages read by name, the fixed regions of the
// window, the pages, and the functions the backend calls (initUI, run, setProtectUI,
// setCurrentDPI, detectKeyboard, detectMouse).
pragma ComponentBehavior: Bound
import QtQuick
import "./basic"
import "./common"
import "./Z9"

Item {
    id: mainIten
    width: 1024
    height: 640
    visible: false

    signal msg_KB(bool isDown, int usbCode)
    signal msg_MS(bool isDown, int ravelCode, int x, int y)
    // The answer to the unsaved-changes question asked for the backend (askUnsaved): 0 saved,
    // 1 discarded, 2 cancelled (the edits stay).
    signal unsavedAnswered(int answer)

    // 11 on: the questions before an edit is lost or something is reset or deleted, and the tips of
    // the picture-only buttons; 24 … 26 the ask menu's "Language" and "Version" and the language's
    // own name, which the ask menu lists it by.
    readonly property var builtInMainLang: ["Editor", "Macro Editor", "Gun Editor", "Report Rate", "Config",
        "Reset", "Reset this profile to its factory settings?", "Cancel", "OK", "System Settings", "Save", "Unsaved changes",
        "Profile “%1” has changes that are not saved. Save them first?", "Discard",
        "This resets profile “%1” (its buttons, DPI, report rate, lighting and pointer settings) and the three gun presets that all profiles share.",
        "Close", "Minimize", "Help", "Back to this button's default function", "Apply and close", "Delete",
        "Delete profile “%1”? It leaves the list.",
        "Delete macro “%1”? Buttons that run it get their default function back.", "",
        "Language", "Version", "English"]
    property var mainLang: builtInMainLang
    // The texts of the mouse's coming and going (No mouse connected, …), from the language files.
    property var deviceLang: ["No mouse connected"]
    property int skin_No: 1
    property string fontFamily: "微软雅黑"
    property int fontNormalSize: 12
    property int fontMiddleSize: 14
    property int fontMaxSize: 16
    property int fontMinSize: 10
    property color fontColor: "#ffffff"
    // The language code of every text; other parts follow its change (languageChanged).
    property string language: "ChineseSimplified"
    // The installed languages, [{code, name}], for the ask menu.
    property var languages: []
    property string url: "https://kestral.example.com"
    property bool isColorful: false
    property bool isGun: true
    property string icType: "553"
    property bool is55328: false
    property bool isPownOn: false
    property color colorGray0: "#1a1a1a"
    property color colorGray1: "#3c3c3c"
    property color colorGray2: "#969696"
    property color colorGray3: "#d1d1d1"
    property color colorBlue: "#09347f"
    property color colorOrange: "#cf3e00"
    property color colorBlack: Qt.rgba(0, 0, 0, 1)

    function skinPath(page, file)
    {
        return "qrc:/" + page + "/modules/img/skin" + skin_No + "/" + page + "/" + file;
    }

    property url sourceBackground: "qrc:/modules/img/background.png"
    property url sourceTitleBar: "qrc:/modules/img/titleBar.png"
    property url sourceTitleLogo: "qrc:/modules/img/titleLogo.png"
    // index
    property url sourceMinBtn: skinPath("index", "minBtn.png")
    property url sourceMinBtnH: skinPath("index", "minBtnH.png")
    property url sourceCloseBtn: skinPath("index", "closeBtn.png")
    property url sourceCloseBtnH: skinPath("index", "closeBtnH.png")
    property url sourceSureBtn: skinPath("index", "sureBtn.png")
    property url sourceSureBtnH: skinPath("index", "sureBtnH.png")
    property url sourceAsk: skinPath("index", "ask.png")
    property url sourceAskH: skinPath("index", "askH.png")
    property url sourceRestBtn: skinPath("index", "restBtn.png")
    property url sourceRestBtnH: skinPath("index", "restBtnH.png")
    property url sourceRestBtnP: skinPath("index", "restBtnP.png")
    property url sourceSaveBtn: skinPath("index", "saveBtn.png")
    property url sourceSaveBtnH: skinPath("index", "saveBtnH.png")
    property url sourceSaveBtnP: skinPath("index", "saveBtnP.png")
    property url sourceMacroKeyBg: skinPath("index", "macroKeyBg.png")
    property url sourceSingleKeyBg: skinPath("index", "singleKeyBg.png")
    property url sourceMacroTypeCheck: skinPath("index", "macroTypeCheck.png")
    property url sourceMacroTypeCheck0: skinPath("index", "macroTypeCheck0.png")
    property url sourcePowerOn: skinPath("index", "powerOn.png")
    property url sourceBack: skinPath("index", "back.png")
    property url sourceBackH: skinPath("index", "backH.png")
    property url sourceDropBtn: skinPath("index", "dropBtn.png")
    property url sourceDropBtnU: skinPath("index", "dropBtnU.png")
    property url sourceConfigBtn: skinPath("index", "configBtn.png")
    property url sourceSlide: skinPath("index", "slide.png")
    property url sourceScale: skinPath("index", "scale.png")
    property url sourceRadioBtn: skinPath("index", "radioBtn.png")
    property url sourceRadioBtnS: skinPath("index", "radioBtnS.png")
    property url sourceCheckBtn: skinPath("index", "checkBtn.png")
    property url sourcePageUp: skinPath("index", "pageUp.png")
    property url sourcePageDown: skinPath("index", "pageDown.png")
    // mouse
    property url sourceMouseFront: skinPath("mouse", "mouseFront.png")
    property url sourceMouseSide: skinPath("mouse", "mouseSide.png")
    property url sourceMouse0: skinPath("mouse", "mouse0.png")
    property url sourceMouse1: skinPath("mouse", "mouse1.png")
    property url sourceMouse2: skinPath("mouse", "mouse2.png")
    property url sourceMouse3: skinPath("mouse", "mouse3.png")
    property url sourceMouse4: skinPath("mouse", "mouse4.png")
    property url sourceMouse5: skinPath("mouse", "mouse5.png")
    property url sourceMouse6: skinPath("mouse", "mouse6.png")
    property url sourceMouse7: skinPath("mouse", "mouse7.png")
    property url sourceMouse0S: skinPath("mouse", "mouse0S.png")
    property url sourceMouse1S: skinPath("mouse", "mouse1S.png")
    property url sourceMouse2S: skinPath("mouse", "mouse2S.png")
    property url sourceMouse3S: skinPath("mouse", "mouse3S.png")
    property url sourceMouse4S: skinPath("mouse", "mouse4S.png")
    property url sourceMouse5S: skinPath("mouse", "mouse5S.png")
    property url sourceMouse6S: skinPath("mouse", "mouse6S.png")
    property url sourceMouse7S: skinPath("mouse", "mouse7S.png")
    property url sourceMouseSide0: skinPath("mouse", "mouseSide0.png")
    property url sourceMouseSide1: skinPath("mouse", "mouseSide1.png")
    property url sourceMouseSide2: skinPath("mouse", "mouseSide2.png")
    property url sourceMouseSide3: skinPath("mouse", "mouseSide3.png")
    property url sourceMouseSide4: skinPath("mouse", "mouseSide4.png")
    property url sourceMouseSide5: skinPath("mouse", "mouseSide5.png")
    property url sourceMouseSide6: skinPath("mouse", "mouseSide6.png")
    property url sourceMouseSide7: skinPath("mouse", "mouseSide7.png")
    property url sourceMouseSide0S: skinPath("mouse", "mouseSide0S.png")
    property url sourceMouseSide1S: skinPath("mouse", "mouseSide1S.png")
    property url sourceMouseSide2S: skinPath("mouse", "mouseSide2S.png")
    property url sourceMouseSide3S: skinPath("mouse", "mouseSide3S.png")
    property url sourceMouseSide4S: skinPath("mouse", "mouseSide4S.png")
    property url sourceMouseSide5S: skinPath("mouse", "mouseSide5S.png")
    property url sourceMouseSide6S: skinPath("mouse", "mouseSide6S.png")
    property url sourceMouseSide7S: skinPath("mouse", "mouseSide7S.png")
    property url sourceMouseSidebtnN: skinPath("mouse", "mouseSidebtnN.png")
    property url sourceMouseSidebtnH: skinPath("mouse", "mouseSidebtnH.png")
    property url sourceMouseSidebtnS: skinPath("mouse", "mouseSidebtnS.png")
    property url sourcelightBtn: skinPath("mouse", "lightBtn.png")
    property url sourcelightBtnS: skinPath("mouse", "lightBtnS.png")

    // --- helpers that keep start-up going whatever pages are present ---

    function hasBackend()
    {
        return typeof ui_View !== "undefined" && ui_View !== null;
    }

    function toBool(v)
    {
        if (typeof v === "boolean")
            return v;
        if (typeof v === "number")
            return v !== 0;
        var s = String(v).toLowerCase();
        return s === "true" || s === "1";
    }

    // A text setting, or the current value when the installation lacks the key.
    function textOr(v, current)
    {
        return v === undefined || v === null ? current : String(v);
    }

    // A main text; an installation whose language file predates it gets the built-in one.
    function mainText(i)
    {
        var t = mainLang ? mainLang[i] : undefined;
        if (t !== undefined && t !== null && String(t) !== "")
            return String(t);
        return builtInMainLang[i] !== undefined ? builtInMainLang[i] : "";
    }

    // A text with its %1 replaced.
    function withName(text, name)
    {
        return String(text).replace("%1", String(name));
    }

    readonly property string activeProfileName: profileMain.activePosition >= 0
                                                ? String(profileMain.profileNames[profileMain.activePosition]) : ""
    readonly property bool hasUnsavedEdits: saveBtn.unsaved

    function closeDropDown(drop)
    {
        if (drop && drop.isOpen)
            drop.close();
    }

    // --- functions the backend calls ---

    function initUI()
    {
        setProtectUI(1000);
        mainIten.visible = true;
        if (!isPownOn && hasBackend()) {
            isColorful = toBool(ui_View.getGlobalData("mouse/isColorful"));
            icType = textOr(ui_View.getGlobalData("mouse/icType"), icType);
            is55328 = toBool(ui_View.getGlobalData("mouse/is55328"));
            isGun = toBool(ui_View.getGlobalData("mouse/isGun"));
            mouseMain.keyCount = Number(ui_View.getGlobalData("mouse/keyCount")) || 0;
            var storedLanguage = ui_View.getGlobalData("common/language");
            language = textOr(ui_View.getLanguage(), language);
            // A first start takes the locale's language and keeps it.
            if (storedLanguage === undefined || storedLanguage === null || String(storedLanguage) === "")
                ui_View.setGlobalData("common/language", language);
            url = textOr(ui_View.getGlobalData("common/url"), url);
            askMenuModel.setProperty(0, "askMenuTxt", url);

            if (ui_View.mouseConnected)
                ui_View.mouseStartOnFirstProfile();

            loadLanguage();
            languages = installedLanguages();

            profileMain.init();
            var profileNo = Number(ui_View.getGlobalData("mouse/profileNo")) || 0;
            profileMain.profileNo = profileNo;
            upItem.profileBtn.currentIndex = profileMain.activePosition;
            upItem.profileBtn.close();
            console.log("profileNo", profileNo);
            ui_View.setCurrentProfile(profileNo);
            // Only now: read before, the box would show the first profile's rate.
            reportRateBox.init(false);

            macroEditorMain.init();
            gunControlMain.init();
            keyAssigmentMain.init();
            keyMatrixMain.init(false, false);
            dpiSettingMain.init(false, false);
            lightControlMain.init(false, false);
            systemSettingMain.init(false, false);
            isPownOn = true;
        }
        // Only a mouse that is there is asked.
        if (hasBackend() && ui_View.mouseConnected)
            dpiSettingMain.currentDPI = Number(ui_View.mouseGetCurrentDPI()) - 1;
    }

    function run()
    {
    }

    // Every page's texts in `language`.
    function loadLanguage()
    {
        mainLang = ui_View.getLangStrings("main", language);
        var device = ui_View.getLangStrings("device", language);
        if (device.length > 0 && device[0] !== "")
            deviceLang = device;
        keyMatrixMain.keyMatrixLang = ui_View.getLangStrings("keyMatrix", language);
        keyAssigmentMain.keyAssigmentLang = ui_View.getLangStrings("keyAssigment", language);
        dpiSettingMain.dpiSettingLang = ui_View.getLangStrings("dpiSetting", language);
        lightControlMain.lightControlLang = ui_View.getLangStrings("lightControl", language);
        macroEditorMain.macroEditorLang = ui_View.getLangStrings("macroEditor", language);
        systemSettingMain.systemSettingLang = ui_View.getLangStrings("systemSetting", language);
        gunControlMain.gunControlLang = ui_View.getLangStrings("gunControl", language);
        profileMain.profileLang = ui_View.getLangStrings("profile", language);
        _KeyCodeString.keyCodeLang = ui_View.getLangStrings("keyCode", language);
        ui_View.getLangStrings("other", language); // fills the DPI notification texts
    }

    // The installed languages, each with the name its own file gives it.
    function installedLanguages()
    {
        var codes = ui_View.getLanguages();
        var out = [];
        for (var i = 0; i < codes.length; ++i) {
            var name = ui_View.getLangStrings("main", codes[i])[26];
            out.push({code: String(codes[i]), name: name ? String(name) : String(codes[i])});
        }
        return out;
    }

    // The ask menu's language choice: stored, and every text of the window switched at once. Texts
    // the pages built from the old language (lists, the button functions, the first profile's name)
    // are built again; nothing unsaved is lost.
    function setLanguage(code)
    {
        if (!hasBackend() || code === language)
            return;
        language = String(code);
        ui_View.setGlobalData("common/language", language);
        loadLanguage();
        keyAssigmentMain.init();
        keyMatrixMain.retranslate();
        profileMain.init();
        upItem.profileBtn.currentIndex = profileMain.activePosition;
    }

    function setProtectUI(interval)
    {
        protectUIItem.setBusy(true);
        if (hasBackend())
            ui_View.setEnabled(false);
        var ms = Number(interval) || 0;
        if (ms <= 0) {
            tmrProtectUI.stop();
            endProtectUI();
            return;
        }
        tmrProtectUI.interval = ms;
        tmrProtectUI.restart();
    }

    function endProtectUI()
    {
        if (hasBackend())
            ui_View.setEnabled(true);
        protectUIItem.setBusy(false);
        if (powerOnLogo.visible) {
            powerOnLogo.visible = false;
            envItem.visible = true;
            panelleft.visible = true;
            bottomBar.visible = true;
            panelRight.visible = true;
            upItem.visible = true;
            mouseMain.visible = true;
        }
    }

    function setCurrentDPI(dpiValue)
    {
        var stage = Math.trunc(Number(dpiValue));
        if (!stage)
            return;
        dpiSettingMain.currentDPI = stage - 1;
    }

    function detectKeyboard(isDown, usbCode)
    {
        msg_KB(toBool(isDown), Number(usbCode));
    }

    function detectMouse(isDown, ravelCode, x, y)
    {
        msg_MS(toBool(isDown), Number(ravelCode), Number(x), Number(y));
    }

    // --- functions the pages call ---

    function mainFocus()
    {
        closeDropDown(reportRateLV);
        closeDropDown(dpiSettingMain.dpiSegment);
        closeDropDown(upItem.profileBtn);
        closeDropDown(lightControlMain.lightModel);
        askMenu.visible = false;
    }

    function controlUIEnable(isEnable)
    {
        protectUIItem.setBusy(!isEnable);
        if (hasBackend())
            ui_View.setEnabled(isEnable ? true : false);
    }

    // Puts the active profile back to the defaults and sends every setting of it to the mouse.
    function factoryReset()
    {
        controlUIEnable(false);
        factorysure.visible = false;
        mainMask.visible = false;
        keyMatrixMain.isSave = false;
        dpiSettingMain.isSave = false;
        lightControlMain.isSave = false;
        if (hasBackend()) {
            ui_View.resetProfile(profileMain.profileNo);
            // The gun presets first, so that the key matrices sent next carry their reset periods.
            gunControlMain.resetData();
            sendProfile();
            ui_View.mouseSetCurrentDPI(2);
        }
        dpiSettingMain.currentDPI = 1;
        controlUIEnable(true);
    }

    // Unsaved edits are the pages' own until something would replace them: then the person is asked
    // to save, discard or cancel. `proceed` runs after a save or a discard, `cancelled` otherwise.
    property var afterUnsaved: null
    property var unsavedCancelled: null

    function whenSaved(proceed, cancelled)
    {
        if (!saveBtn.unsaved) {
            if (proceed)
                proceed();
            return;
        }
        mainFocus();
        afterUnsaved = proceed || null;
        unsavedCancelled = cancelled || null;
        unsavedAsk.ask(withName(mainText(12), activeProfileName), [mainText(10), mainText(13), mainText(7)], 2);
    }

    // The question asked for the backend (a quit from the tray, a profile from the command line); the
    // answer comes as unsavedAnswered. Returns false when nothing is unsaved, so nothing is asked.
    function askUnsaved()
    {
        if (!saveBtn.unsaved)
            return false;
        whenSaved(function () { mainIten.unsavedAnswered(mainIten.lastUnsavedAnswer); },
                  function () { mainIten.unsavedAnswered(2); });
        return true;
    }

    property int lastUnsavedAnswer: -1

    function unsavedAnswer(index)
    {
        var proceed = afterUnsaved;
        var cancelled = unsavedCancelled;
        afterUnsaved = null;
        unsavedCancelled = null;
        lastUnsavedAnswer = index;
        if (index === 0) {
            saveAll();
        } else if (index === 1) {
            discardAll();
        } else {
            if (cancelled)
                cancelled();
            return;
        }
        if (proceed)
            proceed();
    }

    // Drops the pages' unsaved edits: they show what is stored again.
    function discardAll()
    {
        dragRegion.forceActiveFocus();
        if (keyMatrixMain.isSave) {
            keyMatrixMain.isSave = false;
            keyMatrixMain.init(false, false);
        }
        if (dpiSettingMain.isSave) {
            dpiSettingMain.isSave = false;
            dpiSettingMain.init(false, false);
        }
        if (lightControlMain.isSave) {
            lightControlMain.isSave = false;
            lightControlMain.init(false, false);
        }
    }

    // Sends and stores the edits of every page that has unsaved ones.
    function saveAll()
    {
        mainFocus();
        // A number still being typed is part of what is saved.
        dragRegion.forceActiveFocus();
        var unsaved = saveBtn.unsaved;
        if (unsaved)
            controlUIEnable(false);
        if (keyMatrixMain.isSave) {
            keyMatrixMain.isSave = false;
            keyMatrixMain.modKeys.saveData();
        }
        if (dpiSettingMain.isSave) {
            dpiSettingMain.isSave = false;
            dpiSettingMain.saveData(true);
        }
        if (lightControlMain.isSave) {
            lightControlMain.isSave = false;
            lightControlMain.saveData(true, 0);
        }
        if (unsaved)
            controlUIEnable(true);
    }

    // The title bar's profile choice, once unsaved edits are saved or discarded; cancelled, the title
    // bar shows the active profile again.
    function chooseProfile(tmpProfileNo)
    {
        if (tmpProfileNo === profileMain.profileNo)
            return;
        whenSaved(function () { mainIten.switchProfile(tmpProfileNo); },
                  function () { upItem.profileBtn.currentIndex = profileMain.activePosition; });
    }

    // Makes a profile the active one and sends its settings.
    function switchProfile(tmpProfileNo)
    {
        if (tmpProfileNo === profileMain.profileNo || !hasBackend())
            return;
        controlUIEnable(false);
        profileMain.profileNo = tmpProfileNo;
        ui_View.setGlobalData("mouse/profileNo", tmpProfileNo);
        ui_View.setCurrentProfile(tmpProfileNo);
        sendProfile();
        controlUIEnable(true);
    }

    // The command line's choice of a profile: the title bar's, except that choosing the active profile
    // sends it again, since that is what was asked for.
    function applyProfile(tmpProfileNo)
    {
        if (!hasBackend())
            return;
        if (tmpProfileNo !== profileMain.profileNo) {
            switchProfile(tmpProfileNo);
            return;
        }
        controlUIEnable(false);
        sendProfile();
        controlUIEnable(true);
    }

    // Loads every page from the active profile and sends all of it to the mouse and the desktop: after
    // a factory reset and after a profile change.
    function sendProfile()
    {
        keyMatrixMain.init(true, false);
        reportRateBox.init(true);
        dpiSettingMain.init(true, false);
        lightControlMain.init(true, false);
        systemSettingMain.init(true, false);
        if (isGun) {
            ui_View.mouseSwitchKeyMatrix(1);
            ui_View.mouseResetKeyMatrix();
        }
        // A profile with fewer stages than the last leaves the mouse on a stage it no longer steps
        // through: it goes to the last one there is, and the page shows the stage the mouse is on.
        var stage = ui_View.mouseConnected ? Number(ui_View.mouseGetCurrentDPI()) || 0 : 0;
        var count = dpiSettingMain.currentDpiCount;
        if (stage > count && count > 0) {
            ui_View.mouseSetCurrentDPI(count);
            stage = count;
        }
        if (stage > 0)
            dpiSettingMain.currentDPI = stage - 1;
    }

    Connections {
        target: profileMain
        function onChangeProfile(tmpProfileNo)
        {
            mainIten.chooseProfile(tmpProfileNo);
        }
    }

    // The key list's rows and the mouse picture's tags: hovering selects the button, a click opens its
    // assignment unless it is the last button left with the primary click.
    function keyEntered(index)
    {
        mouseMain.selectKey = index;
    }

    function keyLeft(index)
    {
        if (!keyAssigmentMain.visible)
            mouseMain.selectKey = -1;
    }

    function keyClicked(index)
    {
        mouseMain.selectKey = index;
        if (keyMatrixMain.modKeys.checkOneLeftKey())
            return;
        mainFocus();
        keyAssigmentMain.show(index);
    }

    Connections {
        target: keyMatrixMain
        function onEnterBtn(index) { mainIten.keyEntered(index); }
        function onLeaveBtn(index) { mainIten.keyLeft(index); }
        function onClickBtn(index) { mainIten.keyClicked(index); }
    }

    Connections {
        target: mouseMain
        function onEnterBtn(index) { mainIten.keyEntered(index); }
        function onLeaveBtn(index) { mainIten.keyLeft(index); }
        function onClickBtn(index) { mainIten.keyClicked(index); }
    }

    Connections {
        target: macroEditorMain
        function onDeleteMacro(macroName) { keyMatrixMain.macroDeleted(macroName); }
        function onModifyMacroName(oldMacroName, newMacroName)
        {
            keyMatrixMain.macroRenamed(oldMacroName, newMacroName);
        }
        function onModifyMacroData(macroName) { keyMatrixMain.macroChanged(macroName); }
    }

    // An input waits for captured keys; the platform asks the system for them only meanwhile.
    readonly property bool captureActive: (macroEditorMain.visible && macroEditorMain.hasSelection
                                           && (macroEditorMain.isInputting || macroEditorMain.isInsertting))
                                          || (keyAssigmentMain.visible && keyAssigmentMain.captureIndex >= 0)
    onCaptureActiveChanged: {
        if (typeof ui_Ctl !== "undefined" && ui_Ctl)
            ui_Ctl.setCaptureActive(captureActive);
    }

    // Captured keys go to the input that waits for one, and nowhere else.
    onMsg_KB: function (isDown, usbCode) {
        if (macroEditorMain.visible && macroEditorMain.hasSelection) {
            if (macroEditorMain.isInputting)
                macroEditorMain.detectKeyboard(isDown, usbCode);
            else if (macroEditorMain.isInsertting)
                macroEditorMain.detectInput(isDown, usbCode);
        } else if (keyAssigmentMain.visible && keyAssigmentMain.captureIndex >= 0) {
            keyAssigmentMain.detectKeyboard(isDown, usbCode, keyAssigmentMain.captureIndex);
        }
    }

    // --- regions, bottom to top ---

    MouseArea {
        id: dragRegion
        anchors.fill: parent
        property real pressX: 0
        property real pressY: 0
        onPressed: function (mouse) {
            mainIten.mainFocus();
            // A press beside an input commits what was typed there.
            dragRegion.forceActiveFocus();
            pressX = mouse.x;
            pressY = mouse.y;
        }
        onPositionChanged: function (mouse) {
            if (!pressed || typeof ui_Ctl === "undefined" || !ui_Ctl)
                return;
            ui_Ctl.onXChanged(Math.round(mouse.x - pressX));
            ui_Ctl.onYChanged(Math.round(mouse.y - pressY));
        }
    }

    Image {
        id: powerOnLogo
        objectName: "powerOnLogo"
        anchors.centerIn: parent
        source: mainIten.sourcePowerOn
    }

    BusyIndicator {
        id: protectUIItem
        objectName: "protectUIItem"
        anchors.centerIn: parent
        z: 99
    }

    Timer {
        id: tmrProtectUI
        interval: 1000
        repeat: false
        onTriggered: mainIten.endProtectUI()
    }

    Environment {
        id: envItem
        objectName: "envItem"
        visible: false
        anchors.fill: parent
        backgroundSource: mainIten.sourceBackground
        titleBarSource: mainIten.sourceTitleBar
        titleLogoSource: mainIten.sourceTitleLogo
    }

    Column {
        id: panelleft
        objectName: "panelleft"
        visible: false
        x: 24
        y: 88
        spacing: 8

        KeyMatrix {
            id: keyMatrixMain
            objectName: "keyMatrixMain"
        }

        Rectangle {
            id: editorBox
            width: 232
            height: mainIten.isGun ? 100 : 76
            color: mainIten.colorBlack
            border.color: mainIten.colorGray1
            Text {
                x: 8
                y: 4
                text: mainIten.mainLang[0] !== undefined ? mainIten.mainLang[0] : ""
                color: mainIten.fontColor
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
            }
            Column {
                x: 20
                y: 24
                spacing: 0
                // Leaves the box's bottom border clear.
                Button {
                    id: macroEditorBtn
                    height: mainIten.isGun ? 36 : 46
                    textValue: mainIten.mainLang[1] !== undefined ? mainIten.mainLang[1] : ""
                    onClicked: {
                        mainIten.mainFocus();
                        macroEditorMain.open();
                    }
                }
                Button {
                    id: gunEditorBtn
                    height: 36
                    visible: mainIten.isGun
                    textValue: mainIten.mainLang[2] !== undefined ? mainIten.mainLang[2] : ""
                    onClicked: {
                        mainIten.mainFocus();
                        gunControlMain.open();
                    }
                }
            }
        }

        Rectangle {
            id: reportRateBox
            // Its open list lies over the button below it, which would otherwise take the clicks.
            z: reportRateLV.isOpen ? 1 : 0
            width: 232
            height: 42
            color: mainIten.colorBlack
            border.color: mainIten.colorGray1

            function rateCode(index)
            {
                return [8, 4, 2, 1][Math.min(Math.max(index, 0), 3)];
            }

            function init(isSendData)
            {
                var index = Math.trunc(Number(ui_View.getData("mouse/reportRate", false))) || 0;
                if (index < 0 || index > 3)
                    index = Math.min(Math.max(index, 0), 3);
                reportRateLV.currentIndex = index;
                if (isSendData)
                    ui_View.mouseSetReportRate(rateCode(index));
            }

            Text {
                x: 8
                anchors.verticalCenter: parent.verticalCenter
                text: mainIten.mainLang[3] !== undefined ? mainIten.mainLang[3] : ""
                color: mainIten.fontColor
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
            }
            DropDownList {
                id: reportRateLV
                objectName: "reportRateLV"
                width: 120
                anchors.right: parent.right
                anchors.rightMargin: 8
                anchors.verticalCenter: parent.verticalCenter
                model: ["125Hz", "250Hz", "500Hz", "1000Hz"]
                onOpened: {
                    var wasOpen = isOpen;
                    mainIten.mainFocus();
                    isOpen = wasOpen;
                }
                onItemSelected: function (index) {
                    ui_View.setData("mouse/reportRate", index);
                    ui_View.mouseSetReportRate(reportRateBox.rateCode(index));
                }
            }
        }

        Button {
            id: systemSettingBtn
            width: 232
            textValue: mainIten.mainLang[9] !== undefined ? mainIten.mainLang[9] : ""
            onClicked: {
                mainIten.mainFocus();
                systemSettingMain.open();
            }
        }
    }

    Row {
        id: bottomBar
        objectName: "bottomBar"
        visible: false
        anchors.right: parent.right
        anchors.rightMargin: 24
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 8
        spacing: 16

        Button {
            id: configBtn
            width: 64
            height: 24
            textValue: mainIten.mainLang[4] !== undefined ? mainIten.mainLang[4] : ""
            onClicked: {
                mainIten.mainFocus();
                profileMain.open();
            }
        }
        Button {
            id: resetBtn
            width: 64
            height: 24
            textValue: mainIten.mainLang[5] !== undefined ? mainIten.mainLang[5] : ""
            onClicked: {
                mainIten.mainFocus();
                mainIten.whenSaved(function () { factorysure.open(); });
            }
        }
        Rectangle {
            id: saveBtn
            objectName: "saveBtn"
            width: 64
            height: 24
            readonly property bool unsaved: keyMatrixMain.isSave || dpiSettingMain.isSave
                                            || lightControlMain.isSave
            color: saveArea.containsMouse ? mainIten.colorOrange : (unsaved ? "#ff3030" : mainIten.colorBlue)
            Text {
                anchors.centerIn: parent
                text: mainIten.mainLang[10] !== undefined ? mainIten.mainLang[10] : ""
                color: mainIten.fontColor
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
            }
            MouseArea {
                id: saveArea
                anchors.fill: parent
                hoverEnabled: true
                // On the release: the save locks the view while its device commands let waiting
                // input through, and a release dropped there would leave the button held for good.
                onClicked: mainIten.saveAll()
                // The second click of a quick pair comes as a double click, not as a click.
                onDoubleClicked: mainIten.saveAll()
            }
        }
    }

    Column {
        id: panelRight
        objectName: "panelRight"
        visible: false
        x: 768
        y: 56
        spacing: 8

        DpiSetting {
            id: dpiSettingMain
            objectName: "dpiSettingMain"
        }
        LightControl {
            id: lightControlMain
            objectName: "lightControlMain"
        }
    }

    Menu_Up {
        id: upItem
        objectName: "upItem"
        visible: false
        x: 920
        y: 16
        profileModel: profileMain.profileNames
        profilePage: profileMain
        askSource: mainIten.sourceAsk
        askHoverSource: mainIten.sourceAskH
        minSource: mainIten.sourceMinBtn
        minHoverSource: mainIten.sourceMinBtnH
        closeSource: mainIten.sourceCloseBtn
        closeHoverSource: mainIten.sourceCloseBtnH
        tips: [mainIten.mainText(17), mainIten.mainText(16), mainIten.mainText(15)]
        fontName: mainIten.fontFamily

        onBtnClicked: function (btnIndex) {
            if (typeof ui_Ctl === "undefined" || !ui_Ctl)
                return;
            if (btnIndex === 0)
                ui_Ctl.onMinimize();
            else if (btnIndex === 1)
                ui_Ctl.onClose();
            else if (btnIndex === 2)
                askMenu.visible = true;
        }
    }

    // Plainly in the title area while no mouse is connected; the window stays usable meanwhile.
    MouseStatus {
        id: mouseStatus
        objectName: "mouseStatus"
        visible: upItem.visible && mainIten.hasBackend() && !ui_View.mouseConnected
        anchors.right: upItem.left
        anchors.rightMargin: 176
        anchors.verticalCenter: upItem.verticalCenter
        text: mainIten.deviceLang[0] !== undefined ? mainIten.deviceLang[0] : ""
        fontName: mainIten.fontFamily
        fontSize: mainIten.fontNormalSize
        textColor: mainIten.fontColor
    }

    Mouse {
        id: mouseMain
        objectName: "mouseMain"
        visible: false
        anchors.fill: parent
    }

    Rectangle {
        id: mainMask
        objectName: "mainMask"
        visible: false
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 144 / 255)
        MouseArea {
            anchors.fill: parent
            // Takes the hover too: the pointer over a dialog reaches nothing of the window beneath.
            hoverEnabled: true
            property real pressX: 0
            property real pressY: 0
            onPressed: function (mouse) {
                if (macroEditorMain.visible)
                    macroEditorMain.macroEditorFocus();
                if (profileMain.visible)
                    profileMain.profileFocus();
                if (gunControlMain.visible)
                    gunControlMain.gunControlFocus();
                lightControlMain.lightControlFocus();
                if (systemSettingMain.visible)
                    systemSettingMain.systemSettingFocus();
                if (keyAssigmentMain.visible)
                    keyAssigmentMain.keyAssigmentFocus();
                pressX = mouse.x;
                pressY = mouse.y;
            }
            onPositionChanged: function (mouse) {
                if (!pressed || typeof ui_Ctl === "undefined" || !ui_Ctl)
                    return;
                ui_Ctl.onXChanged(Math.round(mouse.x - pressX));
                ui_Ctl.onYChanged(Math.round(mouse.y - pressY));
            }
        }
    }

    // The dialogs, opened centred over the mask.
    MacroEditor {
        id: macroEditorMain
        objectName: "macroEditorMain"
    }
    GunControl {
        id: gunControlMain
        objectName: "gunControlMain"
    }
    SystemSetting {
        id: systemSettingMain
        objectName: "systemSettingMain"
    }
    KeyAssigment {
        id: keyAssigmentMain
        objectName: "keyAssigmentMain"
    }
    Profile {
        id: profileMain
        objectName: "profileMain"
    }

    // Factory reset confirmation: dragged by its background, kept inside the window.
    DialogFrame {
        id: factorysure
        objectName: "factorysure"
        width: 427
        height: resetText.y + resetText.height + 50
        x: (mainIten.width - width) / 2
        y: (mainIten.height - height) / 2
        mask: mainMask
        closable: false
        title: mainIten.mainLang[5] !== undefined ? mainIten.mainLang[5] : ""
        textColor: mainIten.fontColor
        fontName: mainIten.fontFamily
        titleSize: mainIten.fontMiddleSize

        // Says what goes: this profile's settings and the gun presets every profile shares.
        Text {
            id: resetText
            objectName: "resetText"
            x: 16
            y: 38
            width: parent.width - 32
            text: mainIten.mainText(6) + "\n" + mainIten.withName(mainIten.mainText(14), mainIten.activeProfileName)
            color: mainIten.fontColor
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            wrapMode: Text.Wrap
            lineHeight: 1.15
        }
        Row {
            anchors.right: parent.right
            anchors.rightMargin: 16
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 10
            spacing: 12
            PictureButton {
                objectName: "factorysureOK"
                width: 88
                height: 25
                source: mainIten.sourceSureBtn
                hoverSource: mainIten.sourceSureBtnH
                text: mainIten.mainLang[8] !== undefined ? mainIten.mainLang[8] : ""
                textColor: mainIten.fontColor
                fontName: mainIten.fontFamily
                fontSize: mainIten.fontNormalSize
                onClicked: mainIten.factoryReset()
            }
            PictureButton {
                objectName: "factorysureCancel"
                width: 88
                height: 25
                source: mainIten.sourceSureBtn
                hoverSource: mainIten.sourceSureBtnH
                text: mainIten.mainLang[7] !== undefined ? mainIten.mainLang[7] : ""
                textColor: mainIten.fontColor
                fontName: mainIten.fontFamily
                fontSize: mainIten.fontNormalSize
                onClicked: factorysure.close()
            }
        }
    }

    AskDialog {
        id: unsavedAsk
        objectName: "unsavedAsk"
        title: mainIten.mainText(11)
        buttonSource: mainIten.sourceSureBtn
        buttonHoverSource: mainIten.sourceSureBtnH
        closeSource: mainIten.sourceCloseBtn
        closeHoverSource: mainIten.sourceCloseBtnH
        textColor: mainIten.fontColor
        fontSize: mainIten.fontNormalSize
        titleSize: mainIten.fontMiddleSize
        fontName: mainIten.fontFamily
        color: mainIten.colorGray0
        borderColor: mainIten.colorGray1
        focusBack: dragRegion
        onAnswered: function (index) { mainIten.unsavedAnswer(index); }
    }

    // The ask menu, dropped from the title bar's ask button: the maker's page, the version, and the
    // installed languages with the one shown ticked.
    Rectangle {
        id: askMenu
        objectName: "askMenu"
        visible: false
        x: upItem.x + 20 - width
        y: upItem.y + upItem.height + 6
        // Wide enough for the maker's address.
        width: 224
        height: askColumn.height + 8
        color: mainIten.colorGray0
        border.color: mainIten.colorGray1
        z: 60

        ListModel {
            id: askMenuModel
            ListElement { askMenuTxt: "https://kestral.example.com" }
            ListElement { askMenuTxt: "" }
        }

        component AskRow: Rectangle {
            id: askRow
            property string label
            property bool ticked: false
            property bool active: true
            signal chosen()
            width: askMenu.width
            height: 24
            color: active && rowArea.containsMouse ? mainIten.colorOrange : "transparent"
            Text {
                x: 12
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - (askRow.ticked ? 40 : 24)
                text: askRow.label
                color: askRow.active ? mainIten.fontColor : mainIten.colorGray2
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
                elide: Text.ElideRight
            }
            Text {
                anchors.right: parent.right
                anchors.rightMargin: 12
                anchors.verticalCenter: parent.verticalCenter
                visible: askRow.ticked
                text: "\u2713"
                color: rowArea.containsMouse ? mainIten.fontColor : mainIten.colorOrange
                font.pixelSize: mainIten.fontMiddleSize
            }
            MouseArea {
                id: rowArea
                anchors.fill: parent
                hoverEnabled: true
                onClicked: {
                    askMenu.visible = false;
                    askRow.chosen();
                }
            }
        }

        Column {
            id: askColumn
            y: 4
            Repeater {
                model: askMenuModel
                delegate: AskRow {
                    required property int index
                    required property string askMenuTxt
                    objectName: "askRow" + index
                    // Row 1 is the version; its text follows the language.
                    label: index === 1 ? mainIten.mainText(25) + " " + Qt.application.version
                                       : askMenuTxt
                    onChosen: {
                        if (index === 0)
                            Qt.openUrlExternally(mainIten.url);
                    }
                }
            }
            Rectangle {
                x: 8
                width: askMenu.width - 16
                height: 1
                color: mainIten.colorGray1
            }
            AskRow {
                label: mainIten.mainText(24)
                active: false
            }
            Repeater {
                model: mainIten.languages
                delegate: AskRow {
                    required property var modelData
                    objectName: "askLanguage_" + modelData.code
                    label: modelData.name
                    ticked: modelData.code === mainIten.language
                    onChosen: mainIten.setLanguage(modelData.code)
                }
            }
        }
    }

    KeyCodeString {
        id: _KeyCodeString
    }
}
