// The left panel's editor box: the macro editor entry, and the gun editor's on a mouse with guns.
import QtQuick
import "../common"

Rectangle {
    id: box

    property alias title: caption.text
    property alias macroText: macroEditorBtn.textValue
    property alias gunText: gunEditorBtn.textValue
    property bool isGun: true

    signal macroEditorClicked
    signal gunEditorClicked

    width: 232
    height: isGun ? 100 : 76
    color: Theme.colorBlack
    border.color: Theme.colorGray1
    Text {
        id: caption
        x: 8
        y: 4
        color: Theme.fontColor
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormalSize
    }
    Column {
        x: 20
        y: 24
        spacing: 0
        // Leaves the box's bottom border clear.
        Button {
            id: macroEditorBtn
            objectName: "macroEditorBtn"
            height: box.isGun ? 36 : 46
            onClicked: box.macroEditorClicked()
        }
        Button {
            id: gunEditorBtn
            objectName: "gunEditorBtn"
            height: 36
            visible: box.isGun
            onClicked: box.gunEditorClicked()
        }
    }
}
