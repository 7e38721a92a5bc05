// A vertical scroll bar for a Flickable or ListView (`flickable`): shown only while the content is
// taller than the view; its handle can be dragged and a press on its track pages up or down.
import QtQuick

Item {
    id: bar

    property Flickable flickable: null
    property color trackColor: "#1a1a1a"
    property color handleColor: "#969696"
    property color activeColor: "#cf3e00"

    readonly property real contentHeight: flickable ? flickable.contentHeight : 0
    readonly property real viewHeight: flickable ? flickable.height : 0
    readonly property bool needed: contentHeight > viewHeight + 0.5
    readonly property real range: Math.max(0, contentHeight - viewHeight)

    width: 8
    visible: needed

    function scrollTo(contentY)
    {
        if (flickable)
            flickable.contentY = Math.min(Math.max(contentY, 0), range) + (flickable.originY || 0);
    }

    // Follows the view unless the handle is being dragged.
    function sync()
    {
        if (handleArea.drag.active)
            return;
        var y = flickable ? flickable.contentY - (flickable.originY || 0) : 0;
        handle.y = needed && range > 0 ? Math.min(Math.max((height - handle.height) * y / range, 0), height - handle.height) : 0;
    }

    onHeightChanged: sync()
    onRangeChanged: sync()

    Connections {
        target: bar.flickable
        function onContentYChanged()
        {
            bar.sync();
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: width / 2
        color: bar.trackColor
    }

    MouseArea {
        anchors.fill: parent
        onPressed: function (mouse) {
            var page = bar.viewHeight;
            var y = bar.flickable ? bar.flickable.contentY - (bar.flickable.originY || 0) : 0;
            bar.scrollTo(mouse.y < handle.y ? y - page : y + page);
        }
    }

    Rectangle {
        id: handle
        objectName: "scrollHandle"
        x: 1
        width: parent.width - 2
        radius: width / 2
        height: bar.needed ? Math.max(16, bar.height * bar.viewHeight / bar.contentHeight) : bar.height
        color: handleArea.pressed || handleArea.containsMouse ? bar.activeColor : bar.handleColor

        onYChanged: {
            if (handleArea.drag.active && bar.height > height)
                bar.scrollTo(y * bar.range / (bar.height - height));
        }

        MouseArea {
            id: handleArea
            anchors.fill: parent
            hoverEnabled: true
            drag.target: handle
            drag.axis: Drag.YAxis
            drag.minimumY: 0
            drag.maximumY: bar.height - handle.height
            drag.threshold: 0
            drag.smoothed: false
        }
    }
}
