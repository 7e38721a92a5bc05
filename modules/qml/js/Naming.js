// Naming rules for new and renamed macros and profiles.
.pragma library

.import "NameList.js" as NameList

var MAX_MACROS = 100;
var MACRO_PREFIX = "Macro_";
var MAX_PROFILES = 6;
var PROFILE_PREFIX = "profile_";
var PROFILE_NAME_NUMBERS = 12;

function toList(names)
{
    return names ? Array.prototype.slice.call(names).map(String) : [];
}

// prefix + the smallest k below `count` not yet used as a name; prefix + count when all are.
function firstFreeName(names, prefix, count)
{
    var used = toList(names);
    for (var k = 0; k < count; ++k) {
        if (used.indexOf(prefix + k) < 0)
            return prefix + k;
    }
    return prefix + count;
}

function newMacroName(names)
{
    return firstFreeName(names, MACRO_PREFIX, MAX_MACROS);
}

function canAddMacro(names)
{
    return toList(names).length < MAX_MACROS;
}

function isNameUsed(names, name)
{
    return toList(names).indexOf(String(name)) >= 0;
}

// Longest file name most file systems take, in UTF-8 bytes; the macro file adds ".bin".
var MAX_FILE_NAME_BYTES = 255;
var MACRO_FILE_SUFFIX_BYTES = 4;

function utf8Length(s)
{
    var n = 0;
    for (var i = 0; i < s.length; ++i) {
        var c = s.charCodeAt(i);
        if (c >= 0xd800 && c <= 0xdbff && i + 1 < s.length) {
            n += 4;
            ++i;
        } else {
            n += c < 0x80 ? 1 : (c < 0x800 ? 2 : 3);
        }
    }
    return n;
}

// Whether the macro store takes this name as a file name in the macro folder: not empty, not "." or
// "..", no path separator, no control character, not longer than a file name may be. A name it would
// refuse (from a hand-edited name list) is never handed to it.
function isUsableMacroName(name)
{
    if (name === undefined || name === null)
        return false;
    var s = String(name);
    if (s === "" || s === "." || s === ".." || /[\/\\\x00-\x1f\x7f-\x9f]/.test(s))
        return false;
    return utf8Length(s) + MACRO_FILE_SUFFIX_BYTES <= MAX_FILE_NAME_BYTES;
}

// A macro name becomes a file name: refuse names that are empty, already used, or that would
// leave the macro folder or could not be a file name. The name list's dummy entry is refused too:
// stored second of two it would read back as a one-name list and the macro would be lost.
function acceptMacroName(names, name)
{
    var s = String(name);
    if (!isUsableMacroName(s) || s === NameList.DUMMY)
        return false;
    return !isNameUsed(names, s);
}

function newProfileName(names)
{
    return firstFreeName(names, PROFILE_PREFIX, PROFILE_NAME_NUMBERS);
}

// The smallest profile number 0 ... 5 in no use; 6 when all are.
function newProfileNumber(numbers)
{
    var used = numbers ? Array.prototype.slice.call(numbers).map(Number) : [];
    for (var n = 0; n < MAX_PROFILES; ++n) {
        if (used.indexOf(n) < 0)
            return n;
    }
    return MAX_PROFILES;
}

function canAddProfile(count)
{
    return Number(count) < MAX_PROFILES;
}

// Longest display name an imported profile gets from its file's name.
var MAX_IMPORTED_NAME = 40;

// The display name of a profile imported from a file named `fileBase` (its name without the
// suffix): control characters, which a list row cannot show, become "_", and the name is kept short;
// a name another profile has gets " (2)", " (3)" ...; without one the generated name is used.
function importedProfileName(names, fileBase)
{
    var base = fileBase === undefined || fileBase === null ? "" : String(fileBase);
    base = base.replace(/[\x00-\x1f\x7f-\x9f\u2028\u2029]/g, "_").trim();
    if (base.length > MAX_IMPORTED_NAME)
        base = base.substring(0, MAX_IMPORTED_NAME).trim();
    if (base === "")
        return newProfileName(names);
    var name = base;
    for (var k = 2; isNameUsed(names, name); ++k)
        name = base + " (" + k + ")";
    return name;
}

// A profile rename is taken only when no profile has that display name yet.
function acceptProfileName(names, name)
{
    return !isNameUsed(names, name);
}
