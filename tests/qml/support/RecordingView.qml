// A stand-in for the scene's backend object (ui_View): the current profile, the default profile and
// the global settings in memory, read back as the settings files would (text values), and every call
// recorded in order.
import QtQuick

QtObject {
    id: view

    // key -> value; tests fill them as an installation would.
    property var profile: ({})
    // What the desktop took of the pointer settings, as the backend reports it.
    property var pointerReport: null
    property var defaults: ({})
    property var global: ({})
    property var langStrings: ({})
    property var calls: []
    property bool enabled: true

    function record(fn, args)
    {
        // Pushed in place: a page may call the backend inside a binding, which must not depend on this.
        calls.push({fn: fn, args: Array.prototype.slice.call(args)});
    }

    // The arguments of every call of `fn`, in order.
    function callsOf(fn)
    {
        var out = [];
        for (var i = 0; i < calls.length; ++i) {
            if (calls[i].fn === fn)
                out.push(calls[i].args);
        }
        return out;
    }

    function deviceCalls()
    {
        var out = [];
        for (var i = 0; i < calls.length; ++i) {
            if (calls[i].fn.indexOf("mouse") === 0)
                out.push(calls[i]);
        }
        return out;
    }

    function clearCalls()
    {
        calls = [];
    }

    function stored(value)
    {
        if (value === undefined || value === null)
            return undefined;
        if (Array.isArray(value))
            return value.map(function (v) { return String(v); });
        return String(value);
    }

    function getData(key, isRecovery)
    {
        record("getData", arguments);
        return stored((isRecovery ? defaults : profile)[key]);
    }
    function getDataList(key, isRecovery)
    {
        record("getDataList", arguments);
        var v = stored((isRecovery ? defaults : profile)[key]);
        return v === undefined ? [] : (Array.isArray(v) ? v : [v]);
    }
    function getGlobalData(key)
    {
        record("getGlobalData", arguments);
        return stored(global[key]);
    }
    function setData(key, value)
    {
        record("setData", arguments);
        profile[key] = value;
    }
    function setDataList(key, list)
    {
        record("setDataList", arguments);
        profile[key] = Array.prototype.slice.call(list);
    }
    function setGlobalData(key, value)
    {
        record("setGlobalData", arguments);
        global[key] = value;
    }
    function getLangStrings(group, language)
    {
        record("getLangStrings", arguments);
        return langStrings[group] || [];
    }
    function setEnabled(b)
    {
        record("setEnabled", arguments);
        enabled = b;
    }

    // Name lists by type, kept as the name file keeps them: a one-name list gets the dummy second
    // entry, an empty list is removed, other types are not stored.
    property var nameLists: ({})
    // The answer of the import's file dialog: true picks a file, false cancels.
    property bool chooserAccepts: true

    function getNameList(type)
    {
        record("getNameList", arguments);
        var list = nameLists[Number(type)];
        return list ? list.slice() : [];
    }
    function updataNameList(type, nameList)
    {
        record("updataNameList", arguments);
        var list = Array.prototype.slice.call(nameList).map(String);
        if (list.length === 1)
            list.push("loaderveltis");
        var t = Number(type);
        if (t >= 0 && t <= 3 && t === Math.floor(t)) {
            if (list.length === 0)
                delete nameLists[t];
            else
                nameLists[t] = list;
        }
        return true;
    }
    function loadProfile(profile)
    {
        record("loadProfile", arguments);
        return chooserAccepts;
    }
    // The name (without its suffix) of the file the import's dialog picked.
    property string importedFile: ""
    function importedProfileName() { return importedFile; }
    function saveProfile(profile) { record("saveProfile", arguments); }
    function resetProfile(profile) { record("resetProfile", arguments); }
    function copyProfile(destprofile, srcprofile) { record("copyProfile", arguments); }

    // Gun presets by position ("0" ... "5"), as the preset file holds them; without the file
    // (gunFile false) every read is empty and every save does nothing, as the backend does.
    property var gunData: ({})
    property bool gunFile: true
    function getGunData(name)
    {
        record("getGunData", arguments);
        var v = gunFile ? stored(gunData[String(name)]) : undefined;
        return v === undefined ? [] : (Array.isArray(v) ? v : [v]);
    }
    function mouseSaveGundata(index, src6)
    {
        record("mouseSaveGundata", arguments);
        if (gunFile)
            gunData[String(index)] = Array.prototype.slice.call(src6, 0, 6);
    }
    function mouseSendGundata(gun, values) { record("mouseSendGundata", arguments); }

    // Macro files by name ({steps: ["1,A", ...], repeat: "1"}), kept and refused as the macro
    // store does: a name that could not be a file name in the macro folder, a missing file on save,
    // load, delete or rename, and a rename onto an existing file change nothing. A rename updates the
    // profile's "mouseMacroKey/" entries naming the old macro. The import writes `importedMacro`
    // when chooserAccepts; a chosen file the store refuses (importRefused) writes nothing.
    property var macroFiles: ({})
    property var importedMacro: ({steps: [], repeat: "1"})
    property bool importRefused: false
    function macroNameUsable(name)
    {
        var s = String(name);
        if (s === "" || s === "." || s === ".." || /[\/\\\x00-\x1f\x7f-\x9f]/.test(s))
            return false;
        var bytes = 0;
        for (var i = 0; i < s.length; ++i) {
            var c = s.charCodeAt(i);
            if (c >= 0xd800 && c <= 0xdbff && i + 1 < s.length) {
                bytes += 4;
                ++i;
            } else {
                bytes += c < 0x80 ? 1 : (c < 0x800 ? 2 : 3);
            }
        }
        return bytes + 4 <= 255;
    }
    function macroExists(name)
    {
        return macroNameUsable(name) && macroFiles[String(name)] !== undefined;
    }
    function createMacroIni(name, macroIndex)
    {
        record("createMacroIni", arguments);
        if (!macroNameUsable(name))
            return false;
        macroFiles[String(name)] = {steps: [], repeat: "1"};
        return true;
    }
    function saveMacroIni(name, macros, repeat)
    {
        record("saveMacroIni", arguments);
        if (!macroExists(name))
            return false;
        macroFiles[String(name)] = {steps: Array.prototype.slice.call(macros).map(String), repeat: String(repeat)};
        return true;
    }
    function loadMacroIni(name)
    {
        record("loadMacroIni", arguments);
        if (!macroExists(name))
            return [];
        var m = macroFiles[String(name)];
        return m.steps.map(String).concat([String(m.repeat)]);
    }
    function deleteMacroIni(name)
    {
        record("deleteMacroIni", arguments);
        if (!macroExists(name))
            return false;
        delete macroFiles[String(name)];
        return true;
    }
    function modifyMacroNameUpdateProfile(oldname, newname)
    {
        record("modifyMacroNameUpdateProfile", arguments);
        if (!macroNameUsable(newname) || !macroExists(oldname) || macroFiles[String(newname)] !== undefined)
            return false;
        for (var key in profile) {
            if (key.indexOf("mouseMacroKey/") === 0 && String(profile[key]) === String(oldname))
                profile[key] = String(newname);
        }
        macroFiles[String(newname)] = macroFiles[String(oldname)];
        delete macroFiles[String(oldname)];
        return true;
    }
    function deleteMacroUpdateProfile(macroName) { record("deleteMacroUpdateProfile", arguments); }
    function loadMacroFile(macroFileName)
    {
        record("loadMacroFile", arguments);
        if (!macroNameUsable(macroFileName) || !chooserAccepts)
            return false;
        if (!importRefused)
            macroFiles[String(macroFileName)] = {steps: importedMacro.steps.slice(), repeat: String(importedMacro.repeat)};
        return true;
    }
    function saveMacroFile(macroFileName) { record("saveMacroFile", arguments); }
    function mouseSendMacroData(macroData, macroIndex)
    {
        record("mouseSendMacroData", arguments);
        return true;
    }

    // Button definitions under "mouseKeyMatrix/" + position, read as lists of texts (a missing key
    // reads empty); setting stores the sixteen lists of four as the pages passed them.
    function mouseGetKeydefine(index, isRecovery)
    {
        record("mouseGetKeydefine", arguments);
        var v = stored((isRecovery ? defaults : profile)["mouseKeyMatrix/" + index]);
        return v === undefined ? [] : (Array.isArray(v) ? v : [v]);
    }
    function mouseSetKeyMatrix(src64, isSendData, otherParam)
    {
        record("mouseSetKeyMatrix", arguments);
        for (var n = 0; n < 16; ++n) {
            var def = [];
            for (var i = 4 * n; i < 4 * n + 4; ++i)
                def.push(i < src64.length ? src64[i] : 0);
            profile["mouseKeyMatrix/" + n] = def;
        }
    }
    function mouseSwitchKeyMatrix(indexNo) { record("mouseSwitchKeyMatrix", arguments); }
    function mouseResetKeyMatrix() { record("mouseResetKeyMatrix", arguments); }

    function mouseSetDpi(count, sensorType, values) { record("mouseSetDpi", arguments); }
    function mouseSetReportRate(rate) { record("mouseSetReportRate", arguments); }
    function mouseSetRGBEffect(effect, speed, brightness) { record("mouseSetRGBEffect", arguments); }
    function mouseSetRGBColor(type, values) { record("mouseSetRGBColor", arguments); }
    function mouseSetCursorSpeed(index) { record("mouseSetCursorSpeed", arguments); }
    function mouseSetDoubleClickSpeed(index) { record("mouseSetDoubleClickSpeed", arguments); }
    function mouseSetVerticalScrollLines(lines) { record("mouseSetVerticalScrollLines", arguments); }
}
