// The DPI page: how many stages the mouse cycles through and the DPI value of each of the eight
// stages, on upright sliders. Edits only mark the page unsaved; the main window's Save stores and
// sends them. A value can also be typed under its slider, nudged a step with the arrow keys there or
// with the wheel over the slider. The stage the mouse reports as active is drawn in the highlight colour.
pragma ComponentBehavior: Bound
import QtQuick
import "../common"
import "../js/Lang.js" as Lang
import "../js/Dpi.js" as Dpi

Item {
    id: page

    property bool isSave: false
    property int currentDPI: 0
    property int dpiCount: 4
    property int currentDpiCount: 4
    property int minDPI: 200
    property int maxDPI: 6000
    property string sensorType: "3360"
    property int dpiBase: 50
    property var dpiValueArray: [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000]
    property var dpiSettingLang: ["DPI", "", "", "", ""]

    property alias dpiSegment: stageCountList

    // Stages laid out and shown; follows the stage-count choice, not every write of currentDpiCount.
    property int shownStages: 4
    readonly property var stageSliders: [dpi0, dpi1, dpi2, dpi3, dpi4, dpi5, dpi6, dpi7]
    readonly property var stageTexts: ["1", "2", "3", "4", "5", "6", "7", "8"]

    width: 232
    height: 256

    function limitsNow()
    {
        return {minDPI: minDPI, maxDPI: maxDPI, dpiBase: dpiBase};
    }

    function init(isSendData, isRecovery)
    {
        if (!isRecovery) {
            var counts = Dpi.stageCounts(ui_View.getData("mouse/dpiCount", false),
                                         ui_View.getData("mouse/currentDpiCount", false),
                                         {dpiCount: dpiCount, currentDpiCount: currentDpiCount});
            dpiCount = counts.dpiCount;
            currentDpiCount = counts.currentDpiCount;
            var range = Dpi.limits(ui_View.getGlobalData("mouse/minDPI"),
                                   ui_View.getGlobalData("mouse/maxDPI"),
                                   ui_View.getGlobalData("mouse/dpiBase"), limitsNow());
            minDPI = range.minDPI;
            maxDPI = range.maxDPI;
            dpiBase = range.dpiBase;
            var sensor = ui_View.getGlobalData("mouse/sensorType");
            if (sensor !== undefined && sensor !== null && String(sensor) !== "")
                sensorType = String(sensor);
        }
        var list = Dpi.listOf(ui_View.getDataList("mouse/dpiValueArray", isRecovery));
        var values = [];
        var loaded = [];
        for (var i = 0; i < Dpi.STAGES; ++i) {
            values.push(Dpi.storedValue(list, i, minDPI, maxDPI, dpiBase));
            // Readable entries as they came; the others as the value that replaces them.
            loaded.push(isNaN(Dpi.readNumber(list[i])) ? String(values[i]) : list[i]);
        }
        dpiValueArray = loaded;
        if (dpiCount > Dpi.STAGES)
            return;

        if (!isRecovery) {
            stageCountList.model = stageTexts.slice(0, dpiCount);
            stageCountList.currentIndex = currentDpiCount - 1;
            stageCountList.close();
        }
        for (i = 0; i < Dpi.STAGES; ++i) {
            var slider = stageSliders[i];
            slider.setRatio(Dpi.ratioOf(values[i], minDPI, maxDPI));
            slider.value = Dpi.shownValue(values[i], slider.position, minDPI, maxDPI, dpiBase);
        }
        showStages(currentDpiCount - 1);
        isSave = false;
        if (isSendData)
            saveData(true);
    }

    // After a profile went to the mouse: a mouse left on a stage the profile no longer steps through
    // goes to the last one there is, and the page shows the stage the mouse is on. Returns that stage
    // (0 when the mouse did not tell).
    function followMouseStage()
    {
        var stage = ui_View.mouseConnected ? Number(ui_View.mouseGetCurrentDPI()) || 0 : 0;
        if (stage > currentDpiCount && currentDpiCount > 0) {
            ui_View.mouseSetCurrentDPI(currentDpiCount);
            stage = currentDpiCount;
        }
        if (stage > 0)
            currentDPI = stage - 1;
        return stage;
    }

    // The main window's Save: stores and sends what was edited.
    function storeEdits()
    {
        saveData(true);
    }

    function saveData(isSendData)
    {
        var list = stageSliders.map(function (slider) { return slider.value; });
        var count = Dpi.holdCount(currentDpiCount, Dpi.STAGES);
        currentDpiCount = count;
        ui_View.setDataList("mouse/dpiValueArray", list);
        ui_View.setData("mouse/currentDpiCount", count);
        if (isSendData)
            ui_View.mouseSetDpi(count, sensorType, list);
        isSave = false;
    }

    function dpiValueProc(index, position, isSendData)
    {
        var slider = stageSliders[index];
        if (!slider)
            return;
        slider.value = Dpi.stageValue(position, minDPI, maxDPI, dpiBase);
        if (isSendData)
            isSave = true;
    }

    // A value typed for stage `index` (or one nudged `steps` dpiBase steps): held to range and step as a
    // drag holds it, shown under the slider, the handle put where it belongs; a change is unsaved.
    function typedValue(index, text)
    {
        var slider = stageSliders[index];
        if (!slider)
            return;
        var v = Dpi.typedValue(text, slider.value, minDPI, maxDPI, dpiBase);
        var changed = v !== slider.value;
        // Placed as a loaded value is; the value stays the one typed.
        slider.setRatio(Dpi.ratioOf(v, minDPI, maxDPI));
        slider.value = v;
        var label = valueLabels.itemAt(index) as TextInput;
        if (label)
            label.text = slider.dpiValue;
        if (changed)
            isSave = true;
    }

    function showValue(index)
    {
        var label = valueLabels.itemAt(index) as TextInput;
        if (label)
            label.text = stageSliders[index].dpiValue;
    }

    function nudge(index, steps)
    {
        var slider = stageSliders[index];
        if (slider)
            typedValue(index, String(slider.value + steps * dpiBase));
    }

    // Shows stages 0 ... k and spreads them over the page's width.
    function showStages(k)
    {
        shownStages = Dpi.holdCount(Number(k) + 1, Dpi.STAGES);
    }

    Rectangle {
        anchors.fill: parent
        color: Theme.colorBlack
        border.color: Theme.colorGray1
    }

    Text {
        id: title
        objectName: "dpiTitle"
        x: 10
        width: stagePips.x - x - 6
        height: 36
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        text: page.dpiSettingLang[0] !== undefined ? page.dpiSettingLang[0] : ""
        color: Theme.fontColor
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontMiddleSize
        font.bold: true
    }

    // Caption of the stage-count list: one rising bar per supported stage, lit for the enabled ones.
    Row {
        id: stagePips
        anchors.right: stageCountList.left
        anchors.rightMargin: 6
        anchors.bottom: stageCountList.bottom
        anchors.bottomMargin: 6
        spacing: 2
        Repeater {
            model: Math.min(Math.max(page.dpiCount, 0), Dpi.STAGES)
            delegate: Rectangle {
                required property int index
                anchors.bottom: parent.bottom
                width: 3
                height: 4 + index
                color: index < page.shownStages ? Theme.colorGray3 : Theme.colorGray1
            }
        }
    }

    Rectangle {
        x: 8
        y: 36
        width: parent.width - 16
        height: 1
        color: Theme.colorGray1
    }

    // Stage columns: backdrop, stage number, slider, value label.
    Item {
        id: stageArea
        x: 8
        y: 40
        width: parent.width - 16
        height: parent.height - y - 4
        readonly property real columnWidth: width / page.shownStages

        function centreOf(i)
        {
            return (i + 0.5) * columnWidth;
        }

        Repeater {
            model: Dpi.STAGES
            delegate: Rectangle {
                required property int index
                visible: index < page.shownStages
                width: Math.min(stageArea.columnWidth - 4, 34)
                x: stageArea.centreOf(index) - width / 2
                height: stageArea.height
                radius: 3
                color: Theme.colorGray0
                border.color: index === page.currentDPI ? Theme.colorOrange : "transparent"

                Text {
                    width: parent.width
                    y: 2
                    horizontalAlignment: Text.AlignHCenter
                    text: page.stageTexts[parent.index]
                    color: parent.index === page.currentDPI ? Theme.colorOrange : Theme.colorGray2
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontMinSize
                    font.bold: parent.index === page.currentDPI
                }
            }
        }

        component StageSlider: SliderButton {
            id: stageSlider
            required property int stage
            // The stage's DPI value; dpiValue is its text, and a text written there sets it too.
            property int value: 2000
            property string dpiValue: "2000"
            onValueChanged: dpiValue = String(value)

            visible: stage < page.shownStages
            width: 176
            height: 20
            rotation: 270
            x: stageArea.centreOf(stage) - width / 2
            y: 104 - height / 2
            trackColor: Theme.colorGray1
            handleColor: Theme.colorGray3
            fillColor: stage === page.currentDPI ? Theme.colorOrange : Theme.colorBlue

            onValueChange: function (position) {
                page.dpiValueProc(stage, position, false);
            }
            onDelayedValueChange: function (position) {
                page.dpiValueProc(stage, position, true);
            }
            onHandlePressed: mainFocus()
            // The field under the slider shows the value.
            onDpiValueChanged: {
                value = Dpi.valuesOf([dpiValue])[0];
                page.showValue(stage);
            }

            // One step per notch of the wheel over the slider.
            property real wheelTurn: 0
            WheelHandler {
                onWheel: function (event) {
                    stageSlider.wheelTurn += event.angleDelta.y + event.angleDelta.x;
                    while (Math.abs(stageSlider.wheelTurn) >= 120) {
                        var up = stageSlider.wheelTurn > 0;
                        stageSlider.wheelTurn += up ? -120 : 120;
                        page.nudge(stageSlider.stage, up ? 1 : -1);
                    }
                }
            }
        }

        StageSlider {
            id: dpi0
            objectName: "dpi0"
            stage: 0
        }
        StageSlider {
            id: dpi1
            objectName: "dpi1"
            stage: 1
        }
        StageSlider {
            id: dpi2
            objectName: "dpi2"
            stage: 2
        }
        StageSlider {
            id: dpi3
            objectName: "dpi3"
            stage: 3
        }
        StageSlider {
            id: dpi4
            objectName: "dpi4"
            stage: 4
        }
        StageSlider {
            id: dpi5
            objectName: "dpi5"
            stage: 5
        }
        StageSlider {
            id: dpi6
            objectName: "dpi6"
            stage: 6
        }
        StageSlider {
            id: dpi7
            objectName: "dpi7"
            stage: 7
        }

        Repeater {
            id: valueLabels
            model: Dpi.STAGES
            // The value under each slider, which can be typed (Enter or leaving the field takes it,
            // Escape drops it) and stepped with the arrow keys; Tab goes on to the next stage.
            delegate: TextInput {
                id: valueInput
                required property int index
                objectName: "dpiLabel" + index
                visible: index < page.shownStages
                width: Math.min(stageArea.columnWidth - 2, 34)
                x: stageArea.centreOf(index) - width / 2
                y: stageArea.height - 18
                height: 14
                horizontalAlignment: TextInput.AlignHCenter
                verticalAlignment: TextInput.AlignVCenter
                text: page.stageSliders[index].dpiValue
                maximumLength: 5
                validator: RegularExpressionValidator { regularExpression: /[0-9]*/ }
                activeFocusOnTab: true
                selectByMouse: true
                selectionColor: Theme.colorOrange
                color: index === page.currentDPI ? Theme.colorOrange : Theme.fontColor
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontMinSize
                onActiveFocusChanged: {
                    if (activeFocus) {
                        mainFocus();
                        selectAll();
                    } else {
                        page.typedValue(index, text);
                    }
                }
                Keys.onReturnPressed: focus = false
                Keys.onEnterPressed: focus = false
                Keys.onEscapePressed: {
                    text = page.stageSliders[index].dpiValue;
                    focus = false;
                }
                Keys.onUpPressed: page.nudge(index, 1)
                Keys.onDownPressed: page.nudge(index, -1)
                Rectangle {
                    visible: valueInput.activeFocus
                    anchors.fill: parent
                    anchors.margins: -1
                    z: -1
                    color: Theme.colorBlack
                    border.color: Theme.colorOrange
                }
            }
        }
    }

    DropDownList {
        id: stageCountList
        objectName: "dpiSegment"
        x: resetButton.x - width - 8
        y: 6
        width: 48
        model: page.stageTexts.slice(0, 4)
        currentIndex: 3
        fieldColor: Theme.colorGray0
        borderColor: Theme.colorGray1
        highlightColor: Theme.colorOrange
        textColor: Theme.fontColor
        fontSize: Theme.fontNormalSize
        onOpened: {
            mainFocus();
            isOpen = true;
        }
        onItemSelected: function (index) {
            page.showStages(index);
            page.currentDpiCount = index + 1;
            page.isSave = true;
        }
    }

    PictureButton {
        id: resetButton
        objectName: "dpiReset"
        x: parent.width - width - 8
        y: 6
        source: Theme.sourceRestBtn
        hoverSource: Theme.sourceRestBtnH
        text: Lang.main(mainLang, 5)
        textColor: Theme.fontColor
        fontName: Theme.fontFamily
        fontSize: Theme.fontNormalSize
        onClicked: {
            mainFocus();
            page.init(false, true);
            page.isSave = true;
        }
    }
}
