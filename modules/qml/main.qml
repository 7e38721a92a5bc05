// The root of the scene: the window's regions and pages wired together, the scene-wide settings the
// pages read by name, and the functions the backend calls (initUI, setProtectUI, askUnsaved, …).
pragma ComponentBehavior: Bound
import QtQuick
import "./basic"
import "./common"
import "./Z9"
import "./js/Lang.js" as Lang
import "./js/Setting.js" as Setting

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

    property var mainLang: Lang.MAIN
    // The texts of the mouse's coming and going (No mouse connected, …), from the language files.
    property var deviceLang: ["No mouse connected"]
    // The language code of every text; other parts follow its change (languageChanged).
    property string language: "ChineseSimplified"
    property string url: "https://kestral.example.com"
    property bool isColorful: false
    property bool isGun: true
    property string icType: "553"
    property bool is55328: false
    property bool isPownOn: false
    // The regions show once the first busy lock has ended; the power-on logo until then.
    property bool revealed: false
    // The look under its old names; the pages read it from Theme.
    readonly property int skin_No: Theme.skin_No
    readonly property string fontFamily: Theme.fontFamily
    readonly property int fontNormalSize: Theme.fontNormalSize
    readonly property int fontMiddleSize: Theme.fontMiddleSize
    readonly property int fontMaxSize: Theme.fontMaxSize
    readonly property int fontMinSize: Theme.fontMinSize
    readonly property color fontColor: Theme.fontColor
    readonly property color colorGray0: Theme.colorGray0
    readonly property color colorGray1: Theme.colorGray1
    readonly property color colorGray2: Theme.colorGray2
    readonly property color colorGray3: Theme.colorGray3
    readonly property color colorBlue: Theme.colorBlue
    readonly property color colorOrange: Theme.colorOrange
    readonly property color colorBlack: Theme.colorBlack

    readonly property string activeProfileName: profileMain.activePosition >= 0
                                                ? String(profileMain.profileNames[profileMain.activePosition]) : ""
    readonly property ReportRate reportRateBox: leftTools.reportRateBox
    readonly property Item saveBtn: bottomBar.saveButton
    readonly property AskDialog unsavedAsk: unsavedEdits.question
    // Profiles that follow programs wait while a page has unsaved edits or a dialog or question is open.
    readonly property bool hasUnsavedEdits: unsavedEdits.unsaved
    readonly property bool dialogOpen: mainMask.visible || unsavedAsk.isOpen
    readonly property DropDownList reportRateLV: leftTools.reportRateBox.reportRateLV
    readonly property Item systemSettingMain: systemSettingPlace.item

    function hasBackend()
    {
        return typeof ui_View !== "undefined" && ui_View !== null;
    }

    // --- functions the backend calls ---

    function initUI()
    {
        setProtectUI(1000);
        mainIten.visible = true;
        if (!isPownOn && hasBackend()) {
            isColorful = Setting.flag(ui_View.getGlobalData("mouse/isColorful"));
            icType = Setting.textOr(ui_View.getGlobalData("mouse/icType"), icType);
            is55328 = Setting.flag(ui_View.getGlobalData("mouse/is55328"));
            isGun = Setting.flag(ui_View.getGlobalData("mouse/isGun"));
            mouseMain.keyCount = Number(ui_View.getGlobalData("mouse/keyCount")) || 0;
            var storedLanguage = ui_View.getGlobalData("common/language");
            language = Setting.textOr(ui_View.getLanguage(), language);
            // A first start takes the locale's language and keeps it.
            if (storedLanguage === undefined || storedLanguage === null || String(storedLanguage) === "")
                ui_View.setGlobalData("common/language", language);
            url = Setting.textOr(ui_View.getGlobalData("common/url"), url);

            if (ui_View.mouseConnected)
                ui_View.mouseStartOnFirstProfile();

            loadLanguage();
            askMenu.loadLanguages();

            profileFlow.loadActiveProfile();

            macroEditorMain.init();
            gunControlMain.init();
            keyAssigmentMain.init();
            keyMatrixMain.init(false, false);
            dpiSettingMain.init(false, false);
            lightControlMain.init(false, false);
            systemSettingValues.init(false, false);
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
        Lang.fill(ui_View, language, {keyMatrix: keyMatrixMain, keyAssigment: keyAssigmentMain,
                      dpiSetting: dpiSettingMain, lightControl: lightControlMain, macroEditor: macroEditorMain,
                      systemSetting: systemSettingValues, gunControl: gunControlMain, profile: profileMain,
                      keyCode: _KeyCodeString});
        ui_View.getLangStrings("other", language); // fills the DPI notification texts
    }

    // The ask menu's language choice: stored, every text switched at once, the texts the pages built
    // from the old language built again; nothing unsaved is lost.
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

    // The busy lock: no input for `interval` ms (0 ends it at once).
    function setProtectUI(interval)
    {
        if (hasBackend())
            ui_View.setEnabled(false);
        protectUIItem.lockFor(Number(interval) || 0);
    }

    function endProtectUI()
    {
        if (hasBackend())
            ui_View.setEnabled(true);
        protectUIItem.setBusy(false);
        revealed = true;
    }

    function setCurrentDPI(dpiValue)
    {
        var stage = Math.trunc(Number(dpiValue));
        if (stage)
            dpiSettingMain.currentDPI = stage - 1;
    }

    function detectKeyboard(isDown, usbCode)
    {
        msg_KB(Setting.flag(isDown), Number(usbCode));
    }

    function detectMouse(isDown, ravelCode, x, y)
    {
        msg_MS(Setting.flag(isDown), Number(ravelCode), Number(x), Number(y));
    }

    // The question asked for the backend (a quit from the tray, a profile from the command line); the
    // answer comes as unsavedAnswered. Returns false when nothing is unsaved, so nothing is asked.
    function askUnsaved()
    {
        return unsavedEdits.askFor(function (answer) { mainIten.unsavedAnswered(answer); });
    }

    // The command line's choice of a profile.
    function applyProfile(tmpProfileNo)
    {
        if (hasBackend())
            profileFlow.applyProfile(tmpProfileNo);
    }

    function switchProfile(tmpProfileNo)
    {
        if (hasBackend())
            profileFlow.switchProfile(tmpProfileNo);
    }

    // --- functions the pages call ---

    // Closes every open list and the ask menu.
    function mainFocus()
    {
        for (var drop of [reportRateLV, dpiSettingMain.dpiSegment, upItem.profileBtn, lightControlMain.lightModel]) {
            if (drop && drop.isOpen)
                drop.close();
        }
        askMenu.visible = false;
    }

    function openDialog(dialog)
    {
        mainFocus();
        dialog.open();
    }

    function controlUIEnable(isEnable)
    {
        protectUIItem.setBusy(!isEnable);
        if (hasBackend())
            ui_View.setEnabled(isEnable ? true : false);
    }

    // --- profiles ---

    ProfileFlow {
        id: profileFlow
        isGun: mainIten.isGun
        keyList: keyMatrixMain
        reportRate: mainIten.reportRateBox
        dpi: dpiSettingMain
        light: lightControlMain
        system: systemSettingValues
        guns: gunControlMain
        profiles: profileMain
        titleDrop: upItem.profileBtn
        edits: unsavedEdits
        hasBackend: mainIten.hasBackend()
        onLock: function (isEnable) { mainIten.controlUIEnable(isEnable); }
    }

    // --- buttons: the key list's rows and the mouse picture's tags ---

    // Hovering selects the button (leaving clears it unless its dialog is open); a click opens its
    // assignment unless it is the last button left with the primary click.
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

    // An input waits for captured keys; the platform asks the system for them only meanwhile.
    readonly property bool captureActive: macroEditorMain.wantsKeys || keyAssigmentMain.wantsKeys
    onCaptureActiveChanged: {
        if (typeof ui_Ctl !== "undefined" && ui_Ctl)
            ui_Ctl.setCaptureActive(captureActive);
    }

    // Captured keys go to the input that waits for one, and nowhere else; an open macro editor with a
    // macro selected takes them, whether it waits or not.
    onMsg_KB: function (isDown, usbCode) {
        if (macroEditorMain.visible && macroEditorMain.hasSelection)
            macroEditorMain.takeKey(isDown, usbCode);
        else if (keyAssigmentMain.wantsKeys)
            keyAssigmentMain.takeKey(isDown, usbCode);
    }

    // --- regions, bottom to top ---

    WindowDrag {
        id: dragRegion
        onPressedAt: {
            mainIten.mainFocus();
            // A press beside an input commits what was typed there.
            dragRegion.forceActiveFocus();
        }
    }

    Image {
        id: powerOnLogo
        objectName: "powerOnLogo"
        visible: !mainIten.revealed
        anchors.centerIn: parent
        source: Theme.sourcePowerOn
    }

    BusyIndicator {
        id: protectUIItem
        objectName: "protectUIItem"
        anchors.centerIn: parent
        z: 99
        onLockEnded: mainIten.endProtectUI()
    }

    Environment {
        id: envItem
        objectName: "envItem"
        visible: mainIten.revealed
        anchors.fill: parent
    }

    Column {
        id: panelleft
        objectName: "panelleft"
        visible: mainIten.revealed
        x: 24
        y: 88
        spacing: 8

        KeyMatrix {
            id: keyMatrixMain
            objectName: "keyMatrixMain"
            keyCount: mouseMain.keyCount
            selectKey: mouseMain.selectKey
            dialogLang: keyAssigmentMain.keyAssigmentLang
            keyNames: _KeyCodeString.names
            guns: gunControlMain
            onResendMacro: function (slot, macroName) { macroEditorMain.sendMacro(slot, macroName); }
            onEnterBtn: function (index) { mouseMain.selectKey = index; }
            onLeaveBtn: function (index) { mainIten.keyLeft(index); }
            onClickBtn: function (index) { mainIten.keyClicked(index); }
        }
        LeftTools {
            id: leftTools
            texts: mainIten.mainLang
            isGun: mainIten.isGun
            onListOpened: mainIten.mainFocus()
            onMacroEditorClicked: mainIten.openDialog(macroEditorMain)
            onGunEditorClicked: mainIten.openDialog(gunControlMain)
            onSystemSettingClicked: mainIten.openDialog(systemSettingPlace.dialog())
        }
    }

    BottomBar {
        id: bottomBar
        objectName: "bottomBar"
        visible: mainIten.revealed
        anchors.right: parent.right
        anchors.rightMargin: 24
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 8
        texts: mainIten.mainLang
        unsaved: unsavedEdits.unsaved
        onConfigClicked: mainIten.openDialog(profileMain)
        onResetClicked: {
            mainIten.mainFocus();
            unsavedEdits.whenSaved(function () { factorysure.open(); });
        }
        onSaveClicked: unsavedEdits.saveAll()
    }

    Column {
        id: panelRight
        objectName: "panelRight"
        visible: mainIten.revealed
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
            dpiCount: dpiSettingMain.dpiCount
        }
    }

    Menu_Up {
        id: upItem
        objectName: "upItem"
        visible: mainIten.revealed
        x: 920
        y: 16
        profileModel: profileMain.profileNames
        profilePage: profileMain
        tips: [Lang.main(mainIten.mainLang, 17), Lang.main(mainIten.mainLang, 16), Lang.main(mainIten.mainLang, 15)]

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
        text: Lang.text(mainIten.deviceLang, 0)
    }

    Mouse {
        id: mouseMain
        objectName: "mouseMain"
        visible: mainIten.revealed
        anchors.fill: parent
        onEnterBtn: function (index) { mouseMain.selectKey = index; }
        onLeaveBtn: function (index) { mainIten.keyLeft(index); }
        onClickBtn: function (index) { mainIten.keyClicked(index); }
    }

    // A press on the mask commits the open dialog's inputs (its background press) and the lighting's.
    DimMask {
        id: mainMask
        objectName: "mainMask"
        onPressedAt: lightControlMain.lightControlFocus()
    }

    // The dialogs, opened centred over the mask.
    MacroEditor {
        id: macroEditorMain
        objectName: "macroEditorMain"
        keyNames: _KeyCodeString.names
        onNamesHanded: function (names, isInit) { keyAssigmentMain.macroList.addData(names, isInit); }
        onMacroListClosing: keyAssigmentMain.macroList.close()
        onDeleteMacro: function (macroName) { keyMatrixMain.macroDeleted(macroName); }
        onModifyMacroName: function (oldMacroName, newMacroName) { keyMatrixMain.macroRenamed(oldMacroName, newMacroName); }
        onModifyMacroData: function (macroName) { keyMatrixMain.macroChanged(macroName); }
    }
    GunControl {
        id: gunControlMain
        objectName: "gunControlMain"
        onGunsSent: keyMatrixMain.modKeys.saveData()
    }
    // Made when first opened (the root's systemSettingMain); its values are read and applied without it.
    PointerValues { id: systemSettingValues }
    LazyDialog {
        id: systemSettingPlace
        SystemSetting {
            objectName: "systemSettingMain"
            values: systemSettingValues
        }
    }
    KeyAssigment {
        id: keyAssigmentMain
        objectName: "keyAssigmentMain"
        buttons: keyMatrixMain.modKeys
        defaults: keyMatrixMain.modKeys_tmp
        keyNames: _KeyCodeString.names
        onEdited: keyMatrixMain.isSave = true
        onMacroAssigned: function (slot, macroName) { macroEditorMain.sendMacro(slot, macroName); }
        onDone: mouseMain.selectKey = -1
        onMacroEditorWanted: macroEditorMain.open()
    }
    Profile {
        id: profileMain
        objectName: "profileMain"
        onChangeProfile: function (tmpProfileNo) { profileFlow.chooseProfile(tmpProfileNo); }
    }

    ResetConfirm {
        id: factorysure
        objectName: "factorysure"
        mask: mainMask
        texts: mainIten.mainLang
        profileName: mainIten.activeProfileName
        onAccepted: profileFlow.factoryReset()
    }

    UnsavedEdits {
        id: unsavedEdits
        pages: [keyMatrixMain, dpiSettingMain, lightControlMain]
        texts: mainIten.mainLang
        profileName: mainIten.activeProfileName
        focusItem: dragRegion
        onCloseLists: mainIten.mainFocus()
        onLock: function (isEnable) { mainIten.controlUIEnable(isEnable); }
    }

    AskMenu {
        id: askMenu
        objectName: "askMenu"
        x: upItem.x + 20 - width
        y: upItem.y + upItem.height + 6
        texts: mainIten.mainLang
        url: mainIten.url
        language: mainIten.language
        onLanguageChosen: function (code) { mainIten.setLanguage(code); }
    }

    KeyCodeString { id: _KeyCodeString }
}
