// A small scene: background, title bar, a few panels and texts.
import QtQuick

Rectangle {
    width: 1024
    height: 640
    color: "#1a1a1a"

    Rectangle {
        width: parent.width
        height: 64
        gradient: Gradient {
            GradientStop { position: 0.0; color: "#3c3c3c" }
            GradientStop { position: 1.0; color: "#1a1a1a" }
        }
        Text {
            x: 52
            anchors.verticalCenter: parent.verticalCenter
            text: "Settings"
            color: "#ffffff"
            font.pixelSize: 16
        }
    }

    Row {
        x: 24
        y: 88
        spacing: 16
        Repeater {
            model: 4
            Rectangle {
                required property int index
                width: 232
                height: 480
                radius: 6
                color: index % 2 ? "#09347f" : "#3c3c3c"
                Column {
                    x: 12
                    y: 12
                    spacing: 8
                    Repeater {
                        model: 6
                        Text {
                            required property int index
                            text: "Item " + (index + 1)
                            color: "#d1d1d1"
                            font.pixelSize: 12
                        }
                    }
                }
            }
        }
    }
}
