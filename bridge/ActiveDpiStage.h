// The mouse's active DPI stage in either command family, numbered from 1 as the mouse's DPI button
// steps through them. The window and the command line both read and set it through here.
#pragma once

#include "ProtocolFamily.h"

#include <QtGlobal>

class Hid_Thread;

namespace ActiveDpiStage {

// The stage the mouse reports; 0 when it gave no answer.
int read(Hid_Thread &worker, ProtocolFamily family);
void set(Hid_Thread &worker, ProtocolFamily family, uchar stage);

} // namespace ActiveDpiStage
