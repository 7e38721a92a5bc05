// The window's own pictures: background, title bar and title logo. They are hidden at the first frame,
// so they are decoded off the GUI thread.
import QtQuick
import "../common"

Item {
    property url backgroundSource: Theme.sourceBackground
    property url titleBarSource: Theme.sourceTitleBar
    property url titleLogoSource: Theme.sourceTitleLogo

    width: 1024
    height: 640

    Image {
        anchors.fill: parent
        source: parent.backgroundSource
        asynchronous: true
    }
    Image {
        anchors.top: parent.top
        anchors.left: parent.left
        source: parent.titleBarSource
        asynchronous: true
    }
    Image {
        anchors.left: parent.left
        anchors.leftMargin: 52
        anchors.top: parent.top
        anchors.topMargin: 24
        source: parent.titleLogoSource
        asynchronous: true
    }
}
