// The scene's key-name table: converts keyboard usage codes to the names shown and stored in
// macros, and back. The language's key names replace the built-in ones by position.
import QtQuick
import "../js/KeyNames.js" as KeyNames

QtObject {
    // The language's "keyCode" list; missing or empty entries keep the built-in names.
    property var keyCodeLang: []
    readonly property var names: KeyNames.mergeNames(keyCodeLang)
    readonly property var codes: KeyNames.codes()

    function keycodeTostr(code)
    {
        return KeyNames.keycodeTostr(code, names);
    }

    function strTokeycode(name)
    {
        return KeyNames.strTokeycode(name, names);
    }
}
