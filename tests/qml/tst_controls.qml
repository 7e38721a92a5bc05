// Shared controls that no page of their own exercises yet: the scroll bar and the context menu.
import QtQuick
import QtTest
import "support"
import "../../modules/qml/common"

SceneStub {
    id: scene

    ListView {
        id: list
        x: 10
        y: 10
        width: 100
        height: 100
        model: 50
        clip: true
        delegate: Text {
            required property int index
            text: index
            height: 20
        }
    }
    ScrollBar {
        id: bar
        x: 112
        y: 10
        height: 100
        flickable: list
    }
    ContextMenu {
        id: menu
        model: ["a", "b", "c"]
    }
    DropDownList {
        id: drop
        x: 300
        y: 10
        maximumRows: 3
        disabledIndexes: [1]
        model: ["r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9"]
    }
    RadioBox {
        id: wrapped
        x: 500
        y: 10
        textWidth: 60
        text: "a text too long for one line"
    }

    TestCase {
        name: "Controls"
        when: windowShown

        function test_scrollBarFollowsAndScrolls()
        {
            verify(bar.visible);
            var handle = findChild(bar, "scrollHandle");
            mousePress(handle, 4, 4);
            mouseMove(handle, 4, 30, -1, Qt.LeftButton);
            mouseMove(handle, 4, 54, -1, Qt.LeftButton);
            mouseRelease(handle, 4, 54);
            verify(list.contentY > 300, "scrolled to " + list.contentY);
            list.contentY = 0;
            compare(handle.y, 0);
            mouseClick(bar, 4, 95); // a page down
            compare(list.contentY, 100);
            list.model = 3;
            verify(!bar.visible);
        }

        function test_dropDownRowsLimitedAndDisabled()
        {
            var got = [];
            drop.itemSelected.connect(function (i) { got.push(i); });
            drop.currentIndex = 9;
            mouseClick(drop);
            verify(findChild(drop, "listScrollBar").visible);
            mouseClick(drop, 20, 24 * 3 + 12);  // the last row shown is the chosen one
            compare(got, [9]);
            drop.currentIndex = 0;
            mouseClick(drop);
            mouseClick(drop, 20, 24 * 2 + 12);  // r1 can't be chosen
            verify(drop.isOpen);
            mouseClick(drop, 20, 24 * 3 + 12);
            compare(got, [9, 2]);
            drop.maximumRows = 0;
            mouseClick(drop);
            verify(drop.isOpen && !findChild(drop, "listScrollBar").visible);
            drop.close();
            verify(wrapped.height > 2 * 12 && wrapped.width === 14 + 6 + 60);
        }

        function test_contextMenuStaysInsideAndReports()
        {
            var got = [];
            menu.triggered.connect(function (i) { got.push(i); });
            menu.popup(1000, 630);
            compare(menu.x, scene.width - menu.width);
            compare(menu.y, scene.height - menu.height);
            mouseClick(menu, 20, 1 + 24 + 12);
            compare(got, [1]);
            verify(!menu.visible);
        }
    }
}
