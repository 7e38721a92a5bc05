// A one-line input for editing a name in place. `edit(text)` shows it with the whole text selected
// and takes the focus; Enter or losing the focus ends the edit with `committed(text)`, Escape ends it
// with `cancelled()`. Each edit ends exactly once. Control characters cannot be typed or pasted. An
// edit left untouched commits the text it was given, even one longer than `maximumLength`.
import QtQuick

Rectangle {
    id: box

    signal committed(string text)
    signal cancelled

    property alias text: input.text
    property alias maximumLength: input.maximumLength
    property alias inputFocus: input.activeFocus
    readonly property bool editing: input.editing
    property color textColor: "#ffffff"
    property color selectionColor: "#cf3e00"
    property int fontSize: 12
    property string fontName: ""

    function edit(text)
    {
        input.original = text === undefined || text === null ? "" : String(text);
        input.text = input.original;
        input.touched = false;
        input.editing = true;
        input.forceActiveFocus();
        input.selectAll();
    }

    // Ends the edit as a focus loss would: what was typed is committed.
    function releaseFocus()
    {
        finish(true);
    }

    function finish(commit)
    {
        if (!input.editing)
            return;
        input.editing = false;
        input.focus = false;
        if (commit)
            committed(input.touched ? input.text : input.original);
        else
            cancelled();
    }

    width: 120
    height: 22
    color: "#1a1a1a"
    border.color: input.activeFocus ? selectionColor : "#3c3c3c"

    TextInput {
        id: input
        objectName: "input"
        property bool editing: false
        property bool touched: false
        property string original
        anchors.fill: parent
        anchors.leftMargin: 4
        anchors.rightMargin: 4
        verticalAlignment: TextInput.AlignVCenter
        clip: true
        color: box.textColor
        selectionColor: box.selectionColor
        font.pixelSize: box.fontSize
        font.family: box.fontName
        maximumLength: 32
        selectByMouse: true
        validator: RegularExpressionValidator { regularExpression: /[^\x00-\x1f\x7f]*/ }
        Keys.onReturnPressed: box.finish(true)
        Keys.onEnterPressed: box.finish(true)
        Keys.onEscapePressed: box.finish(false)
        onTextEdited: touched = true
        onActiveFocusChanged: {
            if (!activeFocus)
                box.finish(true);
        }
    }
}
