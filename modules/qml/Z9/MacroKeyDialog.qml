// The macro editor's insert-key dialog, over its own mask on the editor: it shows the captured key
// (`keyName`) and OK confirms it. Fill the editor with it.
import QtQuick
import "../common"

Item {
    id: keyDialog

    signal confirmed
    signal closed

    property string keyName: ""
    property alias title: frame.title
    property alias okText: okButton.text
    readonly property bool isOpen: frame.visible

    function open()
    {
        frame.open();
    }

    function close()
    {
        if (frame.visible)
            frame.close();
    }

    z: 90

    Rectangle {
        id: keyMask
        objectName: "insertMask"
        visible: false
        anchors.fill: parent
        radius: 4
        color: Qt.rgba(0, 0, 0, 144 / 255)
        // Nothing behind it takes a click meanwhile.
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.AllButtons
        }
    }
    DialogFrame {
        id: frame
        objectName: "insertDialog"
        width: 296
        height: 152
        mask: keyMask
        closeSource: sourceCloseBtn
        closeTip: mainLang[15] !== undefined ? mainLang[15] : ""
        closeHoverSource: sourceCloseBtnH
        textColor: fontColor
        titleSize: fontMiddleSize
        fontName: fontFamily
        color: colorGray0
        border.color: colorGray1
        onClosed: keyDialog.closed()

        Rectangle {
            objectName: "insertKeyField"
            x: 32
            y: 50
            width: parent.width - 64
            height: 30
            color: colorBlack
            border.color: keyDialog.keyName !== "" ? colorOrange : colorGray1
            Text {
                anchors.centerIn: parent
                text: keyDialog.keyName
                color: fontColor
                font.pixelSize: fontMiddleSize
                font.family: fontFamily
            }
        }
        PictureButton {
            id: okButton
            objectName: "insertKeyOk"
            anchors.horizontalCenter: parent.horizontalCenter
            y: 104
            width: 88
            height: 25
            source: sourceSureBtn
            hoverSource: sourceSureBtnH
            textColor: fontColor
            fontName: fontFamily
            fontSize: fontNormalSize
            onClicked: keyDialog.confirmed()
        }
    }
}
