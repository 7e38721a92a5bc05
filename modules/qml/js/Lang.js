// Texts of the language lists. A language file older than the program lacks the later entries of a
// list: those come from the page's built-in list (or the one text given), never as "undefined".
.pragma library

// The main texts. 11 on: the questions before an edit is lost or something is reset or deleted, and
// the tips of the picture-only buttons; 24 … 26 the ask menu's "Language" and "Version" and the
// language's own name, which the ask menu lists it by.
var MAIN = ["Editor", "Macro Editor", "Gun Editor", "Report Rate", "Config", "Reset",
    "Reset this profile to its factory settings?", "Cancel", "OK", "System Settings", "Save", "Unsaved changes",
    "Profile “%1” has changes that are not saved. Save them first?", "Discard",
    "This resets profile “%1” (its buttons, DPI, report rate, lighting and pointer settings) and the three gun presets that all profiles share.",
    "Close", "Minimize", "Help", "Back to this button's default function", "Apply and close", "Delete",
    "Delete profile “%1”? It leaves the list.",
    "Delete macro “%1”? Buttons that run it get their default function back.", "",
    "Language", "Version", "English"];

function fallbackAt(fallback, i)
{
    if (fallback === undefined || fallback === null)
        return "";
    if (typeof fallback === "string")
        return fallback;
    var t = fallback[i];
    return t === undefined || t === null ? "" : String(t);
}

// Entry i of `list`, or the fallback's when the list has none.
function text(list, i, fallback)
{
    var t = list ? list[i] : undefined;
    return t === undefined || t === null ? fallbackAt(fallback, i) : String(t);
}

// Main text i of `list` (the window's mainLang); an empty entry counts as none, since older files hold
// some of them empty.
function main(list, i)
{
    var t = text(list, i, "");
    return t !== "" ? t : fallbackAt(MAIN, i);
}

// Each group's texts in `language`, read through the backend `view`, into its target's property named
// after the group: {dpiSetting: page} fills page.dpiSettingLang.
function fill(view, language, targets)
{
    for (var group in targets)
        targets[group][group + "Lang"] = view.getLangStrings(group, language);
}

// A text with its %1 replaced by a name.
function withName(text, name)
{
    return String(text).replace("%1", String(name));
}
