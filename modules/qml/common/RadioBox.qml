// A round choice with its text; the page clears the others of its group.
import QtQuick

Item {
    id: radio

    signal clicked

    property bool checked: false
    property alias text: label.text
    property url source
    property url checkedSource
    property color textColor: "#ffffff"
    property int fontSize: 12
    property string fontName: ""

    width: mark.width + 6 + label.implicitWidth
    height: Math.max(mark.height, label.implicitHeight)

    Image {
        id: mark
        anchors.verticalCenter: parent.verticalCenter
        width: 14
        height: 14
        source: radio.checked ? radio.checkedSource : radio.source
    }
    Text {
        id: label
        anchors.left: mark.right
        anchors.leftMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        color: radio.textColor
        font.pixelSize: radio.fontSize
        font.family: radio.fontName
    }
    MouseArea {
        anchors.fill: parent
        onClicked: radio.clicked()
    }
}
