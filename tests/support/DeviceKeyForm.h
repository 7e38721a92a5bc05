// A button's definition as a 553-family mouse takes it, worked out from the pages' form independently
// of the program's encoder, so tests can check both the encoder's output and the files it sends from.
#pragma once

#include <QList>

// The pages' form is {kind, modifier, code, extra}; the answer is in the same order with the device's
// kind and, for a macro, the macro id (slot + 1). Lists shorter than four are padded with zeros.
QList<int> deviceKeyForm(QList<int> pageForm);
