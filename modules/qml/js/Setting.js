// How a stored setting's text reads: flags written as true/false or 1/0, texts the installation may lack.
.pragma library

function flag(v)
{
    if (typeof v === "boolean" || typeof v === "number")
        return !!v;
    var s = String(v).toLowerCase();
    return s === "true" || s === "1";
}

// A text setting, or `current` when the installation lacks the key.
function textOr(v, current)
{
    return v === undefined || v === null ? current : String(v);
}
