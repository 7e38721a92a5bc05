// Profile changes and the factory reset: which profile is active, and every setting of it sent to the
// mouse and the desktop. The main window hands over its pages; unsaved edits are asked about first.
import QtQuick
import "../common"
import "../Z9"

QtObject {
    id: flow

    property bool isGun: true
    property bool hasBackend: true
    // The pages a profile is loaded into and sent from, and the report-rate box.
    property KeyMatrix keyList: null
    property ReportRate reportRate: null
    property DpiSetting dpi: null
    property LightControl light: null
    property PointerValues system: null
    property GunControl guns: null
    property Profile profiles: null
    // The title bar's profile list, and the pages' unsaved edits.
    property DropDownList titleDrop: null
    property UnsavedEdits edits: null

    // The view is locked (false) and freed (true) around a change.
    signal lock(bool isEnable)

    // At start-up: the profile list, and the stored active profile made the current one.
    function loadActiveProfile()
    {
        profiles.init();
        var profileNo = Number(ui_View.getGlobalData("mouse/profileNo")) || 0;
        profiles.profileNo = profileNo;
        titleDrop.currentIndex = profiles.activePosition;
        titleDrop.close();
        console.log("profileNo", profileNo);
        ui_View.setCurrentProfile(profileNo);
        // Only now: read before, the box would show the first profile's rate.
        reportRate.init(false);
    }

    // Loads every page from the active profile and sends all of it to the mouse and the desktop: after
    // a factory reset and after a profile change. Returns the mouse's DPI stage after it (0: not known).
    function sendProfile()
    {
        keyList.init(true, false);
        reportRate.init(true);
        dpi.init(true, false);
        light.init(true, false);
        system.init(true, false);
        if (isGun) {
            ui_View.mouseSwitchKeyMatrix(1);
            ui_View.mouseResetKeyMatrix();
        }
        return dpi.followMouseStage();
    }

    // The title bar's choice, once unsaved edits are saved or discarded; cancelled, the title bar
    // shows the active profile again.
    function chooseProfile(tmpProfileNo)
    {
        if (tmpProfileNo === profiles.profileNo)
            return;
        edits.whenSaved(function () { flow.switchProfile(tmpProfileNo); },
                        function () { flow.titleDrop.currentIndex = flow.profiles.activePosition; });
    }

    // Makes a profile the active one and sends its settings.
    function switchProfile(tmpProfileNo)
    {
        if (tmpProfileNo === profiles.profileNo)
            return;
        lock(false);
        profiles.profileNo = tmpProfileNo;
        ui_View.setGlobalData("mouse/profileNo", tmpProfileNo);
        ui_View.setCurrentProfile(tmpProfileNo);
        sendProfile();
        lock(true);
    }

    // The command line's choice: the title bar's, except that choosing the active profile sends it
    // again, since that is what was asked for.
    function applyProfile(tmpProfileNo)
    {
        if (tmpProfileNo !== profiles.profileNo) {
            switchProfile(tmpProfileNo);
            return;
        }
        lock(false);
        sendProfile();
        lock(true);
    }

    // Puts the active profile back to the defaults and sends every setting of it to the mouse; the
    // gun presets first, so that the key matrices sent next carry their reset periods. The pages'
    // unsaved edits go.
    function factoryReset()
    {
        lock(false);
        for (var page of edits.pages)
            page.isSave = false;
        if (hasBackend) {
            ui_View.resetProfile(profiles.profileNo);
            guns.resetData();
            // Stage 2, unless sending the profile left the mouse on it already.
            if (sendProfile() !== 2)
                ui_View.mouseSetCurrentDPI(2);
        }
        dpi.currentDPI = 1;
        lock(true);
    }
}
