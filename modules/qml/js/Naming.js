// Naming rules for new and renamed macros and profiles.
.pragma library

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

// A macro name becomes a file name: refuse names that are empty, already used, or that would
// leave the macro folder or could not be a file name.
function acceptMacroName(names, name)
{
    var s = String(name);
    if (s === "" || s === "." || s === ".." || /[\/\\\x00-\x1f]/.test(s))
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

// A profile rename is taken only when no profile has that display name yet.
function acceptProfileName(names, name)
{
    return !isNameUsed(names, name);
}
