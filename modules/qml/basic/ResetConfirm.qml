// The factory reset's question: says what goes (this profile's settings and the gun presets every
// profile shares); OK hides it and raises `accepted`, Cancel closes it. Dragged by its background, kept inside the
// window.
pragma ComponentBehavior: Bound
import QtQuick
import "../common"
import "../js/Lang.js" as Lang

DialogFrame {
    id: dialog

    property var texts: []
    property string profileName

    signal accepted

    width: 427
    height: resetText.y + resetText.height + 50
    x: (parent.width - width) / 2
    y: (parent.height - height) / 2
    closable: false
    title: Lang.main(texts, 5)
    textColor: Theme.fontColor
    fontName: Theme.fontFamily
    titleSize: Theme.fontMiddleSize

    Text {
        id: resetText
        objectName: "resetText"
        x: 16
        y: 38
        width: parent.width - 32
        text: Lang.main(dialog.texts, 6) + "\n" + Lang.withName(Lang.main(dialog.texts, 14), dialog.profileName)
        color: Theme.fontColor
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormalSize
        wrapMode: Text.Wrap
        lineHeight: 1.15
    }
    Row {
        anchors.right: parent.right
        anchors.rightMargin: 16
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 10
        spacing: 12
        PictureButton {
            objectName: "factorysureOK"
            width: 88
            height: 25
            source: Theme.sourceSureBtn
            hoverSource: Theme.sourceSureBtnH
            text: Lang.main(dialog.texts, 8)
            textColor: Theme.fontColor
            fontName: Theme.fontFamily
            fontSize: Theme.fontNormalSize
            onClicked: {
                dialog.visible = false;
                if (dialog.mask)
                    dialog.mask.visible = false;
                dialog.accepted();
            }
        }
        PictureButton {
            objectName: "factorysureCancel"
            width: 88
            height: 25
            source: Theme.sourceSureBtn
            hoverSource: Theme.sourceSureBtnH
            text: Lang.main(dialog.texts, 7)
            textColor: Theme.fontColor
            fontName: Theme.fontFamily
            fontSize: Theme.fontNormalSize
            onClicked: dialog.close()
        }
    }
}
