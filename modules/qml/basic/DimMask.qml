// Dims the window behind an open dialog and takes its clicks (and the hover: the pointer over a
// dialog reaches nothing of the window beneath). Dragging it moves the window; a press raises
// `pressedAt` first.
import QtQuick

Rectangle {
    id: mask

    signal pressedAt

    visible: false
    anchors.fill: parent
    color: Qt.rgba(0, 0, 0, 144 / 255)
    WindowDrag {
        hoverEnabled: true
        onPressedAt: mask.pressedAt()
    }
}
