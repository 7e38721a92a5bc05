// The lighting page: the effect with its speed and brightness, and the colour slots, each picked on a
// hue strip or typed as red, green and blue. Edits only mark the page unsaved; saveData stores and sends.
pragma ComponentBehavior: Bound
import QtQuick
import "../common"
import "../js/Lang.js" as Lang
import "../js/Hue.js" as Hue
import "../js/Lighting.js" as Lighting

Rectangle {
    id: lightControl

    property bool isSave: false
    readonly property var builtInLang: ["Light", "Static", "Breath", "Neon", "Off", "Speed", "Color",
        "Brightness", "Twinkling", "Wave", "Gliding", "Finger Moving", "Vertical Flipping", "Yo-Yo",
        "Spotlight", "Breath Loop", "", "", "", ""]
    property var lightControlLang: builtInLang.slice()
    property alias lightModel: effectList

    // Language entries titling the effect list, in list order.
    property var effectTexts: Lighting.BASE_EFFECT_TEXTS.slice()
    property bool extraEffectsAdded: false
    property var slotColors: Lighting.BUILT_IN_COLORS.slice()
    property int selectedSlot: 0
    property string speedText: Lighting.percentText(0)
    property string brightnessText: Lighting.percentText(0)
    readonly property int effect: effectList.currentIndex
    // The DPI page's supported stage count decides how many colours a single-colour mouse takes.
    property int dpiCount: 0
    readonly property int stripLeft: 23

    width: 232
    height: 256
    color: Theme.colorBlack
    border.color: Theme.colorGray1

    // A text the language list lacks keeps its built-in value.
    function langText(i)
    {
        return Lang.text(lightControlLang, i, builtInLang);
    }

    function init(isSendData, isRecovery)
    {
        load(isSendData, isRecovery, !isSendData && !isPownOn);
    }

    function load(isSendData, isRecovery, mayAddEffects)
    {
        if (mayAddEffects && !extraEffectsAdded) {
            extraEffectsAdded = true;
            effectTexts = effectTexts.concat(Lighting.extraEffectTexts(isColorful, is55328));
        }
        var recovery = isRecovery ? true : false;
        var v = Lighting.lightValues(ui_View.getDataList("mouse/lightValue", recovery), effectTexts.length);
        effectList.currentIndex = v[0];
        speedRow.slider.setStep(v[1]);
        brightnessRow.slider.setStep(v[2]);
        updateLabels();
        showControls(Lighting.effectControls(v[0], is55328));

        slotColors = Lighting.colorTexts(ui_View.getDataList("mouse/colorValue", recovery));
        selectSlot(0);
        // What is shown now is what is stored.
        isSave = false;
        if (isSendData)
            saveData(true, 0);
    }

    // The main window's Save: stores and sends what was edited.
    function storeEdits()
    {
        saveData(true, 0);
    }

    function saveData(isSendData, isStep)
    {
        var step = Number(isStep);
        var v = [effect, speedRow.slider.step, brightnessRow.slider.step];
        if (step === 0 || step === 1)
            ui_View.setDataList("mouse/lightValue", v);
        var cv = Lighting.colorValues(slotColors, is55328, v[0]);
        if (step === 0 || step === 2)
            ui_View.setDataList("mouse/colorValue", cv);
        if (!isSendData)
            return;
        if (step === 0 || step === 1)
            ui_View.mouseSetRGBEffect(v[0], v[1], v[2]);
        if (step === 0 || step === 2)
            ui_View.mouseSetRGBColor(isColorful ? 0 : 1, cv);
    }

    function lightControlFocus()
    {
        effectList.close();
        releaseInputs();
    }

    function releaseInputs()
    {
        channelR.input.releaseFocus();
        channelG.input.releaseFocus();
        channelB.input.releaseFocus();
    }

    function showControls(c)
    {
        speedRow.visible = c.speedVisible;
        brightnessRow.visible = c.brightnessVisible;
    }

    function updateLabels()
    {
        speedText = Lighting.percentText(speedRow.slider.step);
        brightnessText = Lighting.percentText(brightnessRow.slider.step);
    }

    function releaseStep()
    {
        updateLabels();
        isSave = true;
    }

    function chooseEffect(index)
    {
        var c = Lighting.effectControls(index, is55328);
        showControls(c);
        if (c.speed !== null)
            speedRow.slider.setStep(c.speed);
        if (c.brightness !== null)
            brightnessRow.slider.setStep(c.brightness);
        updateLabels();
        selectSlot(0);
        isSave = true;
    }

    function setSlotColor(i, text)
    {
        var list = slotColors.slice();
        list[i] = text;
        slotColors = list;
    }

    function marker(i)
    {
        return markers.itemAt(i);
    }

    function placeMarker(i)
    {
        var c = Hue.parseColorText(slotColors[i]);
        marker(i).x = Hue.markerLeft(Hue.positionOf(c[0], c[1], c[2]), stripLeft);
    }

    function showInputs()
    {
        var c = Hue.parseColorText(slotColors[selectedSlot]);
        channelR.input.text = String(c[0]);
        channelG.input.text = String(c[1]);
        channelB.input.text = String(c[2]);
    }

    function selectSlot(i)
    {
        selectedSlot = i;
        placeMarker(i);
        showInputs();
    }

    // Puts the selected slot's marker at `left` (held to the strip) and takes the colour under it.
    function moveMarker(left)
    {
        var m = marker(selectedSlot);
        m.x = Hue.clampMarkerLeft(Math.round(left), stripLeft);
        var c = Hue.colorAt(Hue.positionAtMarker(m.x, stripLeft));
        setSlotColor(selectedSlot, Hue.colorText(c[0], c[1], c[2]));
        showInputs();
    }

    function applyInputs()
    {
        setSlotColor(selectedSlot, Hue.colorText(channelR.input.text, channelG.input.text, channelB.input.text));
        placeMarker(selectedSlot);
        isSave = true;
    }

    Component.onCompleted: {
        showControls(Lighting.effectControls(effect, is55328));
        selectSlot(0);
    }

    // A press on the page's empty parts commits a typed colour and closes the effect list.
    MouseArea {
        anchors.fill: parent
        onPressed: {
            lightControl.releaseInputs();
            mainFocus();
        }
    }

    Rectangle {
        id: titleBar
        x: 1
        y: 1
        width: parent.width - 2
        height: 30
        color: Theme.colorGray0

        Text {
            x: 11
            anchors.verticalCenter: parent.verticalCenter
            width: resetButton.x - x - 8
            elide: Text.ElideRight
            text: lightControl.langText(0)
            color: Theme.fontColor
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontMiddleSize
            font.bold: true
        }

        PictureButton {
            id: resetButton
            objectName: "resetButton"
            x: parent.width - width - 10
            anchors.verticalCenter: parent.verticalCenter
            width: 56
            height: 22
            source: Theme.sourceRestBtn
            hoverSource: Theme.sourceRestBtnH
            text: Lang.main(mainLang, 5)
            textColor: Theme.fontColor
            fontName: Theme.fontFamily
            fontSize: Theme.fontNormalSize
            onClicked: {
                lightControl.releaseInputs();
                mainFocus();
                lightControl.load(false, true, false);
                lightControl.isSave = true;
            }
        }
    }

    component Caption: Text {
        width: 70
        height: 20
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        color: Theme.fontColor
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormalSize
    }

    // The colour rows move up into the place of hidden speed and brightness rows.
    readonly property int rowsShift: -30 * ((speedRow.visible ? 0 : 1) + (brightnessRow.visible ? 0 : 1))

    component StepRow: Item {
        id: row
        signal released
        property alias caption: captionText.text
        property alias percent: percentText.text
        property alias slider: stepSlider
        x: 12
        width: 208
        height: 24
        Caption {
            id: captionText
            anchors.verticalCenter: parent.verticalCenter
        }
        SliderButton {
            id: stepSlider
            x: 74
            // Clear of the widest percentage ("100%") at its end.
            width: 88
            anchors.verticalCenter: parent.verticalCenter
            segment: 4
            fillColor: Theme.colorBlue
            trackColor: Theme.colorGray1
            handleColor: Theme.colorGray3
            onHandlePressed: mainFocus()
            onDelayedValueChange: row.released()
        }
        Text {
            id: percentText
            objectName: "percent"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            horizontalAlignment: Text.AlignRight
            width: 36
            color: Theme.fontColor
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormalSize
        }
    }

    StepRow {
        id: speedRow
        objectName: "speedRow"
        y: 72
        caption: lightControl.langText(5)
        percent: lightControl.speedText
        onReleased: lightControl.releaseStep()
    }

    StepRow {
        id: brightnessRow
        objectName: "brightnessRow"
        y: speedRow.visible ? 102 : 72
        caption: lightControl.langText(7)
        percent: lightControl.brightnessText
        onReleased: lightControl.releaseStep()
    }

    Caption {
        x: 12
        y: 132 + lightControl.rowsShift
        width: 208
        text: lightControl.langText(6)
    }

    Row {
        id: slotRow
        x: lightControl.stripLeft
        y: 156 + lightControl.rowsShift
        spacing: 5
        Repeater {
            id: slots
            model: Lighting.SLOTS
            delegate: Rectangle {
                required property int index
                objectName: "slot" + index
                width: 22
                height: 22
                radius: 3
                visible: Lighting.slotVisible(index, lightControl.dpiCount, isColorful, is55328,
                                              lightControl.effect)
                // A ring apart from the swatch, so the selection shows on any colour.
                color: "transparent"
                border.width: index === lightControl.selectedSlot ? 2 : 1
                border.color: index === lightControl.selectedSlot ? Theme.colorOrange : Theme.colorGray1
                Rectangle {
                    anchors.fill: parent
                    anchors.margins: 3
                    radius: 1
                    color: lightControl.slotColors[parent.index]
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: {
                        // A colour still being typed belongs to the slot selected so far.
                        lightControl.releaseInputs();
                        mainFocus();
                        lightControl.selectSlot(parent.index);
                    }
                }
            }
        }
    }

    Item {
        id: hueArea
        objectName: "hueArea"
        y: 186 + lightControl.rowsShift
        width: parent.width
        height: 26

        Rectangle {
            id: strip
            objectName: "hueStrip"
            x: lightControl.stripLeft
            y: 7
            width: Hue.STRIP_WIDTH
            height: 12
            // The colours colorAt gives along the strip: six hue segments of 30 pixels, white at the end.
            gradient: Gradient {
                orientation: Gradient.Horizontal
                GradientStop { position: 0; color: "#ff0000" }
                GradientStop { position: 29 / 185; color: "#ffff00" }
                GradientStop { position: 59 / 185; color: "#00ff00" }
                GradientStop { position: 89 / 185; color: "#00ffff" }
                GradientStop { position: 119 / 185; color: "#0000ff" }
                GradientStop { position: 149 / 185; color: "#ff00ff" }
                GradientStop { position: 179 / 185; color: "#ff0000" }
                GradientStop { position: 181.9 / 185; color: "#ff0000" }
                GradientStop { position: 182 / 185; color: "#ffffff" }
                GradientStop { position: 1; color: "#ffffff" }
            }
        }

        Repeater {
            id: markers
            model: Lighting.SLOTS
            delegate: Item {
                required property int index
                objectName: "marker" + index
                width: Hue.MARKER_WIDTH
                height: hueArea.height
                visible: index === lightControl.selectedSlot
                Rectangle {
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: 8
                    height: parent.height
                    radius: 2
                    color: lightControl.slotColors[parent.index]
                    border.color: "#ffffff"
                    border.width: 2
                }
            }
        }

        // Dragging the marker, or pressing the strip beside it, moves the selected slot's marker.
        MouseArea {
            id: stripArea
            anchors.fill: parent
            property real grab: Hue.MARKER_WIDTH / 2
            onPressed: function (mouse) {
                lightControl.releaseInputs();
                mainFocus();
                var m = lightControl.marker(lightControl.selectedSlot);
                if (mouse.x >= m.x && mouse.x < m.x + m.width) {
                    grab = mouse.x - m.x;
                } else {
                    grab = Hue.MARKER_WIDTH / 2;
                    lightControl.moveMarker(mouse.x - grab);
                }
            }
            onPositionChanged: function (mouse) {
                if (pressed)
                    lightControl.moveMarker(mouse.x - grab);
            }
            onReleased: lightControl.isSave = true
        }
    }

    component Channel: Row {
        id: channel
        property alias name: channelName.text
        property alias input: numberInput
        spacing: 4
        Text {
            id: channelName
            width: 10
            height: 22
            verticalAlignment: Text.AlignVCenter
            color: Theme.fontColor
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormalSize
        }
        NumberInput {
            id: numberInput
            objectName: "input" + channel.name
            width: 42
            maximumLength: 4
            minimum: 0
            maximum: 255
            emptyValue: 0
            color: Theme.colorGray0
            border.color: inputFocus ? Theme.colorOrange : Theme.colorGray1
            textColor: Theme.fontColor
            fontName: Theme.fontFamily
            fontSize: Theme.fontNormalSize
            onFocusGained: mainFocus()
            onCommitted: lightControl.applyInputs()
        }
    }

    Row {
        x: lightControl.stripLeft
        y: 222 + lightControl.rowsShift
        spacing: 9
        Channel {
            id: channelR
            name: "R"
        }
        Channel {
            id: channelG
            name: "G"
        }
        Channel {
            id: channelB
            name: "B"
        }
    }

    DropDownList {
        id: effectList
        objectName: "lightModel"
        x: 12
        y: 40
        width: 208
        // 20-pixel rows keep the longest list (12 entries) inside the window.
        height: 20
        currentIndex: Lighting.DEFAULT_EFFECT
        model: lightControl.effectTexts.map(function (i) { return lightControl.langText(i); })
        fieldColor: Theme.colorGray0
        borderColor: Theme.colorGray1
        highlightColor: Theme.colorOrange
        textColor: Theme.fontColor
        fontSize: Theme.fontNormalSize
        onOpened: {
            // mainFocus closes every list, this one included.
            var wasOpen = isOpen;
            lightControl.releaseInputs();
            mainFocus();
            isOpen = wasOpen;
        }
        onItemSelected: function (index) {
            lightControl.chooseEffect(index);
        }
    }
}
