// The frame of a dialog over the main window: a dark panel with a title and a close button, dragged by
// its background and kept wholly inside the window. `open()` centres it, shows the window's dimming
// mask (`mask`) and takes the keyboard focus; `close()` hides both. Escape closes it, or, with
// `escapeCloses` false, only raises `escapePressed` (for dialogs whose close applies something).
// Children go into the panel.
import QtQuick

Rectangle {
    id: frame

    signal closed
    signal backgroundPressed
    signal escapePressed

    default property alias content: body.data
    property alias title: titleText.text
    property Item mask: null
    property bool closable: true
    property url closeSource
    property url closeHoverSource
    property color textColor: "#ffffff"
    property int titleSize: 14
    property string fontName: ""
    property bool escapeCloses: true
    // What the close button does, shown while the pointer rests on it.
    property string closeTip: ""

    function open()
    {
        if (parent) {
            x = Math.round((parent.width - width) / 2);
            y = Math.round((parent.height - height) / 2);
        }
        if (mask)
            mask.visible = true;
        visible = true;
        // Escape reaches the dialog, and a key typed goes nowhere behind it.
        forceActiveFocus();
    }

    function close()
    {
        visible = false;
        if (mask)
            mask.visible = false;
        closed();
    }

    // A press on the window's dimming mask (its signal pressedAt) counts as one on the background.
    Connections {
        target: frame.mask
        ignoreUnknownSignals: true
        function onPressedAt()
        {
            if (frame.visible)
                frame.backgroundPressed();
        }
    }

    visible: false
    color: "#1a1a1a"
    border.color: "#3c3c3c"
    radius: 4

    Keys.onEscapePressed: function (event) {
        event.accepted = true;
        if (escapeCloses)
            close();
        else
            escapePressed();
    }

    MouseArea {
        objectName: "dragArea"
        anchors.fill: parent
        drag.target: frame
        drag.threshold: 0
        drag.smoothed: false
        drag.minimumX: 0
        drag.minimumY: 0
        drag.maximumX: frame.parent ? Math.max(0, frame.parent.width - frame.width) : 0
        drag.maximumY: frame.parent ? Math.max(0, frame.parent.height - frame.height) : 0
        onPressed: frame.backgroundPressed()
    }

    Text {
        id: titleText
        x: 16
        y: 10
        color: frame.textColor
        font.pixelSize: frame.titleSize
        font.family: frame.fontName
        font.bold: true
    }

    Image {
        id: closeButton
        objectName: "closeButton"
        visible: frame.closable
        // Its tip lies over the panel's content.
        z: 2
        anchors.right: parent.right
        anchors.rightMargin: 8
        anchors.top: parent.top
        anchors.topMargin: 6
        width: 24
        height: 24
        source: closeArea.containsMouse ? frame.closeHoverSource : frame.closeSource
        MouseArea {
            id: closeArea
            anchors.fill: parent
            hoverEnabled: true
            onClicked: frame.close()
        }
        HoverTip {
            text: frame.closeTip
            hovered: closeArea.containsMouse
            alignRight: true
            fontName: frame.fontName
        }
    }

    Item {
        id: body
        anchors.fill: parent
    }
}
