// A square box with its text that a click ticks or clears.
import QtQuick

Item {
    id: check

    signal toggled(bool checked)

    property bool checked: false
    property alias text: label.text
    property url markSource
    property color textColor: "#ffffff"
    property int fontSize: 12
    property string fontName: ""

    width: box.width + 6 + label.implicitWidth
    height: Math.max(box.height, label.implicitHeight)

    Rectangle {
        id: box
        anchors.verticalCenter: parent.verticalCenter
        width: 14
        height: 14
        color: "#1a1a1a"
        border.color: check.checked ? "#cf3e00" : "#969696"
        Image {
            anchors.fill: parent
            visible: check.checked
            source: check.markSource
        }
        // The window's check picture is the box's face without a tick: the tick goes on top of it.
        Rectangle {
            objectName: "tick"
            anchors.fill: parent
            anchors.margins: 4
            radius: 1
            visible: check.checked
            color: "#cf3e00"
        }
    }
    Text {
        id: label
        anchors.left: box.right
        anchors.leftMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        color: check.textColor
        font.pixelSize: check.fontSize
        font.family: check.fontName
    }
    MouseArea {
        anchors.fill: parent
        onClicked: {
            check.checked = !check.checked;
            check.toggled(check.checked);
        }
    }
}
