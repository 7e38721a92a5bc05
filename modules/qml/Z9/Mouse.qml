// The picture of the mouse in the middle of the window: the mouse seen from above, drawn as vectors
// (sharp at any scale), with the buttons a mouse of `keyCount` buttons has and a numbered tag beside
// each, whose line ends at its button. Hovering a tag or a button on the picture and clicking it are
// reported as the button list reports its rows (enterBtn, leaveBtn, clickBtn); selectKey, set by the
// main window, lights its button. The item spans the window but only the tags and buttons take the
// pointer, so the panels beside and below it keep theirs.
pragma ComponentBehavior: Bound
import QtQuick
import "../common"
import QtQuick.Window
import "../js/KeyList.js" as KeyList
import "../js/MouseArt.js" as MouseArt

Item {
    id: mouseView

    property int keyCount: 8
    property int selectKey: -1
    readonly property int shownKeys: KeyList.shownKeyCount(keyCount)
    // The drawing of this key count's buttons, and the button under the pointer (−1: none).
    readonly property var parts: MouseArt.layout(shownKeys)
    property int hoverKey: -1
    // Each shown button's bounds in the picture's pixels.
    readonly property var zones: parts.map(function (p) {
        return Qt.rect(p.bounds.x, p.bounds.y, p.bounds.width, p.bounds.height);
    })

    signal enterBtn(int index)
    signal leaveBtn(int index)
    signal clickBtn(int index)

    width: 1024
    height: 640

    onSelectKeyChanged: repaintButtons()
    onHoverKeyChanged: repaintButtons()
    onPartsChanged: repaintButtons()

    // One drawing of the picture, at `density` canvas pixels per picture pixel (the screen's pixel
    // density by default) and shown at the picture's size.
    component Layer: Canvas {
        property real density: Math.max(1, Screen.devicePixelRatio)
        // Raised to draw on a context in the picture's coordinates.
        signal drawing(var ctx, real density)
        width: MouseArt.PICTURE_WIDTH * density
        height: MouseArt.PICTURE_HEIGHT * density
        scale: 1 / density
        transformOrigin: Item.TopLeft
        smooth: true
        renderStrategy: Canvas.Immediate

        onPaint: {
            var ctx = getContext("2d");
            ctx.reset();
            ctx.scale(density, density);
            drawing(ctx, density);
        }
    }

    function repaintButtons()
    {
        art.requestPaint();
    }

    // Centred between the left panel (ending at 256) and the right column (starting at 768).
    Item {
        id: picture
        objectName: "mousePicture"
        x: 312
        y: 96
        width: MouseArt.PICTURE_WIDTH
        height: MouseArt.PICTURE_HEIGHT

        // Three layers, so that a hover redraws only what it changes (the buttons, their glow and their
        // tags' lines). The body's wide shadow is drawn at a quarter of the picture's resolution and
        // shown enlarged: a blur has no fine detail to lose, and blurring it at full size kept the
        // processor busy for most of a second at start-up and on every hover.
        Layer {
            density: 0.25
            onDrawing: function (ctx, density) { mouseView.paintShadow(ctx, 1 / density); }
        }
        Layer {
            onDrawing: function (ctx) { mouseView.paintBody(ctx); }
        }
        Layer {
            id: art
            objectName: "mouseArt"
            onDrawing: function (ctx) {
                for (var i = 0; i < mouseView.parts.length; ++i)
                    mouseView.paintPart(ctx, mouseView.parts[i]);
                mouseView.paintLeaders(ctx);
            }
        }

        Repeater {
            model: mouseView.parts
            delegate: Item {
                id: button
                required property var modelData
                required property int index
                readonly property bool selected: index === mouseView.selectKey
                readonly property bool hovered: zoneArea.containsMouse || tagArea.containsMouse

                anchors.fill: parent

                // The tag and the button on the picture are one target. Hover entry and exit may
                // come in either order when the pointer jumps between buttons: only the selected
                // button is left, a move selects its button again, and a click is always for the
                // button under the pointer.
                onHoveredChanged: {
                    if (hovered) {
                        mouseView.hoverKey = index;
                        mouseView.enterBtn(index);
                    } else {
                        if (mouseView.hoverKey === index)
                            mouseView.hoverKey = -1;
                        if (index === mouseView.selectKey)
                            mouseView.leaveBtn(index);
                    }
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

                // The button's place on the picture; it takes the pointer only inside its shape.
                Item {
                    id: zone
                    objectName: "mouseZone" + button.index
                    readonly property bool lit: button.selected || button.hovered
                    readonly property var polygon: MouseArt.flatten(button.modelData.shape)
                    // Where the tag's line ends, in the zone's own pixels.
                    readonly property point anchorPoint: Qt.point(button.modelData.anchor[0] - x,
                                                                  button.modelData.anchor[1] - y)
                    x: button.modelData.bounds.x
                    y: button.modelData.bounds.y
                    width: button.modelData.bounds.width
                    height: button.modelData.bounds.height
                    MouseArea {
                        id: zoneArea
                        anchors.fill: parent
                        hoverEnabled: true
                        containmentMask: QtObject {
                            function contains(point: point): bool
                            {
                                return MouseArt.inside(zone.polygon, point.x + zone.x, point.y + zone.y);
                            }
                        }
                        onPositionChanged: button.point()
                        onClicked: button.click()
                    }
                }
                Rectangle {
                    id: tag
                    objectName: "mouseTag" + button.index
                    x: button.modelData.tag[0]
                    y: button.modelData.tag[1]
                    width: MouseArt.TAG_SIZE
                    height: MouseArt.TAG_SIZE
                    radius: width / 2
                    color: button.selected ? Theme.colorOrange : (button.hovered ? "#7a2800" : Theme.colorGray0)
                    border.color: button.selected || button.hovered ? Theme.colorOrange : Theme.colorGray2
                    Text {
                        anchors.fill: parent
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        text: String(button.index + 1)
                        color: Theme.fontColor
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.fontNormalSize
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

    function isLit(index)
    {
        return index === selectKey || index === hoverKey;
    }

    // The body's shadow, on a context that draws `reduction` times smaller than the picture (a
    // shadow's blur and offset are in the context's pixels, whatever its scale).
    function paintShadow(ctx, reduction)
    {
        ctx.save();
        ctx.shadowColor = "rgba(0, 0, 0, 0.75)";
        ctx.shadowBlur = 28 / reduction;
        ctx.shadowOffsetY = 10 / reduction;
        MouseArt.trace(ctx, MouseArt.body());
        ctx.fillStyle = "#141416";
        ctx.fill();
        ctx.restore();
    }

    // The body over its shadow: a dark shell shaded from its spine to its edges, an orange light strip
    // round the back and the maker's chevron on the palm.
    function paintBody(ctx)
    {
        var outline = MouseArt.body();
        var shell = ctx.createLinearGradient(104, 0, 296, 0);
        shell.addColorStop(0, "#0c0c0e");
        shell.addColorStop(0.3, "#232327");
        shell.addColorStop(0.5, "#2c2c31");
        shell.addColorStop(0.7, "#232327");
        shell.addColorStop(1, "#0c0c0e");
        MouseArt.trace(ctx, outline);
        ctx.fillStyle = shell;
        ctx.fill();
        // Light falls from the front.
        var sheen = ctx.createRadialGradient(200, 150, 10, 200, 190, 200);
        sheen.addColorStop(0, "rgba(255, 255, 255, 0.07)");
        sheen.addColorStop(1, "rgba(255, 255, 255, 0)");
        ctx.fillStyle = sheen;
        ctx.fill();
        ctx.lineWidth = 1.5;
        ctx.strokeStyle = "#48484f";
        ctx.stroke();

        // The light strip round the back.
        ctx.save();
        MouseArt.trace(ctx, outline);
        ctx.clip();
        var strip = ctx.createLinearGradient(0, 380, 0, 442);
        strip.addColorStop(0, "rgba(207, 61, 0, 0)");
        strip.addColorStop(0.75, "rgba(207, 61, 0, 0.55)");
        strip.addColorStop(1, "rgba(255, 102, 26, 0.9)");
        ctx.fillStyle = strip;
        ctx.fillRect(90, 380, 220, 70);
        ctx.restore();

        // Grooves along the spine, the wheel's slot, and the chevron.
        ctx.strokeStyle = "#0a0a0b";
        ctx.lineWidth = 2;
        ctx.beginPath();
        ctx.moveTo(200, 190);
        ctx.lineTo(200, 214);
        ctx.stroke();
        MouseArt.trace(ctx, MouseArt.roundRect(187, 48, 26, 134, 11));
        ctx.fillStyle = "#08080a";
        ctx.fill();
        ctx.beginPath();
        ctx.moveTo(176, 318);
        ctx.lineTo(200, 340);
        ctx.lineTo(224, 318);
        ctx.lineWidth = 5;
        ctx.lineCap = "round";
        ctx.lineJoin = "round";
        ctx.strokeStyle = String(Theme.colorOrange);
        ctx.stroke();
        ctx.lineCap = "butt";
    }

    function paintPart(ctx, part)
    {
        var lit = isLit(part.index);
        var b = part.bounds;
        ctx.save();
        if (lit) {
            ctx.shadowColor = part.index === selectKey ? "rgba(255, 90, 13, 0.9)" : "rgba(255, 90, 13, 0.6)";
            ctx.shadowBlur = 18;
        }
        MouseArt.trace(ctx, part.shape);
        var face = ctx.createLinearGradient(0, b.y, 0, b.y + b.height);
        if (part.kind === "wheel") {
            face = ctx.createLinearGradient(b.x, 0, b.x + b.width, 0);
            face.addColorStop(0, "#1d1d20");
            face.addColorStop(0.5, "#5a5a62");
            face.addColorStop(1, "#1d1d20");
        } else if (part.kind === "main") {
            face.addColorStop(0, "#34343a");
            face.addColorStop(1, "#1f1f23");
        } else {
            face.addColorStop(0, "#3a3a40");
            face.addColorStop(1, "#202024");
        }
        ctx.fillStyle = face;
        ctx.fill();
        ctx.restore();

        if (lit) {
            MouseArt.trace(ctx, part.shape);
            ctx.fillStyle = part.index === selectKey ? "rgba(207, 61, 0, 0.55)" : "rgba(207, 61, 0, 0.35)";
            ctx.fill();
        }
        if (part.kind === "wheel") {
            // The tyre's ribs.
            ctx.strokeStyle = "rgba(0, 0, 0, 0.55)";
            ctx.lineWidth = 1;
            for (var y = b.y + 6; y < b.y + b.height - 4; y += 5) {
                ctx.beginPath();
                ctx.moveTo(b.x + 3, y);
                ctx.lineTo(b.x + b.width - 3, y);
                ctx.stroke();
            }
        }
        MouseArt.trace(ctx, part.shape);
        ctx.lineWidth = lit ? 2 : 1;
        ctx.strokeStyle = lit ? String(Theme.colorOrange) : (part.kind === "fire" ? "#8a2a00" : "#4a4a52");
        ctx.stroke();
    }

    // The tags' lines, drawn over the body so that each visibly ends at its button.
    function paintLeaders(ctx)
    {
        for (var i = 0; i < parts.length; ++i) {
            var p = parts[i];
            var lit = isLit(p.index);
            var line = MouseArt.leader(p);
            ctx.beginPath();
            ctx.moveTo(line[0][0], line[0][1]);
            for (var k = 1; k < line.length; ++k)
                ctx.lineTo(line[k][0], line[k][1]);
            ctx.lineWidth = 1;
            ctx.strokeStyle = lit ? String(Theme.colorOrange) : "rgba(150, 150, 150, 0.8)";
            ctx.stroke();
            ctx.beginPath();
            ctx.arc(p.anchor[0], p.anchor[1], lit ? 3.5 : 2.5, 0, 2 * Math.PI);
            ctx.fillStyle = lit ? String(Theme.colorOrange) : "#d1d1d1";
            ctx.fill();
        }
    }
}
