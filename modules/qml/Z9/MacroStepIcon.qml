// The mark before a macro step: a down arrow for a press, an up arrow for a release (orange for keys,
// light grey for mouse buttons), a small clock for a delay; white on the selected row.
import QtQuick
import "../common"
import "../js/MacroSteps.js" as MacroSteps

Item {
    id: icon

    property int type: 0
    property bool selected: false

    width: 16
    height: 16

    Rectangle {
        visible: icon.type === MacroSteps.DELAY
        x: 12
        anchors.verticalCenter: parent.verticalCenter
        width: 14
        height: 14
        radius: 7
        color: "transparent"
        border.color: icon.selected ? Theme.fontColor : Theme.colorGray2
        Rectangle {
            x: 6
            y: 3
            width: 1.5
            height: 4.5
            color: icon.selected ? Theme.fontColor : Theme.colorGray2
        }
        Rectangle {
            x: 6
            y: 6.5
            width: 4
            height: 1.5
            color: icon.selected ? Theme.fontColor : Theme.colorGray2
        }
    }
    Text {
        visible: MacroSteps.isAction(icon.type)
        anchors.centerIn: parent
        text: MacroSteps.isRelease(icon.type) ? "\u25b2" : "\u25bc"
        color: icon.selected ? Theme.fontColor : (icon.type >= MacroSteps.MOUSE_DOWN ? Theme.colorGray3 : Theme.colorOrange)
        font.pixelSize: Theme.fontMinSize
    }
}
