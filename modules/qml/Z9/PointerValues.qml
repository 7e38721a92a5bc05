// The pointer settings kept with the profile (pointer speed, double-click speed and the wheel), read,
// stored and applied without their dialog: a profile change or a factory reset applies them whether
// the dialog was ever opened or not, and the dialog shows and edits these values.
import QtQuick
import "../js/Slider.js" as Slider
import "../js/SystemSettings.js" as SystemSettings

QtObject {
    // The speeds as the dialog's slider positions; the wheel as one screen per notch or `lines`
    // lines per notch (the count is kept while one screen is chosen).
    property int pointer: Slider.minPosition()
    property int doubleClick: Slider.minPosition()
    property bool oneScreen: false
    property string lines: "1"
    // The dialog's texts in the current language, for a dialog made later.
    property var systemSettingLang

    // New values were read: a dialog shows them.
    signal loaded

    // A stored speed as a slider position: out of range or no number at all, it is held to the track.
    function position(stored)
    {
        return Slider.clampPosition(Math.round(Number(stored)), SystemSettings.SLIDER_LENGTH);
    }

    // Reads the three values (the default profile's when isRecovery) and applies them when isSendData.
    function init(isSendData, isRecovery)
    {
        var recovery = isRecovery === true;
        pointer = position(ui_View.getData("mouse/mouseRate", recovery));
        doubleClick = position(ui_View.getData("mouse/doubleRate", recovery));
        var wheel = ui_View.getData("mouse/scrollRate", recovery);
        oneScreen = SystemSettings.isOneScreen(wheel);
        // No number, zero or less: one line, as an emptied input gives.
        if (!oneScreen)
            lines = SystemSettings.commitLineCount(wheel);
        loaded();
        if (isSendData)
            saveData(true, 0);
    }

    // Stores all three values; applies all of them (isStep 0), or only the pointer speed (1), the
    // double-click speed (2) or the wheel (3).
    function saveData(isSendData, isStep)
    {
        var wheel = SystemSettings.scrollValue(!oneScreen, lines);
        ui_View.setData("mouse/mouseRate", pointer);
        ui_View.setData("mouse/doubleRate", doubleClick);
        ui_View.setData("mouse/scrollRate", wheel);
        if (!isSendData)
            return;
        var step = Number(isStep) || 0;
        if (step === 0 || step === 1)
            ui_View.mouseSetCursorSpeed(SystemSettings.speedIndex(pointer));
        if (step === 0 || step === 2)
            ui_View.mouseSetDoubleClickSpeed(SystemSettings.speedIndex(doubleClick));
        if (step === 0 || step === 3)
            ui_View.mouseSetVerticalScrollLines(wheel);
    }
}
