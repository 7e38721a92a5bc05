// A drop-down list: shows the chosen entry, opens a list below it on a click; choosing an entry
// closes the list and raises itemSelected. The model is a list of texts.
pragma ComponentBehavior: Bound
import QtQuick

Item {
    id: drop
    signal itemSelected(int index)
    signal opened

    property var model: []
    property int currentIndex: 0
    property bool isOpen: false
    property color fieldColor: "#1a1a1a"
    property color borderColor: "#3c3c3c"
    property color highlightColor: "#cf3e00"
    property color textColor: "#ffffff"
    property int fontSize: 12
    readonly property int count: model ? model.length : 0
    readonly property string currentText: currentIndex >= 0 && currentIndex < count ? String(model[currentIndex]) : ""

    function close()
    {
        isOpen = false;
    }

    function open()
    {
        isOpen = true;
        opened();
    }

    width: 120
    height: 24
    z: isOpen ? 50 : 0

    Rectangle {
        anchors.fill: parent
        color: drop.fieldColor
        border.color: drop.isOpen ? drop.highlightColor : drop.borderColor
    }
    Text {
        anchors.left: parent.left
        anchors.leftMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        text: drop.currentText
        color: drop.textColor
        font.pixelSize: drop.fontSize
    }
    Text {
        anchors.right: parent.right
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        text: drop.isOpen ? "\u25b4" : "\u25be"
        color: drop.textColor
        font.pixelSize: drop.fontSize
    }
    MouseArea {
        anchors.fill: parent
        onClicked: drop.isOpen ? drop.close() : drop.open()
    }

    Rectangle {
        id: list
        visible: drop.isOpen
        y: drop.height
        width: drop.width
        height: drop.count * drop.height
        color: drop.fieldColor
        border.color: drop.borderColor

        Column {
            Repeater {
                model: drop.count
                delegate: Rectangle {
                    required property int index
                    width: drop.width
                    height: drop.height
                    color: rowArea.containsMouse ? drop.highlightColor : "transparent"
                    Text {
                        anchors.left: parent.left
                        anchors.leftMargin: 8
                        anchors.verticalCenter: parent.verticalCenter
                        text: String(drop.model[parent.index])
                        color: parent.index === drop.currentIndex && !rowArea.containsMouse ? drop.highlightColor
                                                                                             : drop.textColor
                        font.pixelSize: drop.fontSize
                    }
                    MouseArea {
                        id: rowArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: {
                            drop.currentIndex = parent.index;
                            drop.close();
                            drop.itemSelected(parent.index);
                        }
                    }
                }
            }
        }
    }
}
