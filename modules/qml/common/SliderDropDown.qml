// A drop-down whose open part is a slider: the field shows `text`, which the owner sets from the
// slider's position; the slider reports moves and the release as SliderButton does. The slider opens
// beside the field, level with it, so that it covers none of the rows below.
import QtQuick

Item {
    id: drop

    signal valueChange(real position)
    signal delayedValueChange(real position)
    signal opened

    property alias slider: slider
    property alias text: label.text
    property bool isOpen: false
    property int sliderWidth: 104
    property color fieldColor: "#1a1a1a"
    property color borderColor: "#3c3c3c"
    property color highlightColor: "#cf3e00"
    property color textColor: "#ffffff"
    property color fillColor: "#09347f"
    property color handleColor: "#d1d1d1"
    property int fontSize: 12
    property string fontName: ""

    function open()
    {
        isOpen = true;
        opened();
    }

    function close()
    {
        isOpen = false;
    }

    width: 96
    height: 24
    z: isOpen ? 50 : 0

    Rectangle {
        anchors.fill: parent
        color: drop.fieldColor
        border.color: drop.isOpen ? drop.highlightColor : drop.borderColor
    }
    Text {
        id: label
        anchors.left: parent.left
        anchors.leftMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        color: drop.textColor
        font.pixelSize: drop.fontSize
        font.family: drop.fontName
    }
    Text {
        anchors.right: parent.right
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        text: drop.isOpen ? "\u25b4" : "\u25be"
        color: drop.textColor
        font.pixelSize: drop.fontSize
    }
    MouseArea {
        anchors.fill: parent
        onClicked: drop.isOpen ? drop.close() : drop.open()
    }

    Rectangle {
        objectName: "sliderPanel"
        visible: drop.isOpen
        x: drop.width - 1
        y: (drop.height - height) / 2
        width: drop.sliderWidth + 16
        height: 28
        color: drop.fieldColor
        border.color: drop.highlightColor

        // Presses beside the slider stay in the panel.
        MouseArea {
            anchors.fill: parent
        }
        SliderButton {
            id: slider
            objectName: "slider"
            x: 8
            anchors.verticalCenter: parent.verticalCenter
            width: drop.sliderWidth
            trackColor: drop.borderColor
            fillColor: drop.fillColor
            handleColor: drop.handleColor
            onValueChange: function (position) {
                drop.valueChange(position);
            }
            onDelayedValueChange: function (position) {
                drop.delayedValueChange(position);
            }
        }
    }
}
