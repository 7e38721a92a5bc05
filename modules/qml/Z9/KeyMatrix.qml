// The button list: each shown button's number beside its current function, and the definitions of
// all sixteen button positions, the current profile's (modKeys) and the default profile's
// (modKeys_tmp). Hovering and clicking a row are reported (enterBtn, leaveBtn, clickBtn); the main
// window opens the assignment dialog. modKeys.saveData() stores and sends the sixteen definitions.
// Macro renames, deletions and edits are followed here, so no button runs a macro that is gone.
pragma ComponentBehavior: Bound
import QtQuick
import "../common"
import "../js/Lang.js" as Lang
import "../js/KeyAssign.js" as KeyAssign
import "../js/KeyList.js" as KeyList

Item {
    id: page

    property var keyMatrixLang: ["Key ", "Key Function", "", "", ""]
    property bool isSave: false
    property alias modKeys: modKeys
    property alias modKeys_tmp: modKeys_tmp

    // What the main window hands over: the mouse picture's key count and selected button, the
    // assignment dialog's texts, the key-name table, and the gun page (its selectedPeriods()).
    property var keyCount: undefined
    property int selectKey: -1
    property var dialogLang: undefined
    property var keyNames: undefined
    property var guns: null
    readonly property int shownKeys: KeyList.shownKeyCount(keyCount)

    signal enterBtn(int index)
    signal leaveBtn(int index)
    signal clickBtn(int index)
    // Macro `macroName` goes to the mouse's slot `slot` again.
    signal resendMacro(int slot, string macroName)

    width: 232
    height: 300

    function langAt(i)
    {
        return Lang.text(keyMatrixLang, i, "");
    }

    // "Key 1": the language's word (its trailing space dropped) and the button number.
    function rowLabel(n)
    {
        var head = langAt(0).replace(/\s+$/, "");
        return head === "" ? String(n) : head + " " + n;
    }

    // The assignment dialog's texts in the current language; the built-in ones without it.
    function dialogTexts()
    {
        var t = dialogLang;
        return t && t.length ? t : undefined;
    }

    function storedMacroName(slot, isRecovery)
    {
        var v = ui_View.getData(KeyAssign.macroKey(slot), isRecovery === true);
        return v === undefined || v === null ? "" : String(v);
    }

    function textOf(codes, isRecovery)
    {
        return KeyAssign.keyCodeToString(codes[0], codes[1], codes[2], codes[3], dialogTexts(), keyNames,
                                         function (slot) { return page.storedMacroName(slot, isRecovery); });
    }

    function put(model, j, codes, text)
    {
        var element = {keyCode0: codes[0], keyCode1: codes[1], keyCode2: codes[2], keyCode3: codes[3],
                       keyText: text};
        if (j < model.count)
            model.set(j, element);
        else
            model.append(element);
    }

    function codesAt(model, j)
    {
        return j < model.count ? KeyList.readDefinition(model.get(j)) : null;
    }

    // What button j sends: its definition, else the default profile's, else the built-in one.
    function sentCodes(j)
    {
        return codesAt(modKeys, j) || codesAt(modKeys_tmp, j) || KeyList.builtIn(j);
    }

    function init(isSendData, isRecovery)
    {
        var recovery = isRecovery === true;
        for (var j = 0; j < KeyList.BUTTONS; ++j) {
            var cur = KeyList.readDefinition(ui_View.mouseGetKeydefine(j, recovery));
            var def = KeyList.readDefinition(ui_View.mouseGetKeydefine(j, true)) || KeyList.builtIn(j);
            // An unreadable definition is replaced by the default one, named from the default profile.
            var curRecovery = recovery || !cur;
            if (!cur)
                cur = def;
            put(modKeys_tmp, j, def, textOf(def, true));
            put(modKeys, j, cur, textOf(cur, curRecovery));
        }
        // What is shown is what is stored: nothing is unsaved.
        isSave = false;
        if (isSendData)
            modKeys.saveData();
    }

    // The rows' function names in the current language; the definitions and isSave stay. A macro
    // row keeps its macro's name.
    function retranslate()
    {
        var models = [modKeys, modKeys_tmp];
        for (var m = 0; m < models.length; ++m) {
            for (var j = 0; j < models[m].count; ++j) {
                var c = KeyList.readDefinition(models[m].get(j));
                if (c && c[0] !== KeyAssign.MACRO)
                    models[m].setProperty(j, "keyText", textOf(c, m === 1));
            }
        }
    }

    function gunPeriods()
    {
        return guns ? guns.selectedPeriods() : KeyList.gunPeriods(undefined, undefined);
    }

    // The main window's Save: stores and sends what was edited.
    function storeEdits()
    {
        modKeys.saveData();
    }

    function sendAll()
    {
        var codes = [];
        for (var j = 0; j < KeyList.BUTTONS; ++j) {
            var c = sentCodes(j);
            for (var k = 0; k < 4; ++k)
                codes[4 * j + k] = c[k];
        }
        ui_View.mouseSetKeyMatrix(codes, true, gunPeriods());
    }

    // Macro buttons for which accept(name kept for the slot, text shown) holds: [{index, slot}].
    function macroButtons(accept)
    {
        var out = [];
        for (var j = 0; j < modKeys.count; ++j) {
            var c = KeyList.readDefinition(modKeys.get(j));
            if (c && c[0] === KeyAssign.MACRO && accept(storedMacroName(c[2], false), modKeys.get(j).keyText))
                out[out.length] = {index: j, slot: c[2]};
        }
        return out;
    }

    // Buttons running the macro `name`, by the name kept for their slot.
    function buttonsUsingMacro(name)
    {
        var wanted = String(name);
        return macroButtons(function (stored) { return stored === wanted; });
    }

    function macroExists(name)
    {
        var steps = ui_View.loadMacroIni(name);
        return !!steps && steps.length > 0;
    }

    // The macro page deleted `name`: its buttons get their default function back and are sent, then
    // the profiles drop the macro.
    function macroDeleted(name)
    {
        if (name === undefined || name === null || String(name) === "")
            return;
        var users = buttonsUsingMacro(name);
        for (var i = 0; i < users.length; ++i) {
            var j = users[i].index;
            put(modKeys, j, codesAt(modKeys_tmp, j) || KeyList.builtIn(j), modKeys_tmp.get(j).keyText);
        }
        if (users.length > 0)
            modKeys.saveData();
        ui_View.deleteMacroUpdateProfile(String(name));
    }

    // A macro is renamed. The store renames first, unless the macro page has had it do so already;
    // only when the store has the new name do the buttons take it, so a refused rename leaves them
    // running the macro that still exists. Returns whether the rename was made.
    function macroRenamed(oldName, newName)
    {
        var from = oldName === undefined || oldName === null ? "" : String(oldName);
        var to = newName === undefined || newName === null ? "" : String(newName);
        if (from === "" || to === "" || from === to)
            return false;
        // Found before the store rewrites the names kept for the slots; a button whose kept name
        // the store has rewritten already still shows the old one.
        var users = macroButtons(function (stored, text) {
            return stored === from || (stored === to && String(text) === from);
        });
        if (macroExists(from)) {
            var done = ui_View.modifyMacroNameUpdateProfile(from, to);
            if (!(done === true || String(done) === "true"))
                return false;
        } else if (!macroExists(to)) {
            return false;
        }
        for (var i = 0; i < users.length; ++i) {
            ui_View.setData(KeyAssign.macroKey(users[i].slot), to);
            modKeys.setProperty(users[i].index, "keyText", to);
        }
        return true;
    }

    // The steps of `name` changed: every slot that runs it gets it again.
    function macroChanged(name)
    {
        var users = buttonsUsingMacro(name);
        var sent = {};
        for (var i = 0; i < users.length; ++i) {
            if (sent[users[i].slot])
                continue;
            sent[users[i].slot] = true;
            resendMacro(users[i].slot, String(name));
        }
    }

    function fillBuiltIn(model)
    {
        for (var j = 0; j < KeyList.BUTTONS; ++j) {
            var def = KeyList.builtIn(j);
            put(model, j, def, textOf(def, true));
        }
    }

    Component.onCompleted: {
        fillBuiltIn(modKeys);
        fillBuiltIn(modKeys_tmp);
    }

    ListModel {
        id: modKeys

        function saveData()
        {
            page.sendAll();
        }

        // True when the button being edited is the only one left with the left-button function.
        function checkOneLeftKey()
        {
            return KeyAssign.checkOneLeftKey(modKeys, page.selectKey);
        }
    }

    ListModel {
        id: modKeys_tmp
    }

    Rectangle {
        anchors.fill: parent
        color: Theme.colorBlack
        border.color: Theme.colorGray1
    }

    Text {
        id: title
        objectName: "keyMatrixTitle"
        x: 10
        width: page.width - 20
        height: 34
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        text: page.langAt(1)
        color: Theme.fontColor
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontMiddleSize
        font.bold: true
    }

    Rectangle {
        x: 8
        y: 34
        width: page.width - 16
        height: 1
        color: Theme.colorGray1
    }

    Column {
        x: 6
        y: 40
        width: page.width - 12
        spacing: 2

        Repeater {
            model: modKeys
            delegate: Rectangle {
                id: row
                required property int index
                required property string keyText
                readonly property bool selected: index === page.selectKey
                readonly property bool hovered: rowArea.containsMouse

                function point()
                {
                    if (index !== page.selectKey)
                        page.enterBtn(index);
                }

                objectName: "keyRow" + index
                visible: index < page.shownKeys
                width: parent.width
                height: 30
                radius: 2
                color: selected ? Theme.colorOrange : (hovered ? Theme.colorGray1 : Theme.colorGray0)

                Text {
                    objectName: "keyRowLabel" + row.index
                    x: 8
                    width: 62
                    height: row.height
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    text: page.rowLabel(row.index + 1)
                    color: row.selected || row.hovered ? Theme.fontColor : Theme.colorGray3
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontNormalSize
                }
                Text {
                    objectName: "keyRowText" + row.index
                    x: 74
                    width: row.width - x - 8
                    height: row.height
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    text: row.keyText
                    color: Theme.fontColor
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontNormalSize
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onEntered: page.enterBtn(row.index)
                    // Hover entry and exit may come in either order when the pointer jumps between
                    // buttons: only the selected button is left, a move selects its button again,
                    // and a click is always for the button under the pointer.
                    onExited: {
                        if (row.index === page.selectKey)
                            page.leaveBtn(row.index);
                    }
                    onPositionChanged: row.point()
                    onClicked: {
                        row.point();
                        page.clickBtn(row.index);
                    }
                }
            }
        }
    }
}
