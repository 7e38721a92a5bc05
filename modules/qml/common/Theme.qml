// The scene's look in one place: the font, the text sizes, the colours and the skin's pictures that
// the window and its pages draw. Every page and control reads them from here.
pragma Singleton
import QtQuick

QtObject {
    readonly property int skin_No: 1
    readonly property string fontFamily: "微软雅黑"
    readonly property int fontNormalSize: 12
    readonly property int fontMiddleSize: 14
    readonly property int fontMaxSize: 16
    readonly property int fontMinSize: 10
    readonly property color fontColor: "#ffffff"
    readonly property color colorGray0: "#1a1a1a"
    readonly property color colorGray1: "#3c3c3c"
    readonly property color colorGray2: "#969696"
    readonly property color colorGray3: "#d1d1d1"
    readonly property color colorBlue: "#09347f"
    readonly property color colorOrange: "#cf3e00"
    readonly property color colorBlack: Qt.rgba(0, 0, 0, 1)

    // A picture of a page's folder in the current skin.
    function skinPath(page, file)
    {
        return "qrc:/" + page + "/modules/img/skin" + skin_No + "/" + page + "/" + file;
    }

    readonly property url sourceBackground: "qrc:/modules/img/background.png"
    readonly property url sourceTitleBar: "qrc:/modules/img/titleBar.png"
    readonly property url sourceTitleLogo: "qrc:/modules/img/titleLogo.png"
    readonly property url sourcePowerOn: skinPath("index", "powerOn.png")
    readonly property url sourceMinBtn: skinPath("index", "minBtn.png")
    readonly property url sourceMinBtnH: skinPath("index", "minBtnH.png")
    readonly property url sourceCloseBtn: skinPath("index", "closeBtn.png")
    readonly property url sourceCloseBtnH: skinPath("index", "closeBtnH.png")
    readonly property url sourceAsk: skinPath("index", "ask.png")
    readonly property url sourceAskH: skinPath("index", "askH.png")
    readonly property url sourceSureBtn: skinPath("index", "sureBtn.png")
    readonly property url sourceSureBtnH: skinPath("index", "sureBtnH.png")
    readonly property url sourceRestBtn: skinPath("index", "restBtn.png")
    readonly property url sourceRestBtnH: skinPath("index", "restBtnH.png")
    readonly property url sourceBack: skinPath("index", "back.png")
    readonly property url sourceBackH: skinPath("index", "backH.png")
    readonly property url sourceRadioBtn: skinPath("index", "radioBtn.png")
    readonly property url sourceRadioBtnS: skinPath("index", "radioBtnS.png")
    readonly property url sourceCheckBtn: skinPath("index", "checkBtn.png")
}
