// A small menu of texts opened where the pointer is; choosing an entry closes it and raises
// triggered(index). It stays inside its parent.
pragma ComponentBehavior: Bound
import QtQuick

Rectangle {
    id: menu

    signal triggered(int index)

    property var model: []
    property int rowHeight: 24
    property color textColor: "#ffffff"
    property color highlightColor: "#cf3e00"
    property int fontSize: 12
    property string fontName: ""

    function popup(px, py)
    {
        if (parent) {
            x = Math.max(0, Math.min(px, parent.width - width));
            y = Math.max(0, Math.min(py, parent.height - height));
        } else {
            x = px;
            y = py;
        }
        visible = true;
    }

    function close()
    {
        visible = false;
    }

    visible: false
    z: 80
    width: 160
    height: (model ? model.length : 0) * rowHeight + 2
    color: "#1a1a1a"
    border.color: "#3c3c3c"

    Column {
        x: 1
        y: 1
        Repeater {
            model: menu.model ? menu.model.length : 0
            delegate: Rectangle {
                id: row
                required property int index
                width: menu.width - 2
                height: menu.rowHeight
                color: rowArea.containsMouse ? menu.highlightColor : "transparent"
                Text {
                    x: 10
                    width: parent.width - 20
                    anchors.verticalCenter: parent.verticalCenter
                    elide: Text.ElideRight
                    text: String(menu.model[row.index])
                    color: menu.textColor
                    font.pixelSize: menu.fontSize
                    font.family: menu.fontName
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onClicked: {
                        menu.close();
                        menu.triggered(row.index);
                    }
                }
            }
        }
    }
}
