// The busy indicator shown while the scene ignores input: a pulsing "LOADING ......". lockFor(ms)
// shows it for a while and raises lockEnded when the time is up (at once for 0).
import QtQuick

Item {
    id: busy
    property bool isBusy: false

    signal lockEnded

    function setBusy(b)
    {
        isBusy = b ? true : false;
    }

    function lockFor(ms)
    {
        setBusy(true);
        if (ms <= 0) {
            lockTimer.stop();
            lockEnded();
            return;
        }
        lockTimer.interval = ms;
        lockTimer.restart();
    }

    Timer {
        id: lockTimer
        objectName: "tmrProtectUI"
        interval: 1000
        onTriggered: busy.lockEnded()
    }

    width: 240
    height: 48
    visible: isBusy

    Rectangle {
        anchors.fill: parent
        radius: 6
        color: "#c0000000"
    }

    Text {
        id: loadingText
        anchors.centerIn: parent
        text: "LOADING ......"
        color: "#ffffff"
        font.pixelSize: 16
        font.bold: true

        SequentialAnimation on opacity {
            running: busy.isBusy
            loops: Animation.Infinite
            NumberAnimation { from: 1.0; to: 0.2; duration: 400 }
            NumberAnimation { from: 0.2; to: 1.0; duration: 400 }
        }
    }
}
