// The family and gun capability a device test gives the worker: the protocol driver it chooses.
#pragma once

#include "Hid_Thread.h"
#include "MouseDriver.h"

class TestFamily
{
public:
    explicit TestFamily(QString family = QStringLiteral("553"), bool gun = false)
        : family(std::move(family)), gun(gun)
    {
    }
    void choose(Hid_Thread &hid) const
    {
        hid.setDriver(MouseDriver::create(family, hid, {gun, false, false}));
    }

    QString family;
    bool gun;
};
