// A button drawn with a picture of the window's artwork (blue plate, another one under the pointer)
// and a text on it; a plain plate stands in while a picture is missing.
import QtQuick

Item {
    id: button

    signal clicked

    property url source
    property url hoverSource
    property alias text: label.text
    property color textColor: "#ffffff"
    property color color: "#09347f"
    property color hoverColor: "#cf3e00"
    property int fontSize: 12
    property string fontName: ""
    // Named while the pointer rests on it: for buttons that show only a picture.
    property string toolTip: ""
    property bool toolTipRight: false
    readonly property alias hovered: area.containsMouse

    width: 64
    height: 24

    Rectangle {
        anchors.fill: parent
        radius: 3
        visible: picture.status !== Image.Ready
        color: area.containsMouse ? button.hoverColor : button.color
    }
    Image {
        id: picture
        anchors.fill: parent
        source: area.containsMouse ? button.hoverSource : button.source
    }
    Text {
        id: label
        anchors.fill: parent
        anchors.margins: 2
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 8
        color: button.textColor
        font.pixelSize: button.fontSize
        font.family: button.fontName
    }
    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.clicked()
    }
    HoverTip {
        text: button.toolTip
        hovered: area.containsMouse
        alignRight: button.toolTipRight
        fontName: button.fontName
    }
}
