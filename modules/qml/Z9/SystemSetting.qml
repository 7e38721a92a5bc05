// The operating system's pointer settings kept with the profile: pointer speed, double-click speed and
// wheel scrolling. Unlike the other pages every change is stored and applied at once, so the page is
// never unsaved.
pragma ComponentBehavior: Bound
import QtQuick
import "../common"
import "../js/Lang.js" as Lang
import "../js/SystemSettings.js" as SystemSettings

DialogFrame {
    id: systemSetting

    readonly property var builtInLang: ["System Settings", "Pointer Speed", "Double-Click Speed", "Slow",
        "Fast", "Scroll Speed", "Lines per Notch", "One Screen per Notch", "Changed on this desktop:",
        "Nothing on this desktop can apply these settings; they are kept with the profile.", "desktop settings",
        "KDE settings", "X input devices (libinput)", "X pointer acceleration", "not applied"]
    // Title, the two slider captions, the slider ends, the wheel caption and its two choices; then the
    // report of what the desktop took (8 … 14, see SystemSettings.reportLines).
    property var systemSettingLang: values.systemSettingLang || builtInLang
    // The main window's Save asks every page; this one has nothing waiting.
    property bool isSave: false

    // A language list that lacks an entry keeps the built-in text rather than showing nothing.
    function langText(i)
    {
        return Lang.text(systemSettingLang, i, builtInLang);
    }

    // The values shown and edited; the main window hands over the ones a profile change applies.
    property PointerValues values: PointerValues {}

    // Loads the three values (the default profile's when isRecovery) and applies them when isSendData.
    function init(isSendData, isRecovery)
    {
        values.init(isSendData, isRecovery);
    }

    // Stores what the dialog shows; applies all of it (isStep 0), or only the pointer speed (1), the
    // double-click speed (2) or the wheel (3).
    function saveData(isSendData, isStep)
    {
        values.pointer = Math.round(mouseRateSlider.position);
        values.doubleClick = Math.round(doubleRateSlider.position);
        values.oneScreen = !rowsChoice.checked;
        values.lines = lineCount.text;
        values.saveData(isSendData, isStep);
    }

    function showValues()
    {
        mouseRateSlider.setPosition(values.pointer);
        doubleRateSlider.setPosition(values.doubleClick);
        rowsChoice.checked = !values.oneScreen;
        screenChoice.checked = values.oneScreen;
        lineCount.text = values.lines;
    }

    // Leaving the line-count input commits it.
    function systemSettingFocus()
    {
        lineCount.releaseFocus();
    }

    function chooseRows(rows)
    {
        rowsChoice.checked = rows;
        screenChoice.checked = !rows;
        // Show the count that is stored, not an empty or out-of-range text.
        if (rows)
            lineCount.text = SystemSettings.commitLineCount(lineCount.text);
        saveData(true, 3);
    }

    width: 416
    // Grows for the report of what the desktop took.
    height: report.visible ? Math.max(312, report.y + report.height + 20) : 312
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

    Component.onCompleted: showValues()
    onBackgroundPressed: systemSettingFocus()
    Connections {
        target: systemSetting.values
        function onLoaded() { systemSetting.showValues(); }
    }
    // However the dialog goes away, an edited count is not lost.
    onVisibleChanged: {
        if (!visible)
            systemSettingFocus();
    }

    Rectangle {
        x: 16
        y: 40
        width: parent.width - 32
        height: 1
        color: Theme.colorGray1
    }

    Text {
        id: mouseRateCaption
        x: 32
        y: 52
        text: systemSetting.langText(1)
        color: Theme.fontColor
        font.pixelSize: Theme.fontNormalSize
        font.family: Theme.fontFamily
    }
    SliderButton {
        id: mouseRateSlider
        objectName: "mouseRateSlider"
        x: 32
        anchors.top: mouseRateCaption.bottom
        anchors.topMargin: 6
        width: SystemSettings.SLIDER_LENGTH
        trackColor: Theme.colorGray1
        fillColor: Theme.colorBlue
        handleColor: Theme.colorGray3
        onDelayedValueChange: systemSetting.saveData(true, 1)
    }
    SliderEnds {
        anchors.top: mouseRateSlider.bottom
        anchors.left: mouseRateSlider.left
        anchors.right: mouseRateSlider.right
    }

    Text {
        id: doubleRateCaption
        x: 32
        anchors.top: mouseRateSlider.bottom
        anchors.topMargin: 34
        text: systemSetting.langText(2)
        color: Theme.fontColor
        font.pixelSize: Theme.fontNormalSize
        font.family: Theme.fontFamily
    }
    SliderButton {
        id: doubleRateSlider
        objectName: "doubleRateSlider"
        x: 32
        anchors.top: doubleRateCaption.bottom
        anchors.topMargin: 6
        width: SystemSettings.SLIDER_LENGTH
        trackColor: Theme.colorGray1
        fillColor: Theme.colorBlue
        handleColor: Theme.colorGray3
        onDelayedValueChange: systemSetting.saveData(true, 2)
    }
    SliderEnds {
        anchors.top: doubleRateSlider.bottom
        anchors.left: doubleRateSlider.left
        anchors.right: doubleRateSlider.right
    }

    Text {
        id: scrollCaption
        x: 32
        anchors.top: doubleRateSlider.bottom
        anchors.topMargin: 34
        text: systemSetting.langText(5)
        color: Theme.fontColor
        font.pixelSize: Theme.fontNormalSize
        font.family: Theme.fontFamily
    }
    Row {
        x: 32
        anchors.top: scrollCaption.bottom
        anchors.topMargin: 10
        spacing: 8

        RadioBox {
            id: rowsChoice
            objectName: "rowsChoice"
            anchors.verticalCenter: parent.verticalCenter
            checked: true
            text: systemSetting.langText(6)
            source: Theme.sourceRadioBtn
            checkedSource: Theme.sourceRadioBtnS
            textColor: Theme.fontColor
            fontSize: Theme.fontNormalSize
            fontName: Theme.fontFamily
            onClicked: systemSetting.chooseRows(true)
        }
        NumberInput {
            id: lineCount
            objectName: "lineCount"
            anchors.verticalCenter: parent.verticalCenter
            width: 40
            maximumLength: 3
            minimum: 1
            maximum: SystemSettings.MAX_LINES
            emptyValue: 1
            text: "1"
            // The count only counts with its choice.
            opacity: rowsChoice.checked ? 1 : 0.5
            color: Theme.colorBlack
            textColor: Theme.fontColor
            fontSize: Theme.fontNormalSize
            fontName: Theme.fontFamily
            onFocusGained: mainFocus()
            onCommitted: systemSetting.saveData(true, 3)
        }
        Item {
            width: 16
            height: 1
        }
        RadioBox {
            id: screenChoice
            objectName: "screenChoice"
            anchors.verticalCenter: parent.verticalCenter
            text: systemSetting.langText(7)
            source: Theme.sourceRadioBtn
            checkedSource: Theme.sourceRadioBtnS
            textColor: Theme.fontColor
            fontSize: Theme.fontNormalSize
            fontName: Theme.fontFamily
            onClicked: systemSetting.chooseRows(false)
        }
    }

    // Loads the default profile's values into this profile and applies them.
    // What the desktop took of the last changes, or that nothing here can apply them.
    Text {
        id: report
        objectName: "pointerReport"
        x: 32
        y: 268
        width: resetButton.x - x - 16
        visible: text !== ""
        text: SystemSettings.reportLines(typeof ui_View !== "undefined" && ui_View ? ui_View.pointerReport
                                                                                  : null,
                                         systemSetting.langText).join("\n")
        wrapMode: Text.WordWrap
        color: Theme.colorGray2
        font.pixelSize: Theme.fontMinSize
        font.family: Theme.fontFamily
        lineHeight: 1.15
    }

    PictureButton {
        id: resetButton
        objectName: "resetButton"
        anchors.right: parent.right
        anchors.rightMargin: 32
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 16
        source: Theme.sourceRestBtn
        hoverSource: Theme.sourceRestBtnH
        text: Lang.main(mainLang, 5)
        textColor: Theme.fontColor
        fontName: Theme.fontFamily
        fontSize: Theme.fontNormalSize
        onClicked: systemSetting.init(true, true)
    }

    component SliderEnds: Item {
        height: 18
        Text {
            anchors.left: parent.left
            anchors.bottom: parent.bottom
            text: systemSetting.langText(3)
            color: Theme.colorGray2
            font.pixelSize: Theme.fontMinSize
            font.family: Theme.fontFamily
        }
        Text {
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            text: systemSetting.langText(4)
            color: Theme.colorGray2
            font.pixelSize: Theme.fontMinSize
            font.family: Theme.fontFamily
        }
    }
}
