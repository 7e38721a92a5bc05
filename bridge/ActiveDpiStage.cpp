// The mouse's active DPI stage in either command family.
#include "ActiveDpiStage.h"

#include "Hid_Thread.h"

int ActiveDpiStage::read(Hid_Thread &worker, ProtocolFamily family)
{
    uchar byte1 = 0;
    uchar byte2 = 0;
    if (family == ProtocolFamily::Family560) {
        byte1 = 1;
        worker.hid560_84H_GetCurrentDPI(byte1, byte2);
        return int(byte2);
    }
    worker.hid553_8BH_GetCurrentDPI(byte1);
    return int(byte1);
}

void ActiveDpiStage::set(Hid_Thread &worker, ProtocolFamily family, uchar stage)
{
    if (family == ProtocolFamily::Family560)
        worker.hid560_04H_SetCurrentDPI(stage);
    else
        worker.hid553_0BH_SetCurrentDPI(stage);
}
