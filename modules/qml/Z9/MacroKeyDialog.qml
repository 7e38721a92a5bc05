// The macro editor's insert-key dialog, over its own mask on the editor: it shows the captured key
// (`keyName`) and OK confirms it. Fill the editor with it.
import QtQuick
import "../common"
import "../js/Lang.js" as Lang

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
        closeSource: Theme.sourceCloseBtn
        closeTip: Lang.main(mainLang, 15)
        closeHoverSource: Theme.sourceCloseBtnH
        textColor: Theme.fontColor
        titleSize: Theme.fontMiddleSize
        fontName: Theme.fontFamily
        color: Theme.colorGray0
        border.color: Theme.colorGray1
        onClosed: keyDialog.closed()

        Rectangle {
            objectName: "insertKeyField"
            x: 32
            y: 50
            width: parent.width - 64
            height: 30
            color: Theme.colorBlack
            border.color: keyDialog.keyName !== "" ? Theme.colorOrange : Theme.colorGray1
            Text {
                anchors.centerIn: parent
                text: keyDialog.keyName
                color: Theme.fontColor
                font.pixelSize: Theme.fontMiddleSize
                font.family: Theme.fontFamily
            }
        }
        PictureButton {
            id: okButton
            objectName: "insertKeyOk"
            anchors.horizontalCenter: parent.horizontalCenter
            y: 104
            width: 88
            height: 25
            source: Theme.sourceSureBtn
            hoverSource: Theme.sourceSureBtnH
            textColor: Theme.fontColor
            fontName: Theme.fontFamily
            fontSize: Theme.fontNormalSize
            onClicked: keyDialog.confirmed()
        }
    }
}
