// A drop-down list: shows the chosen entry, opens a list below it on a click; choosing an entry
// closes the list and raises itemSelected. The model is a list of texts. With `maximumRows` > 0 a
// longer list shows that many rows and scrolls; entries in `disabledIndexes` are greyed and can't
// be chosen.
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
    property color disabledColor: "#969696"
    property int maximumRows: 0
    property var disabledIndexes: []
    readonly property int count: model ? model.length : 0
    readonly property int shownRows: maximumRows > 0 ? Math.min(count, maximumRows) : count
    readonly property string currentText: currentIndex >= 0 && currentIndex < count ? String(model[currentIndex]) : ""

    function close()
    {
        isOpen = false;
    }

    function open()
    {
        isOpen = true;
        // From the top, or so far down that the chosen entry is the last row shown.
        if (currentIndex >= shownRows && currentIndex < count)
            rows.contentY = (currentIndex - shownRows + 1) * height;
        else
            rows.contentY = 0;
        opened();
    }

    function isDisabled(index)
    {
        var list = disabledIndexes || [];
        for (var i = 0; i < list.length; ++i) {
            if (Number(list[i]) === index)
                return true;
        }
        return false;
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
        anchors.right: parent.right
        anchors.rightMargin: 24
        anchors.verticalCenter: parent.verticalCenter
        text: drop.currentText
        color: drop.textColor
        font.pixelSize: drop.fontSize
        elide: Text.ElideRight
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
        height: drop.shownRows * drop.height
        color: drop.fieldColor
        border.color: drop.borderColor

        Flickable {
            id: rows
            anchors.fill: parent
            contentHeight: drop.count * drop.height
            interactive: drop.count > drop.shownRows
            boundsBehavior: Flickable.StopAtBounds
            clip: true

            // Rows placed by their index: they are where they belong from the moment they exist.
            Repeater {
                model: drop.count
                delegate: Rectangle {
                    required property int index
                    readonly property bool disabled: drop.isDisabled(index)
                    y: index * drop.height
                    width: drop.width
                    height: drop.height
                    color: rowArea.containsMouse && !disabled ? drop.highlightColor : "transparent"
                    Text {
                        anchors.left: parent.left
                        anchors.leftMargin: 8
                        anchors.right: parent.right
                        anchors.rightMargin: 12
                        anchors.verticalCenter: parent.verticalCenter
                        text: String(drop.model[parent.index])
                        color: parent.disabled ? drop.disabledColor
                                               : parent.index === drop.currentIndex && !rowArea.containsMouse
                                                 ? drop.highlightColor : drop.textColor
                        font.pixelSize: drop.fontSize
                        elide: Text.ElideRight
                    }
                    MouseArea {
                        id: rowArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: {
                            if (parent.disabled)
                                return;
                            drop.currentIndex = parent.index;
                            drop.close();
                            drop.itemSelected(parent.index);
                        }
                    }
                }
            }
        }
        ScrollBar {
            objectName: "listScrollBar"
            anchors.right: parent.right
            anchors.rightMargin: 2
            anchors.top: parent.top
            anchors.topMargin: 2
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 2
            width: 6
            flickable: rows
            trackColor: drop.fieldColor
            activeColor: drop.highlightColor
        }
    }
}
