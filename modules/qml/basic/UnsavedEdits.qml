// The pages' unsaved edits: whether there are any, saving and dropping them, and the question asked
// before something would replace them (Save, Discard, Cancel). Each page in `pages` has `isSave`,
// `storeEdits()` (store and send its edits) and `init(false, false)` (show what is stored again).
import QtQuick
import "../common"
import "../js/Lang.js" as Lang

Item {
    id: edits

    property var pages: []
    property var texts: []
    property string profileName
    // Takes the keyboard focus from an input, which commits what is typed there.
    property Item focusItem: null
    readonly property AskDialog question: unsavedAsk
    readonly property bool unsaved: pages.some(function (p) { return p.isSave; })

    // Raised before the question shows and before a save: open lists close.
    signal closeLists
    // The view is locked (false) and freed (true) around a save.
    signal lock(bool isEnable)

    // After a save or a discard `proceed` runs, after Cancel `cancelled`.
    property var afterUnsaved: null
    property var unsavedCancelled: null
    property int lastUnsavedAnswer: -1

    function whenSaved(proceed, cancelled)
    {
        if (!unsaved) {
            if (proceed)
                proceed();
            return;
        }
        closeLists();
        afterUnsaved = proceed || null;
        unsavedCancelled = cancelled || null;
        unsavedAsk.ask(Lang.withName(Lang.main(texts, 12), profileName),
                       [Lang.main(texts, 10), Lang.main(texts, 13), Lang.main(texts, 7)], 2);
    }

    // The question asked for someone waiting on the answer (0 saved, 1 discarded, 2 cancelled), which
    // `answered` is called with. False when nothing is unsaved, so nothing is asked.
    function askFor(answered)
    {
        if (!unsaved)
            return false;
        whenSaved(function () { answered(edits.lastUnsavedAnswer); }, function () { answered(2); });
        return true;
    }

    function answer(index)
    {
        var proceed = afterUnsaved;
        var cancelled = unsavedCancelled;
        afterUnsaved = null;
        unsavedCancelled = null;
        lastUnsavedAnswer = index;
        if (index === 0) {
            saveAll();
        } else if (index === 1) {
            discardAll();
        } else {
            if (cancelled)
                cancelled();
            return;
        }
        if (proceed)
            proceed();
    }

    // The pages show what is stored again.
    function discardAll()
    {
        if (focusItem)
            focusItem.forceActiveFocus();
        for (var i = 0; i < pages.length; ++i) {
            if (pages[i].isSave) {
                pages[i].isSave = false;
                pages[i].init(false, false);
            }
        }
    }

    // Stores and sends the edits of every page that has some.
    function saveAll()
    {
        closeLists();
        // A number still being typed is part of what is saved.
        if (focusItem)
            focusItem.forceActiveFocus();
        var any = unsaved;
        if (any)
            lock(false);
        for (var i = 0; i < pages.length; ++i) {
            if (pages[i].isSave) {
                pages[i].isSave = false;
                pages[i].storeEdits();
            }
        }
        if (any)
            lock(true);
    }

    anchors.fill: parent
    // The question lies over every dialog.
    z: 95

    AskDialog {
        id: unsavedAsk
        objectName: "unsavedAsk"
        title: Lang.main(edits.texts, 11)
        buttonSource: Theme.sourceSureBtn
        buttonHoverSource: Theme.sourceSureBtnH
        closeSource: Theme.sourceCloseBtn
        closeHoverSource: Theme.sourceCloseBtnH
        textColor: Theme.fontColor
        fontSize: Theme.fontNormalSize
        titleSize: Theme.fontMiddleSize
        fontName: Theme.fontFamily
        color: Theme.colorGray0
        borderColor: Theme.colorGray1
        focusBack: edits.focusItem
        onAnswered: function (index) { edits.answer(index); }
    }
}
