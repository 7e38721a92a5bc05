// The title bar's controls: ask, minimise and close buttons, and the profile drop-down left of them.
pragma ComponentBehavior: Bound
import QtQuick
import "../common"

Item {
    id: menuUp
    signal btnClicked(int btnIndex)

    property alias profileBtn: profileDrop
    property var profileModel: []
    // The profile page: choosing an entry raises its changeProfile with that entry's profile number.
    property var profilePage: null
    property url askSource: Theme.sourceAsk
    property url askHoverSource: Theme.sourceAskH
    property url minSource: Theme.sourceMinBtn
    property url minHoverSource: Theme.sourceMinBtnH
    property url closeSource: Theme.sourceCloseBtn
    property url closeHoverSource: Theme.sourceCloseBtnH
    // What the ask, minimise and close buttons do, shown while the pointer rests on them.
    property var tips: []
    property string fontName: Theme.fontFamily

    width: buttons.width
    height: 20

    DropDownList {
        id: profileDrop
        width: 144
        height: 24
        anchors.right: buttons.left
        anchors.rightMargin: 16
        anchors.verticalCenter: buttons.verticalCenter
        model: menuUp.profileModel
        onItemSelected: function (index) {
            if (menuUp.profilePage)
                menuUp.profilePage.chooseProfile(index);
        }
    }

    // The drop-down shows the active profile, wherever the list puts it.
    Connections {
        target: menuUp.profilePage
        function onActivePositionChanged()
        {
            profileDrop.currentIndex = menuUp.profilePage.activePosition;
        }
    }

    Row {
        id: buttons
        spacing: 16

        Repeater {
            // Left to right: ask, minimise, close.
            model: [
                { index: 2, normal: menuUp.askSource, hover: menuUp.askHoverSource },
                { index: 0, normal: menuUp.minSource, hover: menuUp.minHoverSource },
                { index: 1, normal: menuUp.closeSource, hover: menuUp.closeHoverSource }
            ]
            // 20 wide, so the row ends inside the window's rounded corner.
            delegate: Image {
                required property var modelData
                required property int index
                width: 20
                height: 20
                source: area.containsMouse ? modelData.hover : modelData.normal
                MouseArea {
                    id: area
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: menuUp.btnClicked(parent.modelData.index)
                }
                HoverTip {
                    text: menuUp.tips[parent.index] !== undefined ? String(menuUp.tips[parent.index]) : ""
                    hovered: area.containsMouse
                    alignRight: true
                    fontName: menuUp.fontName
                }
            }
        }
    }
}
