// Stored name lists: the one-element rule and the profile list's "name + number" entries.
.pragma library

// A stored list never has one element: a one-name list is kept as that name and this entry.
var DUMMY = "loaderveltis";

// The names a stored list means: a two-entry list whose second entry is the dummy is one name.
function readList(stored)
{
    var list = stored ? Array.prototype.slice.call(stored).map(String) : [];
    if (list.length === 2 && list[1] === DUMMY)
        list.pop();
    return list;
}

// Profiles of a stored list: each entry is the display name followed by its number as one digit,
// so the name itself may end in a digit, be empty or hold any character. An entry that does not end
// in a digit is not one the page wrote and is skipped, and so is a second entry with a number
// already listed: both would share one settings file.
function parseProfiles(stored)
{
    var list = readList(stored);
    var out = [];
    var seen = [];
    for (var i = 0; i < list.length; ++i) {
        var e = list[i];
        var last = e.length > 0 ? "0123456789".indexOf(e.charAt(e.length - 1)) : -1;
        if (last < 0 || seen.indexOf(last) >= 0)
            continue;
        seen.push(last);
        out.push({name: e.substring(0, e.length - 1), number: last});
    }
    return out;
}

function isStorableNumber(number)
{
    var n = Number(number);
    return n >= 0 && n <= 9 && n === Math.floor(n);
}

// The list to store for profiles [{name, number}] (a list model's textValue/profileNo also do).
function storeProfiles(profiles)
{
    var src = profiles || [];
    var n = src.length !== undefined ? src.length : src.count;
    var out = [];
    for (var i = 0; i < n; ++i) {
        var p = src.length !== undefined ? src[i] : src.get(i);
        var name = p.name !== undefined ? p.name : p.textValue;
        var number = p.number !== undefined ? p.number : p.profileNo;
        // Only one digit is read back: any other number would come back as another profile.
        if (!isStorableNumber(number))
            continue;
        out.push(String(name) + String(Number(number)));
    }
    return out;
}

// Position of the profile with this number, 0 when none has it.
function positionOf(profiles, number)
{
    for (var i = 0; i < profiles.length; ++i) {
        if (profiles[i].number === Number(number))
            return i;
    }
    return 0;
}
