// The ask menu, dropped from the title bar's ask button: the maker's page, the version, and the
// installed languages with the one shown ticked. A click on a row hides the menu.
pragma ComponentBehavior: Bound
import QtQuick
import "../common"
import "../js/Lang.js" as Lang

Rectangle {
    id: askMenu

    property var texts: []
    property string url
    property string language
    // The installed languages, [{code, name}].
    property var languages: []

    // Each installed language with the name its own file gives it.
    function loadLanguages()
    {
        var codes = ui_View.getLanguages();
        var out = [];
        for (var i = 0; i < codes.length; ++i) {
            var name = ui_View.getLangStrings("main", codes[i])[26];
            out.push({code: String(codes[i]), name: name ? String(name) : String(codes[i])});
        }
        languages = out;
    }

    signal languageChosen(string code)

    // Row 0 the maker's page (its address), row 1 the version, which does nothing.
    property alias askMenuModel: askMenuModel
    ListModel {
        id: askMenuModel
        ListElement { askMenuTxt: "https://kestral.example.com" }
        ListElement { askMenuTxt: "" }
    }
    onUrlChanged: askMenuModel.setProperty(0, "askMenuTxt", url)

    visible: false
    // Wide enough for the maker's address.
    width: 224
    height: askColumn.height + 8
    color: Theme.colorGray0
    border.color: Theme.colorGray1
    z: 60

    component AskRow: Rectangle {
        id: askRow
        property string label
        property bool ticked: false
        property bool active: true
        signal chosen()
        width: askMenu.width
        height: 24
        color: active && rowArea.containsMouse ? Theme.colorOrange : "transparent"
        Text {
            x: 12
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - (askRow.ticked ? 40 : 24)
            text: askRow.label
            color: askRow.active ? Theme.fontColor : Theme.colorGray2
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormalSize
            elide: Text.ElideRight
        }
        Text {
            anchors.right: parent.right
            anchors.rightMargin: 12
            anchors.verticalCenter: parent.verticalCenter
            visible: askRow.ticked
            text: "\u2713"
            color: rowArea.containsMouse ? Theme.fontColor : Theme.colorOrange
            font.pixelSize: Theme.fontMiddleSize
        }
        MouseArea {
            id: rowArea
            anchors.fill: parent
            hoverEnabled: true
            onClicked: {
                askMenu.visible = false;
                askRow.chosen();
            }
        }
    }

    Column {
        id: askColumn
        y: 4
        Repeater {
            model: askMenuModel
            delegate: AskRow {
                required property int index
                required property string askMenuTxt
                objectName: "askRow" + index
                // Row 1 is the version; its text follows the language.
                label: index === 1 ? Lang.main(askMenu.texts, 25) + " " + Qt.application.version : askMenuTxt
                onChosen: {
                    if (index === 0)
                        Qt.openUrlExternally(askMenu.url);
                }
            }
        }
        Rectangle {
            x: 8
            width: askMenu.width - 16
            height: 1
            color: Theme.colorGray1
        }
        AskRow {
            label: Lang.main(askMenu.texts, 24)
            active: false
        }
        Repeater {
            model: askMenu.languages
            delegate: AskRow {
                required property var modelData
                objectName: "askLanguage_" + modelData.code
                label: modelData.name
                ticked: modelData.code === askMenu.language
                onChosen: askMenu.languageChosen(modelData.code)
            }
        }
    }
}
