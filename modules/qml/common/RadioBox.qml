// A round choice with its text; the page clears the others of its group. With `textWidth` > 0 the
// text wraps at that width.
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
    property real textWidth: 0

    width: mark.width + 6 + (textWidth > 0 ? textWidth : label.implicitWidth)
    height: Math.max(mark.height, textWidth > 0 ? label.height : label.implicitHeight)

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
        width: radio.textWidth > 0 ? radio.textWidth : implicitWidth
        wrapMode: radio.textWidth > 0 ? Text.Wrap : Text.NoWrap
        color: radio.textColor
        font.pixelSize: radio.fontSize
        font.family: radio.fontName
    }
    MouseArea {
        anchors.fill: parent
        onClicked: radio.clicked()
    }
}
