// The title area's word on the mouse while none is connected: a red mark and a plain text.
import QtQuick
import "../common"

Rectangle {
    id: status
    property string text
    property string fontName: Theme.fontFamily
    property int fontSize: Theme.fontNormalSize
    property color textColor: Theme.fontColor

    width: row.width + 20
    height: 24
    radius: 12
    color: "#c0000000"
    border.color: "#cf3e00"

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 8
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: 8
            height: 8
            radius: 4
            color: "#ff3030"
        }
        Text {
            objectName: "mouseStatusText"
            anchors.verticalCenter: parent.verticalCenter
            text: status.text
            color: status.textColor
            font.family: status.fontName
            font.pixelSize: status.fontSize
        }
    }
}
