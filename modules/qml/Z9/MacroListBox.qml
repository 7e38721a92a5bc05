// A framed list of the macro editor: rows of `rowHeight`, a scroll bar when they do not fit (the rows
// then leave it room: `rowWidth`), a click below the last row reported with its place, and a
// one-line input laid over row `editRow` while it is being edited.
pragma ComponentBehavior: Bound
import QtQuick
import "../common"

Rectangle {
    id: box

    signal belowClicked(int button, real x, real y)
    signal editCommitted(int row, string text)

    property alias model: view.model
    property alias delegate: view.delegate
    property alias view: view
    property alias input: input
    property alias viewName: view.objectName
    property alias inputName: input.objectName
    property alias belowName: below.objectName
    property alias scrollName: scroll.objectName
    property int rowHeight: 24
    property int editRow: -1
    property int inputX: 2
    property int inputWidth: rowWidth - 2
    // From the row count, not the view's content, so the rows' width never feeds back into it.
    readonly property bool scrolls: view.count * rowHeight > view.height
    readonly property real rowWidth: view.width - (scrolls ? 10 : 0)

    function edit(row, text)
    {
        editRow = row;
        input.edit(text);
    }

    color: Theme.colorBlack
    border.color: Theme.colorGray1
    clip: true

    ListView {
        id: view
        x: 1
        y: 1
        width: parent.width - 2
        height: parent.height - 2
        boundsBehavior: Flickable.StopAtBounds
        // The input stays over its row.
        interactive: !input.editing
    }
    MouseArea {
        id: below
        x: view.x
        // Below the last row as it lies in the view now (the list's origin moves as rows go and come).
        y: view.y + Math.min(view.height, Math.max(0, view.originY + view.contentHeight - view.contentY))
        width: view.width
        height: view.y + view.height - y
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onClicked: function (mouse) { box.belowClicked(mouse.button, x + mouse.x, y + mouse.y); }
    }
    NameInput {
        id: input
        x: box.inputX
        y: box.editRow * box.rowHeight + view.originY - view.contentY + 1
        width: box.inputWidth
        height: box.rowHeight
        visible: editing
        color: Theme.colorGray0
        textColor: Theme.fontColor
        selectionColor: Theme.colorOrange
        fontSize: Theme.fontNormalSize
        fontName: Theme.fontFamily
        onCommitted: function (text) { box.editCommitted(box.editRow, text); }
    }
    ScrollBar {
        id: scroll
        anchors.right: parent.right
        anchors.rightMargin: 2
        y: 2
        height: parent.height - 4
        flickable: view
        trackColor: Theme.colorGray0
        handleColor: Theme.colorGray2
        activeColor: Theme.colorOrange
    }
}
