// A press-and-drag area that moves the window: every move while pressed hands the window controller
// the offset from the press.
import QtQuick

MouseArea {
    id: area
    property real pressX: 0
    property real pressY: 0

    signal pressedAt

    anchors.fill: parent
    onPressed: function (mouse) {
        area.pressedAt();
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
