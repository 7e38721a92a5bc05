// A short text naming what a picture-only control does, shown while the pointer rests on it. Put it
// in the control and bind `hovered` to the control's pointer; `alignRight` keeps it inside the window
// for controls at its right edge.
import QtQuick

Rectangle {
    id: tip

    property string text: ""
    property bool hovered: false
    property bool alignRight: false
    property int fontSize: 12
    property string fontName: ""
    readonly property bool shown: visible

    visible: false
    z: 1000
    x: alignRight ? parent.width - width : 0
    y: parent.height + 4
    width: label.implicitWidth + 12
    height: label.implicitHeight + 6
    radius: 3
    color: "#1a1a1a"
    border.color: "#969696"

    onHoveredChanged: {
        if (hovered && text !== "") {
            delay.restart();
        } else {
            delay.stop();
            visible = false;
        }
    }

    Timer {
        id: delay
        interval: 500
        onTriggered: tip.visible = tip.hovered && tip.text !== ""
    }

    Text {
        id: label
        anchors.centerIn: parent
        text: tip.text
        color: "#ffffff"
        font.pixelSize: tip.fontSize
        font.family: tip.fontName
    }
}
