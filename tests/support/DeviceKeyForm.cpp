#include "DeviceKeyForm.h"

QList<int> deviceKeyForm(QList<int> c)
{
    c.resize(4);
    int kind = c[0];
    switch (c[0]) {
    case 0:
        kind = c[2] == 0x1E && c[3] == 2 ? 10 : 1;
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
        c[2] += 1;
        break;
    case 5:
        kind = 7;
        if (c[2] == 4)
            c = {5, 0, 4, 1};
        break;
    case 255:
        kind = 4;
        break;
    }
    if (((c[2] == 0x21 || c[2] == 0x23) && c[3] == 2) || (c[2] == 0x94 && c[3] == 1))
        kind = 3;
    return {kind, c[1], c[2], c[3]};
}
