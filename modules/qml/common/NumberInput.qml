// A boxed input for a whole number. Only digits up to `maximumLength` can be typed, and a number above
// `maximum` shows as `maximum` at once; when the input loses the focus (Enter and Tab give it away,
// Tab and Shift+Tab to the next and previous field) the text is held to [minimum, maximum] — an empty
// text becomes `emptyValue` — and `committed` reports the value.
import QtQuick
import "../js/NumberText.js" as NumberText

Rectangle {
    id: box

    signal committed(int value)
    signal focusGained

    property alias text: input.text
    property alias maximumLength: input.maximumLength
    property alias inputFocus: input.activeFocus
    property int minimum: 0
    property int maximum: 255
    property int emptyValue: minimum
    property color textColor: "#ffffff"
    property int fontSize: 12
    property string fontName: ""

    function releaseFocus()
    {
        input.focus = false;
    }

    function commit()
    {
        input.text = NumberText.clampText(input.text, minimum, maximum, emptyValue);
        committed(Number(input.text));
    }

    width: 48
    height: 22
    color: "#1a1a1a"
    border.color: input.activeFocus ? "#cf3e00" : "#3c3c3c"

    TextInput {
        id: input
        objectName: "input"
        anchors.fill: parent
        anchors.leftMargin: 4
        anchors.rightMargin: 4
        verticalAlignment: TextInput.AlignVCenter
        horizontalAlignment: TextInput.AlignHCenter
        color: box.textColor
        selectionColor: "#cf3e00"
        font.pixelSize: box.fontSize
        font.family: box.fontName
        maximumLength: 4
        selectByMouse: true
        validator: RegularExpressionValidator { regularExpression: /[0-9]*/ }
        activeFocusOnTab: true
        // What cannot be held is not shown as typed: the field says what it will hold.
        onTextEdited: {
            if (text !== "" && Number(text) > box.maximum)
                text = String(box.maximum);
        }
        Keys.onReturnPressed: focus = false
        Keys.onEnterPressed: focus = false
        onActiveFocusChanged: {
            if (activeFocus)
                box.focusGained();
            else
                box.commit();
        }
    }
}
