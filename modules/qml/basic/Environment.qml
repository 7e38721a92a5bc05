// The window's own pictures: background, title bar and title logo.
import QtQuick

Item {
    property url backgroundSource
    property url titleBarSource
    property url titleLogoSource

    width: 1024
    height: 640

    Image {
        anchors.fill: parent
        source: parent.backgroundSource
    }
    Image {
        anchors.top: parent.top
        anchors.left: parent.left
        source: parent.titleBarSource
    }
    Image {
        anchors.left: parent.left
        anchors.leftMargin: 52
        anchors.top: parent.top
        anchors.topMargin: 24
        source: parent.titleLogoSource
    }
}
