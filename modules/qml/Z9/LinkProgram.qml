// "Link to program…": the windows open now (title and program) to pick one from, or a program's name
// typed by hand; Link (or Enter) raises chosen(program), Cancel, Escape and the close button nothing.
// It lies over its own dimming mask within whatever it fills (the profile dialog).
pragma ComponentBehavior: Bound
import QtQuick
import "../common"

Item {
    id: picker

    signal chosen(string program)

    // Title, the list's caption, the name's label, Link, Cancel.
    property var texts: ["Link to program", "Windows open now", "Program name:", "Link", "Cancel"]
    property alias closeSource: frame.closeSource
    property alias closeHoverSource: frame.closeHoverSource
    property url buttonSource
    property url buttonHoverSource
    property Item focusBack: null
    property bool isOpen: false
    // [{title, program}]
    property var windows: []
    property alias programName: nameInput.text

    function text(i)
    {
        return texts && texts[i] !== undefined ? String(texts[i]) : "";
    }

    function open()
    {
        windows = typeof appProfiles !== "undefined" && appProfiles ? appProfiles.openWindows() : [];
        windowList.currentIndex = -1;
        nameInput.text = "";
        isOpen = true;
        frame.open();
        nameInput.forceActiveFocus();
    }

    function accept()
    {
        var name = nameInput.text.trim();
        if (name === "")
            return;
        finish();
        chosen(name);
    }

    function cancel()
    {
        finish();
    }

    function finish()
    {
        if (!isOpen)
            return;
        isOpen = false;
        frame.close();
        if (focusBack)
            focusBack.forceActiveFocus();
    }

    anchors.fill: parent
    z: 90

    Rectangle {
        id: pickMask
        visible: false
        anchors.fill: parent
        radius: 4
        color: Qt.rgba(0, 0, 0, 144 / 255)
        MouseArea {
            anchors.fill: parent
            hoverEnabled: true
            acceptedButtons: Qt.AllButtons
        }
    }

    DialogFrame {
        id: frame
        objectName: "linkFrame"
        width: Math.min(picker.width - 16, 448)
        height: 372
        mask: pickMask
        title: picker.text(0)
        textColor: Theme.fontColor
        titleSize: Theme.fontMiddleSize
        fontName: Theme.fontFamily
        color: Theme.colorGray0
        border.color: Theme.colorGray1
        onClosed: picker.finish()

        Text {
            id: listCaption
            x: 16
            y: 42
            text: picker.text(1)
            color: Theme.colorGray3
            font.pixelSize: Theme.fontNormalSize
            font.family: Theme.fontFamily
        }
        Rectangle {
            id: listBox
            x: 16
            y: listCaption.y + listCaption.height + 6
            width: parent.width - 32
            height: 5 * 40 + 2
            color: Theme.colorBlack
            border.color: Theme.colorGray1

            ListView {
                id: windowList
                objectName: "windowList"
                x: 1
                y: 1
                width: parent.width - 2 - (windowScroll.visible ? windowScroll.width + 2 : 0)
                height: parent.height - 2
                clip: true
                boundsBehavior: Flickable.StopAtBounds
                model: picker.windows
                currentIndex: -1
                delegate: Rectangle {
                    id: windowRow
                    required property var modelData
                    required property int index
                    objectName: "windowRow" + index
                    width: ListView.view.width
                    height: 40
                    color: ListView.isCurrentItem ? Theme.colorBlue : (rowArea.containsMouse ? Theme.colorGray1 : "transparent")
                    Text {
                        x: 10
                        y: 4
                        width: parent.width - 20
                        text: windowRow.modelData.title !== "" ? windowRow.modelData.title : windowRow.modelData.program
                        elide: Text.ElideRight
                        color: Theme.fontColor
                        font.pixelSize: Theme.fontNormalSize
                        font.family: Theme.fontFamily
                    }
                    Text {
                        x: 10
                        y: 22
                        width: parent.width - 20
                        text: windowRow.modelData.program
                        elide: Text.ElideRight
                        color: windowRow.ListView.isCurrentItem ? Theme.colorGray3 : Theme.colorGray2
                        font.pixelSize: Theme.fontMinSize + 1
                        font.family: Theme.fontFamily
                    }
                    MouseArea {
                        id: rowArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: {
                            windowList.currentIndex = windowRow.index;
                            nameInput.text = windowRow.modelData.program;
                        }
                        onDoubleClicked: {
                            nameInput.text = windowRow.modelData.program;
                            picker.accept();
                        }
                    }
                }
            }
            ScrollBar {
                id: windowScroll
                anchors.right: parent.right
                anchors.rightMargin: 2
                y: 2
                height: parent.height - 4
                flickable: windowList
                trackColor: Theme.colorGray0
                handleColor: Theme.colorGray2
                activeColor: Theme.colorOrange
            }
        }

        Text {
            id: nameLabel
            x: 16
            anchors.verticalCenter: nameBox.verticalCenter
            text: picker.text(2)
            color: Theme.fontColor
            font.pixelSize: Theme.fontNormalSize
            font.family: Theme.fontFamily
        }
        Rectangle {
            id: nameBox
            anchors.left: nameLabel.right
            anchors.leftMargin: 10
            anchors.right: parent.right
            anchors.rightMargin: 16
            y: listBox.y + listBox.height + 12
            height: 26
            color: Theme.colorBlack
            border.color: nameInput.activeFocus ? Theme.colorOrange : Theme.colorGray1
            TextInput {
                id: nameInput
                objectName: "programInput"
                anchors.fill: parent
                anchors.leftMargin: 8
                anchors.rightMargin: 8
                verticalAlignment: TextInput.AlignVCenter
                maximumLength: 255
                clip: true
                color: Theme.fontColor
                selectionColor: Theme.colorOrange
                selectByMouse: true
                font.pixelSize: Theme.fontNormalSize
                font.family: Theme.fontFamily
                onAccepted: picker.accept()
            }
        }

        Row {
            anchors.right: parent.right
            anchors.rightMargin: 16
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 14
            spacing: 12
            PictureButton {
                objectName: "linkAccept"
                width: 88
                height: 25
                source: picker.buttonSource
                hoverSource: picker.buttonHoverSource
                text: picker.text(3)
                textColor: Theme.fontColor
                fontName: Theme.fontFamily
                fontSize: Theme.fontNormalSize
                onClicked: picker.accept()
            }
            PictureButton {
                objectName: "linkCancel"
                width: 88
                height: 25
                source: picker.buttonSource
                hoverSource: picker.buttonHoverSource
                text: picker.text(4)
                textColor: Theme.fontColor
                fontName: Theme.fontFamily
                fontSize: Theme.fontNormalSize
                onClicked: picker.cancel()
            }
        }
    }
}
