// The slider every page shares: a track of `width` pixels with a 12-pixel handle whose left edge runs
// from 3 to width - 15. Dragging reports each move (valueChange) and the release (delayedValueChange);
// a click on the track glides the handle there in 120 ms and reports the end the same way. Pages that
// need it upright rotate it. With `segment` > 0 the handle rests on segment + 1 evenly spaced steps.
pragma ComponentBehavior: Bound
import QtQuick
import "../js/Slider.js" as Slider

Item {
    id: slider

    signal valueChange(real position)
    signal delayedValueChange(real position)
    signal handlePressed

    readonly property int handleWidth: Slider.HANDLE_WIDTH
    readonly property real minPosition: Slider.minPosition()
    readonly property real maxPosition: Slider.maxPosition(width)
    // Left edge of the handle.
    readonly property real position: handle.x
    property int segment: 0
    readonly property int step: segment > 0 ? stepOf(handle.x) : 0
    property color trackColor: "#3c3c3c"
    property color fillColor: "#09347f"
    property color handleColor: "#d1d1d1"

    width: 176
    height: 20

    function stepOf(p)
    {
        var span = maxPosition - minPosition;
        return span > 0 ? Math.round((p - minPosition) * segment / span) : 0;
    }

    function positionOfStep(s)
    {
        var n = Math.min(Math.max(Math.trunc(Number(s)) || 0, 0), segment);
        return segment > 0 ? Math.round(minPosition + n * (maxPosition - minPosition) / segment) : minPosition;
    }

    // Places the handle for a ratio 0 ... 1 and reports the position.
    function setRatio(r)
    {
        glide.stop();
        handle.x = Slider.positionForRatio(r, width);
        valueChange(handle.x);
    }

    // Places the handle without reporting; out-of-range or non-numeric positions are held to the track.
    function setPosition(p)
    {
        glide.stop();
        handle.x = Slider.clampPosition(p, width);
    }

    function setStep(s)
    {
        setPosition(positionOfStep(s));
    }

    function userMoved()
    {
        if (segment > 0)
            handle.x = positionOfStep(stepOf(handle.x));
        delayedValueChange(handle.x);
    }

    Rectangle {
        id: track
        anchors.verticalCenter: parent.verticalCenter
        width: parent.width
        height: 4
        radius: 2
        color: slider.trackColor
    }
    Rectangle {
        anchors.verticalCenter: parent.verticalCenter
        width: handle.x + handle.width / 2
        height: 4
        radius: 2
        color: slider.fillColor
    }
    Repeater {
        model: slider.segment > 0 ? slider.segment + 1 : 0
        delegate: Rectangle {
            required property int index
            x: slider.positionOfStep(index) + slider.handleWidth / 2 - 1
            y: track.y + track.height + 3
            width: 2
            height: 4
            color: slider.trackColor
        }
    }

    MouseArea {
        id: trackArea
        anchors.fill: parent
        onPressed: function (mouse) {
            glide.stop();
            glide.to = Slider.clampPosition(Math.round(mouse.x - slider.handleWidth / 2), slider.width);
            glide.start();
        }
    }

    Rectangle {
        id: handle
        objectName: "handle"
        x: slider.minPosition
        anchors.verticalCenter: parent.verticalCenter
        width: slider.handleWidth
        height: slider.height
        radius: 3
        color: slider.handleColor
        border.color: slider.fillColor
        border.width: 2

        onXChanged: {
            if (handleArea.drag.active || glide.running)
                slider.valueChange(Math.round(x));
        }

        MouseArea {
            id: handleArea
            anchors.fill: parent
            drag.target: handle
            drag.axis: Drag.XAxis
            drag.minimumX: slider.minPosition
            drag.maximumX: slider.maxPosition
            drag.threshold: 0
            drag.smoothed: false
            onPressed: {
                glide.stop();
                slider.handlePressed();
            }
            onReleased: {
                handle.x = Math.round(handle.x);
                slider.userMoved();
            }
        }
    }

    NumberAnimation {
        id: glide
        target: handle
        property: "x"
        duration: 120
        easing.type: Easing.OutQuad
        onFinished: slider.userMoved()
    }
}
