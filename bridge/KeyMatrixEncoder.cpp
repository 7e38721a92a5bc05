// Key matrix encoding: kind codes, the special-key rule and the gun matrices.
#include "KeyMatrixEncoder.h"

#include "ListItems.h"

#include <algorithm>

std::array<quint8, 4> KeyMatrixEncoder::deviceEntry(quint8 code0, quint8 code1, quint8 code2, quint8 code3,
                                                    const KeyMatrixDialect &dialect)
{
    quint8 kind = code0;
    switch (code0) {
    case 0:
        kind = (code2 == 0x1E && code3 == 2) ? 10 : 1;
        break;
    case 1:
        kind = 10;
        break;
    case 2:
    case 6:
    case 7:
        kind = 0;
        break;
    case 3:
        kind = 3;
        break;
    case 4:
        kind = 9;
        code2 = static_cast<quint8>(code2 + 1); // macro slot 0 … 11 is macro id 1 … 12
        break;
    case 5:
        if (code2 != 4) {
            kind = 7;
        } else {
            // The sniper function: each family writes it its own way.
            kind = dialect.sniper[0];
            code1 = dialect.sniper[1];
            code2 = dialect.sniper[2];
            code3 = dialect.sniper[3];
        }
        break;
    case 8:
        kind = 8;
        break;
    case 255:
        kind = 4;
        break;
    default:
        break; // 9 … 254 pass unchanged
    }
    // These consumer and key codes are sent as media functions whatever the page called them.
    if (((code2 == 0x21 || code2 == 0x23) && code3 == 2) || (code2 == 0x94 && code3 == 1))
        kind = 3;
    return {kind, code1, code2, code3};
}

namespace {

// The four numbers from `first` on when each is a byte (missing ones read as 0).
std::optional<std::array<quint8, 4>> fourBytes(const QVariantList &list, int first)
{
    std::array<quint8, 4> out{};
    for (int i = 0; i < 4; ++i) {
        const auto v = ListItems::boundedAt(list, first + i, 0, 255);
        if (!v)
            return std::nullopt;
        out[i] = quint8(*v);
    }
    return out;
}

QString listText(const QVariantList &list, int first, int count)
{
    QStringList items;
    for (int i = first; i < first + count && i < list.size(); ++i)
        items << list.at(i).toString();
    return items.join(QStringLiteral(", "));
}

void note(QStringList *held, const QString &text)
{
    if (held)
        held->append(text);
}

} // namespace

KeyMatrix KeyMatrixEncoder::mainMatrix(const QVariantList &src64, const KeyMatrixDialect &dialect,
                                       QStringList *held)
{
    KeyMatrix m{};
    for (int n = 0; n < positions; ++n) {
        const int b = 4 * n;
        const auto codes = fourBytes(src64, b);
        if (!codes) {
            note(held,
                 QStringLiteral("button %1: (%2) are not four numbers from 0 to 255; sent without a function")
                     .arg(n)
                     .arg(listText(src64, b, 4)));
            continue;
        }
        const auto [c0, c1, c2, c3] = *codes;
        if (c0 == macroKind && c2 >= macroSlots) {
            note(held, QStringLiteral("button %1: macro slot %2 is none of the mouse's slots 0 to %3; sent "
                                      "without a macro")
                           .arg(n)
                           .arg(c2)
                           .arg(macroSlots - 1));
            continue;
        }
        const auto e = deviceEntry(c0, c1, c2, c3, dialect);
        for (int i = 0; i < 4; ++i)
            m[b + i] = e[i];
    }
    return m;
}

KeyMatrix KeyMatrixEncoder::templateMatrix(const std::array<QVariantList, positions> &entries,
                                           QStringList *held)
{
    KeyMatrix t{};
    for (int n = 0; n < positions; ++n) {
        const auto codes = fourBytes(entries[n], 0);
        if (!codes) {
            note(held,
                 QStringLiteral("gun template %1: (%2) are not four numbers from 0 to 255; sent as zeros")
                     .arg(n)
                     .arg(listText(entries[n], 0, 4)));
            continue;
        }
        for (int i = 0; i < 4; ++i)
            t[4 * n + i] = (*codes)[i];
    }
    return t;
}

KeyMatrixSet KeyMatrixEncoder::encode(const QVariantList &src64, const QVariantList &otherParam,
                                      const std::array<QVariantList, positions> &templateEntries,
                                      const KeyMatrixDialect &dialect)
{
    KeyMatrixSet set;
    set.main = mainMatrix(src64, dialect, &set.held);
    for (int n = 0; n < positions; ++n)
        if (set.main[4 * n] == gunKind)
            set.hasGunKey = true;
    if (!set.hasGunKey)
        return set;

    const KeyMatrix t = templateMatrix(templateEntries, &set.held);
    set.gun = {t, t, t};

    for (int n = 0; n < positions; ++n) {
        const int b = 4 * n;
        if (set.main[b] != gunKind)
            continue;
        const quint8 v = set.main[b + 2];
        for (KeyMatrix &g : set.gun)
            g[b] = gunKind;
        dialect.markGunKey(set, b, v);
    }

    // Position 0 of each gun matrix carries that gun's header with its fire period.
    for (int m = 0; m < 3; ++m) {
        set.gun[m][0] = 0x0B;
        set.gun[m][1] = static_cast<quint8>(m);
        // A period beyond a byte is the longest one, not what is left of it after cutting.
        bool ok = false;
        const double period = m < otherParam.size() ? otherParam.at(m).toDouble(&ok) : 0.0;
        set.gun[m][2] = ok && period > 0 ? quint8(std::min(period, 255.0)) : 0;
        set.gun[m][3] = 0;
    }
    return set;
}
