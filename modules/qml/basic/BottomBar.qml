// The bottom bar: Config (the profile dialog), Reset (the factory reset) and Save, which is drawn red
// while anything is unsaved.
import QtQuick
import "../common"
import "../js/Lang.js" as Lang

Row {
    id: bar

    property var texts: []
    property bool unsaved: false
    readonly property Item saveButton: saveBtn

    signal configClicked
    signal resetClicked
    signal saveClicked

    spacing: 16

    Button {
        id: configBtn
        objectName: "configBtn"
        width: 64
        height: 24
        textValue: Lang.main(bar.texts, 4)
        onClicked: bar.configClicked()
    }
    Button {
        id: resetBtn
        objectName: "resetBtn"
        width: 64
        height: 24
        textValue: Lang.main(bar.texts, 5)
        onClicked: bar.resetClicked()
    }
    Rectangle {
        id: saveBtn
        objectName: "saveBtn"
        width: 64
        height: 24
        readonly property bool unsaved: bar.unsaved
        color: saveArea.containsMouse ? Theme.colorOrange : (unsaved ? "#ff3030" : Theme.colorBlue)
        Text {
            anchors.centerIn: parent
            text: Lang.main(bar.texts, 10)
            color: Theme.fontColor
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormalSize
        }
        MouseArea {
            id: saveArea
            anchors.fill: parent
            hoverEnabled: true
            // On the release: the save locks the view while its device commands let waiting input
            // through, and a release dropped there would leave the button held for good.
            onClicked: bar.saveClicked()
            // The second click of a quick pair comes as a double click, not as a click.
            onDoubleClicked: bar.saveClicked()
        }
    }
}
