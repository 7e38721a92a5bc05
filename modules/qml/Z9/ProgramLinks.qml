// The programs linked to one profile, under the profile dialog's list: each with a button that removes
// its link, "Link to program…", whether this profile is the one for every other program, whether a
// switch is shown in a balloon, and what cannot be followed on this desktop.
pragma ComponentBehavior: Bound
import QtQuick
import "../common"

Item {
    id: links

    signal remove(string program)
    signal linkClicked
    signal defaultToggled(bool checked)
    signal balloonsToggled(bool checked)

    property string caption: ""
    property var programs: []
    property string emptyText: ""
    property string removeTip: ""
    property string linkText: ""
    property string defaultText: ""
    property string balloonText: ""
    property string coverageText: ""
    property bool isDefault: false
    property bool balloons: true

    height: coverage.y + (coverage.visible ? coverage.height : 0)

    Text {
        id: captionText
        width: parent.width
        text: links.caption
        elide: Text.ElideRight
        color: Theme.colorGray3
        font.pixelSize: Theme.fontNormalSize
        font.family: Theme.fontFamily
    }

    // The programs as removable tags, two lines of them before it scrolls.
    Rectangle {
        id: programBox
        y: captionText.height + 6
        width: parent.width
        height: 60
        color: Theme.colorBlack
        border.color: Theme.colorGray1

        Text {
            x: 10
            anchors.verticalCenter: parent.verticalCenter
            visible: links.programs.length === 0
            text: links.emptyText
            color: Theme.colorGray2
            font.pixelSize: Theme.fontNormalSize
            font.family: Theme.fontFamily
        }
        Flickable {
            anchors.fill: parent
            anchors.margins: 4
            clip: true
            contentHeight: tags.height
            boundsBehavior: Flickable.StopAtBounds
            Flow {
                id: tags
                width: parent.width
                spacing: 4
                Repeater {
                    model: links.programs
                    delegate: Rectangle {
                        id: tag
                        required property string modelData
                        required property int index
                        objectName: "programTag" + index
                        width: Math.min(tagText.implicitWidth + 34, tags.width)
                        height: 24
                        radius: 3
                        color: Theme.colorGray1
                        Text {
                            id: tagText
                            x: 8
                            width: parent.width - 34
                            anchors.verticalCenter: parent.verticalCenter
                            text: tag.modelData
                            elide: Text.ElideRight
                            color: Theme.fontColor
                            font.pixelSize: Theme.fontNormalSize
                            font.family: Theme.fontFamily
                        }
                        PictureButton {
                            objectName: "removeLink"
                            anchors.right: parent.right
                            anchors.rightMargin: 4
                            anchors.verticalCenter: parent.verticalCenter
                            width: 18
                            height: 18
                            text: "\u00d7"
                            color: Theme.colorGray1
                            hoverColor: Theme.colorOrange
                            textColor: Theme.fontColor
                            fontSize: Theme.fontMiddleSize
                            fontName: Theme.fontFamily
                            toolTip: links.removeTip
                            onClicked: links.remove(tag.modelData)
                        }
                    }
                }
            }
        }
    }

    PictureButton {
        id: linkButton
        objectName: "linkButton"
        y: programBox.y + programBox.height + 8
        width: Math.max(120, linkLabel.implicitWidth + 24)
        height: 25
        source: Theme.sourceSureBtn
        hoverSource: Theme.sourceSureBtnH
        text: links.linkText
        textColor: Theme.fontColor
        color: Theme.colorBlue
        hoverColor: Theme.colorOrange
        fontSize: Theme.fontNormalSize
        fontName: Theme.fontFamily
        onClicked: links.linkClicked()
        // Measures the text, so the button is as wide as its language needs.
        Text {
            id: linkLabel
            visible: false
            text: links.linkText
            font.pixelSize: Theme.fontNormalSize
            font.family: Theme.fontFamily
        }
    }

    CheckBox {
        id: defaultCheck
        objectName: "defaultCheck"
        anchors.left: linkButton.right
        anchors.leftMargin: 16
        anchors.verticalCenter: linkButton.verticalCenter
        checked: links.isDefault
        text: links.defaultText
        textColor: Theme.fontColor
        fontSize: Theme.fontNormalSize
        fontName: Theme.fontFamily
        // The box shows what is stored, whatever the click did to it.
        onToggled: function (checked) {
            links.defaultToggled(checked);
            defaultCheck.checked = Qt.binding(function () { return links.isDefault; });
        }
    }

    CheckBox {
        id: balloonCheck
        objectName: "balloonCheck"
        y: linkButton.y + linkButton.height + 10
        checked: links.balloons
        text: links.balloonText
        textColor: Theme.fontColor
        fontSize: Theme.fontNormalSize
        fontName: Theme.fontFamily
        onToggled: function (checked) {
            links.balloonsToggled(checked);
            balloonCheck.checked = Qt.binding(function () { return links.balloons; });
        }
    }

    Text {
        id: coverage
        objectName: "coverageText"
        y: balloonCheck.y + balloonCheck.height + 8
        width: parent.width
        visible: text !== ""
        text: links.coverageText
        wrapMode: Text.Wrap
        color: Theme.colorOrange
        font.pixelSize: Theme.fontNormalSize
        font.family: Theme.fontFamily
    }
}
