// The gun editor: six recoil presets, which of them are the mouse's guns 1, 2 and 3, and each
// preset's Y correction, fire rate and shot count. Edits are stored at once; the mouse gets the three
// guns and the key matrices (which carry the guns' fire periods) when the dialog closes after a change.
pragma ComponentBehavior: Bound
import QtQuick
import "../common"
import "../js/Lang.js" as Lang
import "../js/Gun.js" as Gun
import "../js/KeyList.js" as KeyList
import "../js/Rate.js" as Rate

DialogFrame {
    id: gunControl

    readonly property var builtInLang: ["Gun Editor", "Gun", "Select Gun", "Cursor Adjust", "X Axis", "Y Axis",
        "Fire Adjust", "Rate", "Times", "Endless"]
    property var gunControlLang: builtInLang
    // The preset positions chosen as guns 1, 2 and 3.
    // The three guns went to the mouse after a change: the gun key matrices, which carry the selected
    // presets' fire periods, are to follow.
    signal gunsSent

    // The fire periods of the presets chosen as guns 1, 2 and 3, as the key matrices carry them.
    function selectedPeriods()
    {
        return KeyList.gunPeriods(gunNumberModel, [selectGun1, selectGun2, selectGun3]);
    }

    property int selectGun1: 0
    property int selectGun2: 0
    property int selectGun3: 0
    // A change since the dialog was last closed.
    property bool isSave: false
    property alias gunNumberModel: presets
    property alias gunNumber_lv: presetList
    property alias selectGun: slotList
    // The preset pictures and the target: the skin's gun folder in the resources.
    property string pictureFolder: "qrc:/gun/modules/img/skin" + Theme.skin_No + "/gun/"
    readonly property int current: presetList.currentIndex

    // A language list that lacks an entry keeps the built-in text.
    function langText(i)
    {
        return Lang.text(gunControlLang, i, builtInLang);
    }

    function init()
    {
        for (var i = 0; i < Gun.PRESETS; ++i)
            presets.set(i, Gun.preset(ui_View.getGunData(i), i));
        var g = Gun.selection(ui_View.getGlobalData("mouse/selectGun"));
        selectGun1 = g[0];
        selectGun2 = g[1];
        selectGun3 = g[2];
        isSave = false;
        slotList.currentIndex = 0;
        selectPreset(selectGun1);
    }

    // Factory values for the first three presets and the selection, stored and sent.
    function resetData()
    {
        gunControlFocus();
        selectGun1 = 0;
        selectGun2 = 1;
        selectGun3 = 2;
        storeSelection();
        for (var i = 0; i < Gun.RESET_Y.length; ++i) {
            presets.setProperty(i, "gunY", String(Gun.RESET_Y[i]));
            presets.setProperty(i, "gunPeriod", String(Gun.RESET_PERIOD));
            ui_View.mouseSaveGundata(i, Gun.savedValues(presets.get(i)));
        }
        sendGuns();
        slotList.currentIndex = 0;
        selectPreset(0);
    }

    function gunControlFocus()
    {
        slotList.close();
        rateList.close();
        // Leaving an input commits what was typed into the preset it belongs to.
        yField.releaseFocus();
        timesField.releaseFocus();
    }

    function selection()
    {
        return Gun.selection([selectGun1, selectGun2, selectGun3]);
    }

    function storeSelection()
    {
        ui_View.setGlobalData("mouse/selectGun", selection());
    }

    function sendGuns()
    {
        var g = selection();
        for (var s = 0; s < 3; ++s) {
            var e = presets.get(g[s]);
            ui_View.mouseSendGundata(s + 1, Gun.sendValues(e.gunTimes, e.gunX, e.gunY));
        }
    }

    function selectPreset(position)
    {
        presetList.currentIndex = position;
        var e = presets.get(position);
        yField.text = e.gunY;
        marker.y = Gun.markerY(e.gunY);
        xField.text = e.gunX;
        rateList.slider.setPosition(Gun.ratePosition(e.gunPeriod));
        timesField.text = e.gunTimes;
        endness.checked = e.gunTimes === "0";
    }

    // Stores one value of the selected preset when it changes it.
    function edit(role, value)
    {
        var p = current;
        if (presets.get(p)[role] === value)
            return;
        presets.setProperty(p, role, value);
        ui_View.mouseSaveGundata(p, Gun.savedValues(presets.get(p)));
        isSave = true;
    }

    function choosePreset(position)
    {
        gunControlFocus();
        var g = selection();
        var slot = slotList.currentIndex;
        if (g[slot] !== position) {
            g[slot] = position;
            selectGun1 = g[0];
            selectGun2 = g[1];
            selectGun3 = g[2];
            storeSelection();
            isSave = true;
        }
        selectPreset(position);
    }

    function chooseSlot(slot)
    {
        gunControlFocus();
        selectPreset(selection()[slot]);
    }

    function setY(value)
    {
        var y = Gun.yText(value);
        edit("gunY", y);
        yField.text = y;
        marker.y = Gun.markerY(y);
    }

    function setTimes(value)
    {
        var t = Gun.timesText(value);
        edit("gunTimes", t);
        timesField.text = t;
        endness.checked = t === "0";
    }

    width: 640
    height: 448
    mask: mainMask
    title: langText(0)
    closeSource: Theme.sourceCloseBtn
    closeTip: Lang.main(mainLang, 15)
    closeHoverSource: Theme.sourceCloseBtnH
    textColor: Theme.fontColor
    titleSize: Theme.fontMiddleSize
    fontName: Theme.fontFamily
    color: Theme.colorGray0
    border.color: Theme.colorGray1

    onBackgroundPressed: gunControlFocus()
    onClosed: {
        gunControlFocus();
        if (!isSave)
            return;
        isSave = false;
        sendGuns();
        gunsSent();
    }

    Component.onCompleted: {
        for (var i = 0; i < Gun.PRESETS; ++i)
            presets.append(Gun.builtInPreset(i));
        selectPreset(0);
    }

    ListModel {
        id: presets
    }

    Rectangle {
        x: 16
        y: 40
        width: parent.width - 32
        height: 1
        color: Theme.colorGray1
    }

    ListView {
        id: presetList
        objectName: "gunNumber_lv"
        x: 16
        y: 52
        width: 256
        height: count * 64
        interactive: false
        spacing: 4
        model: presets
        delegate: Rectangle {
            id: row
            required property int index
            required property string gunName
            required property string gunImage
            readonly property bool selected: index === presetList.currentIndex
            objectName: "preset" + index
            width: presetList.width
            height: 60
            radius: 3
            color: selected ? Theme.colorGray1 : Theme.colorBlack
            border.color: selected || rowArea.containsMouse ? Theme.colorOrange : Theme.colorGray1

            Image {
                objectName: "picture" + row.index
                x: 6
                anchors.verticalCenter: parent.verticalCenter
                width: 128
                height: 48
                fillMode: Image.PreserveAspectFit
                source: gunControl.pictureFolder + row.gunImage
            }
            Text {
                x: 142
                y: 10
                width: parent.width - x - 8
                elide: Text.ElideRight
                text: row.gunName
                color: Theme.fontColor
                font.pixelSize: Theme.fontNormalSize
                font.family: Theme.fontFamily
            }
            // Which guns this preset is.
            Row {
                x: 142
                y: 32
                spacing: 4
                Repeater {
                    model: [gunControl.selectGun1, gunControl.selectGun2, gunControl.selectGun3]
                    delegate: Rectangle {
                        required property int index
                        required property int modelData
                        visible: modelData === row.index
                        width: 18
                        height: 18
                        radius: 9
                        color: Theme.colorOrange
                        Text {
                            anchors.centerIn: parent
                            text: parent.index + 1
                            color: Theme.fontColor
                            font.pixelSize: Theme.fontMinSize
                            font.family: Theme.fontFamily
                            font.bold: true
                        }
                    }
                }
            }
            MouseArea {
                id: rowArea
                anchors.fill: parent
                hoverEnabled: true
                onClicked: gunControl.choosePreset(row.index)
            }
        }
    }

    component Caption: Text {
        height: 24
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        color: Theme.fontColor
        font.pixelSize: Theme.fontNormalSize
        font.family: Theme.fontFamily
    }

    component Section: Item {
        property alias text: sectionText.text
        x: 296
        width: 328
        height: 20
        Text {
            id: sectionText
            anchors.verticalCenter: parent.verticalCenter
            color: Theme.colorOrange
            font.pixelSize: Theme.fontNormalSize
            font.family: Theme.fontFamily
            font.bold: true
        }
        Rectangle {
            anchors.left: sectionText.right
            anchors.leftMargin: 8
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            height: 1
            color: Theme.colorGray1
        }
    }

    Caption {
        x: 296
        y: 52
        width: 96
        text: gunControl.langText(2)
    }

    Section {
        y: 90
        text: gunControl.langText(3)
    }

    // The target: the red marker shows the downward correction per shot.
    Item {
        id: target
        objectName: "target"
        x: 296
        y: 112
        width: 200
        height: 210

        Image {
            objectName: "targetPicture"
            anchors.fill: parent
            source: gunControl.pictureFolder + "gunTarget.png"
        }
        Rectangle {
            id: marker
            objectName: "marker"
            x: (target.width - width) / 2
            y: Gun.MARKER_TOP
            width: 12
            height: 12
            radius: 6
            color: "#e02020"
            border.color: Theme.fontColor
            border.width: 1

            onYChanged: {
                if (markerArea.drag.active)
                    yField.text = String(Gun.yFromMarker(y));
            }

            MouseArea {
                id: markerArea
                anchors.fill: parent
                anchors.margins: -6
                drag.target: marker
                drag.axis: Drag.YAxis
                drag.minimumY: Gun.MARKER_TOP
                drag.maximumY: Gun.MARKER_TOP + Gun.MARKER_TRAVEL
                drag.threshold: 0
                drag.smoothed: false
                onPressed: gunControl.gunControlFocus()
                onReleased: gunControl.setY(Gun.yFromMarker(marker.y))
                onCanceled: gunControl.setY(Gun.yFromMarker(marker.y))
            }
        }
    }

    Caption {
        x: 512
        y: 150
        width: 112
        text: gunControl.langText(4)
    }
    NumberInput {
        id: xField
        objectName: "xField"
        x: 512
        y: 176
        // The X correction is kept as stored; it is not edited here.
        enabled: false
        opacity: 0.5
        maximumLength: 2
        maximum: Gun.X_MAX
        color: Theme.colorBlack
        textColor: Theme.fontColor
        fontSize: Theme.fontNormalSize
        fontName: Theme.fontFamily
    }
    Caption {
        x: 512
        y: 214
        width: 112
        text: gunControl.langText(5)
    }
    NumberInput {
        id: yField
        objectName: "yField"
        x: 512
        y: 240
        maximumLength: 2
        maximum: Gun.Y_MAX
        emptyValue: 0
        color: Theme.colorBlack
        textColor: Theme.fontColor
        fontSize: Theme.fontNormalSize
        fontName: Theme.fontFamily
        onFocusGained: {
            slotList.close();
            rateList.close();
        }
        onCommitted: function (value) {
            gunControl.setY(value);
        }
    }

    Section {
        y: 336
        text: gunControl.langText(6)
    }

    Caption {
        x: 296
        y: 364
        width: 80
        text: gunControl.langText(7)
    }
    Caption {
        x: 296
        y: 400
        width: 80
        text: gunControl.langText(8)
    }
    NumberInput {
        id: timesField
        objectName: "timesField"
        x: 384
        y: 401
        maximumLength: 3
        maximum: Gun.TIMES_MAX
        emptyValue: 0
        color: Theme.colorBlack
        textColor: Theme.fontColor
        fontSize: Theme.fontNormalSize
        fontName: Theme.fontFamily
        onFocusGained: {
            slotList.close();
            rateList.close();
        }
        onCommitted: function (value) {
            gunControl.setTimes(value);
        }
    }
    CheckBox {
        id: endness
        objectName: "endness"
        x: 448
        y: 400
        height: 24
        text: gunControl.langText(9)
        markSource: Theme.sourceCheckBtn
        textColor: Theme.fontColor
        fontSize: Theme.fontNormalSize
        fontName: Theme.fontFamily
        onToggled: function (checked) {
            gunControl.gunControlFocus();
            // No count is endless: the box clears only by typing a count.
            gunControl.setTimes(checked ? 0 : gunControl.gunNumberModel.get(gunControl.current).gunTimes);
        }
    }

    // Lists last, so that they open above the fields below them.
    SliderDropDown {
        id: rateList
        objectName: "rateList"
        x: 384
        y: 364
        sliderWidth: Gun.RATE_SLIDER_WIDTH
        text: Rate.rateText(rateList.slider.position)
        fieldColor: Theme.colorBlack
        borderColor: Theme.colorGray1
        highlightColor: Theme.colorOrange
        textColor: Theme.fontColor
        fillColor: Theme.colorBlue
        handleColor: Theme.colorGray3
        fontSize: Theme.fontNormalSize
        fontName: Theme.fontFamily
        onOpened: {
            slotList.close();
            yField.releaseFocus();
            timesField.releaseFocus();
        }
        onDelayedValueChange: {
            var e = gunControl.gunNumberModel.get(gunControl.current);
            gunControl.edit("gunPeriod", Gun.releasedPeriod(rateList.text, e.gunPeriod));
        }
    }

    DropDownList {
        id: slotList
        objectName: "selectGun"
        x: 400
        y: 52
        width: 120
        model: [gunControl.langText(1) + "1", gunControl.langText(1) + "2", gunControl.langText(1) + "3"]
        fieldColor: Theme.colorBlack
        borderColor: Theme.colorGray1
        highlightColor: Theme.colorOrange
        textColor: Theme.fontColor
        fontSize: Theme.fontNormalSize
        onOpened: {
            rateList.close();
            yField.releaseFocus();
            timesField.releaseFocus();
        }
        onItemSelected: function (index) {
            gunControl.chooseSlot(index);
        }
    }
}
