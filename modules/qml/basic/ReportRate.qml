// The report-rate box: the rate the mouse reports at, stored with the profile and sent when chosen.
import QtQuick
import "../common"

Rectangle {
    id: box

    property alias title: caption.text
    property alias reportRateLV: reportRateLV
    // The list opens: the window closes every other open list.
    signal listOpened

    // List entry → the mouse's rate code (125, 250, 500, 1000 Hz).
    function rateCode(index)
    {
        return [8, 4, 2, 1][Math.min(Math.max(index, 0), 3)];
    }

    function init(isSendData)
    {
        var index = Math.trunc(Number(ui_View.getData("mouse/reportRate", false))) || 0;
        index = Math.min(Math.max(index, 0), 3);
        reportRateLV.currentIndex = index;
        if (isSendData)
            ui_View.mouseSetReportRate(rateCode(index));
    }

    // Its open list lies over the button below it, which would otherwise take the clicks.
    z: reportRateLV.isOpen ? 1 : 0
    width: 232
    height: 42
    color: Theme.colorBlack
    border.color: Theme.colorGray1

    Text {
        id: caption
        x: 8
        anchors.verticalCenter: parent.verticalCenter
        color: Theme.fontColor
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormalSize
    }
    DropDownList {
        id: reportRateLV
        objectName: "reportRateLV"
        width: 120
        anchors.right: parent.right
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        model: ["125Hz", "250Hz", "500Hz", "1000Hz"]
        onOpened: {
            var wasOpen = isOpen;
            box.listOpened();
            isOpen = wasOpen;
        }
        onItemSelected: function (index) {
            ui_View.setData("mouse/reportRate", index);
            ui_View.mouseSetReportRate(box.rateCode(index));
        }
    }
}
