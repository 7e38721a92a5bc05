// A clickable text on a grey field that lights up under the pointer.
import QtQuick

Item {
    id: button
    signal clicked
    property alias textValue: label.text
    property alias fontSize: label.font.pixelSize

    width: 192
    height: 38

    Rectangle {
        anchors.fill: parent
        color: "#737373"
        opacity: area.containsMouse ? 1 : 0.1
    }
    Text {
        id: label
        anchors.centerIn: parent
        color: "#ffffff"
        font.pixelSize: 12
    }
    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.clicked()
    }
}
