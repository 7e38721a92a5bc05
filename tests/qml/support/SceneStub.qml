// The part of the main window a page relies on, for testing a page alone: the scene-wide settings the
// pages read by name (and the theme's colours, which tests compare with), mainFocus(), the dimming
// mask and the recording backend as ui_View. A test file uses it as its root, so the page finds these
// names as it does in the real window.
import QtQuick

Item {
    width: 1024
    height: 640

    property var mainLang: ["Editor", "Macro Editor", "Gun Editor", "Report Rate", "Config", "Reset",
        "Reset this profile to its factory settings?", "Cancel", "OK", "System Settings", "Save", "", "", "", ""]
    property string language: "English"
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

    property int focusCalls: 0
    function mainFocus()
    {
        focusCalls += 1;
    }

    property alias mainMask: mask
    property alias ui_View: backend

    Rectangle {
        id: mask
        anchors.fill: parent
        visible: false
    }

    RecordingView {
        id: backend
    }
}
