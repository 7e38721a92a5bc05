// A stand-in for the main scene: the four functions the backend calls, each reported to "probe"
// with the thread it ran on, plus calls of backend slots from the scene side.
import QtQuick

Item {
    id: root
    width: 64
    height: 48

    property int currentDPI: -1
    property alias typed: typing.text

    TextInput {
        id: typing
        anchors.fill: parent
        focus: true
    }

    function initUI() { probe.record("initUI", 0) }
    function run() { probe.record("run", 0) }
    function setProtectUI(interval) {
        probe.record("setProtectUI", interval)
        ui_View.setEnabled(false)
    }
    function setCurrentDPI(dpiValue) {
        probe.record("setCurrentDPI", dpiValue)
        if (dpiValue !== 0)
            currentDPI = dpiValue - 1
    }

    // Backend slots as the pages call them, with the scene's own number and list values.
    function useBackend() {
        ui_View.setData("mouse/reportRate", 2)
        ui_View.setDataList("mouse/lightValue", [5, 1, 3])
        // Script lists through the plain value slots, as the gun page stores its selection.
        ui_View.setGlobalData("mouse/selectGun", [0, 4, 2])
        ui_View.setData("mouse/dpiValueArray", [400, 800])
        ui_View.mouseSetReportRate(4)
        ui_View.mouseSetKeyboardoption(1, 2, 3, 300)
        ui_View.mouseSetCursorSpeed(3)
        ui_View.mouseSetVerticalScrollLines(1000)
        return [ui_View.getData("mouse/reportRate", false), ui_View.getDataList("mouse/lightValue", false),
                ui_View.getGlobalData("common/name"), ui_View.mouseGetCurrentDPI(),
                ui_View.GetKeyboardoption()]
    }
}
