// The left panel below the key list: the editor box (macro and gun editors), the report-rate box and
// the system settings button.
import QtQuick
import "../common"
import "../js/Lang.js" as Lang

Column {
    id: tools

    property var texts: []
    property bool isGun: true
    readonly property alias reportRateBox: reportRateBox

    signal macroEditorClicked
    signal gunEditorClicked
    signal systemSettingClicked
    // The report-rate list opens.
    signal listOpened

    spacing: 8

    EditorBox {
        id: editorBox
        isGun: tools.isGun
        title: Lang.main(tools.texts, 0)
        macroText: Lang.main(tools.texts, 1)
        gunText: Lang.main(tools.texts, 2)
        onMacroEditorClicked: tools.macroEditorClicked()
        onGunEditorClicked: tools.gunEditorClicked()
    }
    ReportRate {
        id: reportRateBox
        title: Lang.main(tools.texts, 3)
        onListOpened: tools.listOpened()
    }
    Button {
        id: systemSettingBtn
        objectName: "systemSettingBtn"
        width: 232
        textValue: Lang.main(tools.texts, 9)
        onClicked: tools.systemSettingClicked()
    }
}
