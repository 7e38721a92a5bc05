// What the device worker asks of its owner: the protocol family and the gun capability.
#pragma once

#include <QString>

class HidOwner
{
public:
    virtual ~HidOwner() = default;
    // "560" selects the 560 command family, anything else the 553 family.
    virtual QString icType() const = 0;
    // With gun functions the 560 repeated reports stop after the first one.
    virtual bool isGun() const = 0;
};
