// The picture of the mouse in the middle of the window, with a numbered tag beside each of its
// buttons. Hovering a tag or a button on the picture and clicking it are reported as the button
// list reports its rows (enterBtn, leaveBtn, clickBtn); selectKey, set by the main window, is drawn
// highlighted. The item spans the window but only the tags and buttons take the pointer, so the
// panels beside and below it keep theirs.
pragma ComponentBehavior: Bound
import QtQuick
import "../js/KeyList.js" as KeyList

Item {
    id: mouseView

    property int keyCount: 8
    property int selectKey: -1
    readonly property int shownKeys: KeyList.shownKeyCount(keyCount)

    signal enterBtn(int index)
    signal leaveBtn(int index)
    signal clickBtn(int index)

    width: 1024
    height: 640

    // The buttons on the picture, in its own pixels, all inside the body's outline (its top is a
    // half circle of radius 90 about (150, 110)); even buttons have their tag on the left, odd ones
    // on the right. The plates themselves show hover and selection.
    readonly property var zones: [
        Qt.rect(78, 62, 66, 44), Qt.rect(156, 62, 66, 44), Qt.rect(78, 114, 66, 44), Qt.rect(156, 114, 66, 44),
        Qt.rect(78, 166, 66, 44), Qt.rect(156, 166, 66, 44), Qt.rect(78, 218, 66, 44), Qt.rect(156, 218, 66, 44)
    ]
    readonly property int tagSize: 20
    readonly property int tagLeftX: 8
    readonly property int tagRightX: 272

    // Centred between the left panel (ending at 256) and the right column (starting at 768).
    Item {
        id: picture
        objectName: "mousePicture"
        x: 362
        y: 122
        width: 300
        height: 420

        Image {
            anchors.fill: parent
            source: sourceMouseFront
        }


        Repeater {
            model: mouseView.shownKeys
            delegate: Item {
                id: button
                required property int index
                readonly property rect zone: mouseView.zones[index]
                readonly property bool onLeft: index % 2 === 0
                readonly property bool selected: index === mouseView.selectKey
                readonly property bool hovered: zoneArea.containsMouse || tagArea.containsMouse
                readonly property real tagX: onLeft ? mouseView.tagLeftX : mouseView.tagRightX
                readonly property real tagY: zone.y + (zone.height - mouseView.tagSize) / 2

                anchors.fill: parent

                // The tag and the button on the picture are one target. Hover entry and exit may
                // come in either order when the pointer jumps between buttons: only the selected
                // button is left, a move selects its button again, and a click is always for the
                // button under the pointer.
                onHoveredChanged: {
                    if (hovered)
                        mouseView.enterBtn(index);
                    else if (index === mouseView.selectKey)
                        mouseView.leaveBtn(index);
                }
                function point()
                {
                    if (index !== mouseView.selectKey)
                        mouseView.enterBtn(index);
                }
                function click()
                {
                    point();
                    mouseView.clickBtn(index);
                }

                Rectangle {
                    objectName: "mouseZone" + button.index
                    x: button.zone.x
                    y: button.zone.y
                    width: button.zone.width
                    height: button.zone.height
                    radius: 3
                    color: button.selected ? Qt.rgba(0.81, 0.24, 0, 0.35)
                                           : (button.hovered ? Qt.rgba(0.81, 0.24, 0, 0.18) : "transparent")
                    border.color: button.selected || button.hovered ? colorOrange : colorGray1
                    MouseArea {
                        id: zoneArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onPositionChanged: button.point()
                        onClicked: button.click()
                    }
                }
                // Leader from the tag to its button.
                Rectangle {
                    x: button.onLeft ? button.tagX + mouseView.tagSize : button.zone.x + button.zone.width
                    y: button.zone.y + button.zone.height / 2
                    width: button.onLeft ? button.zone.x - x : button.tagX - x
                    height: 1
                    color: button.selected || button.hovered ? colorOrange : colorGray2
                }
                Image {
                    id: tag
                    objectName: "mouseTag" + button.index
                    x: button.tagX
                    y: button.tagY
                    width: mouseView.tagSize
                    height: mouseView.tagSize
                    source: button.selected ? sourceMouseSidebtnS
                                            : (button.hovered ? sourceMouseSidebtnH : sourceMouseSidebtnN)
                    // Without the plates the tag is still drawn.
                    Rectangle {
                        anchors.fill: parent
                        visible: tag.status !== Image.Ready
                        radius: 2
                        color: button.selected ? colorOrange : (button.hovered ? "#7a2800" : colorGray1)
                    }
                    Text {
                        anchors.fill: parent
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        text: String(button.index + 1)
                        color: fontColor
                        font.family: fontFamily
                        font.pixelSize: fontNormalSize
                        font.bold: true
                    }
                    MouseArea {
                        id: tagArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onPositionChanged: button.point()
                        onClicked: button.click()
                    }
                }
            }
        }
    }
}
