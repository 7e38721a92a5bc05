// A question over whatever it fills (the window, or a dialog): a title, a text and a row of answer
// buttons, over its own dimming mask that takes every click meanwhile. `ask(text, answers,
// cancelAnswer)` opens it; `answered(index)` says which answer was chosen. Escape and the close
// button give `cancelAnswer`. The buttons are named objectName + "Answer" + index.
pragma ComponentBehavior: Bound
import QtQuick

Item {
    id: ask

    signal answered(int index)

    property alias title: frame.title
    property string text: ""
    property var answers: []
    property int cancelAnswer: 0
    property url buttonSource
    property url buttonHoverSource
    property alias closeSource: frame.closeSource
    property alias closeHoverSource: frame.closeHoverSource
    property color textColor: "#ffffff"
    property int fontSize: 12
    property int titleSize: 14
    property string fontName: ""
    property color color: "#1a1a1a"
    property color borderColor: "#3c3c3c"
    // Asked and not yet answered (whether or not the window shows it right now).
    property bool isOpen: false
    // Where the keyboard focus goes back to once answered.
    property Item focusBack: null

    function ask(text, answers, cancelAnswer)
    {
        if (text !== undefined)
            ask.text = String(text);
        if (answers !== undefined)
            ask.answers = answers;
        if (cancelAnswer !== undefined)
            ask.cancelAnswer = cancelAnswer;
        isOpen = true;
        frame.open();
    }

    property int chosen: -1

    function answer(index)
    {
        if (!isOpen)
            return;
        chosen = index;
        frame.close();
    }

    function frameClosed()
    {
        var index = chosen >= 0 ? chosen : cancelAnswer;
        chosen = -1;
        isOpen = false;
        if (focusBack)
            focusBack.forceActiveFocus();
        answered(index);
    }

    anchors.fill: parent
    z: 95

    Rectangle {
        id: askMask
        objectName: "askMask"
        visible: false
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 144 / 255)
        MouseArea {
            anchors.fill: parent
            hoverEnabled: true
            acceptedButtons: Qt.AllButtons
        }
    }

    DialogFrame {
        id: frame
        objectName: ask.objectName + "Frame"
        width: Math.min(ask.width - 16, 427)
        height: message.y + message.height + 58
        mask: askMask
        escapeCloses: false
        textColor: ask.textColor
        titleSize: ask.titleSize
        fontName: ask.fontName
        color: ask.color
        border.color: ask.borderColor
        onEscapePressed: ask.answer(ask.cancelAnswer)
        // Closed by its close button, the answer is the cancel one.
        onClosed: ask.frameClosed()

        Text {
            id: message
            objectName: "message"
            x: 16
            y: 40
            width: parent.width - 32
            text: ask.text
            wrapMode: Text.Wrap
            color: ask.textColor
            font.family: ask.fontName
            font.pixelSize: ask.fontSize
            lineHeight: 1.15
        }
        Row {
            anchors.right: parent.right
            anchors.rightMargin: 16
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 12
            spacing: 12
            Repeater {
                model: ask.answers
                delegate: PictureButton {
                    required property int index
                    required property var modelData
                    objectName: ask.objectName + "Answer" + index
                    width: 88
                    height: 25
                    source: ask.buttonSource
                    hoverSource: ask.buttonHoverSource
                    text: String(modelData)
                    textColor: ask.textColor
                    fontName: ask.fontName
                    fontSize: ask.fontSize
                    onClicked: ask.answer(index)
                }
            }
        }
    }
}
