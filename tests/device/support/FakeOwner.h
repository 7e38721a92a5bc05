// An owner for the device worker in tests: a fixed protocol family and gun capability.
#pragma once

#include "HidOwner.h"

class FakeOwner : public HidOwner
{
public:
    explicit FakeOwner(QString family = QStringLiteral("553"), bool gun = false)
        : family(std::move(family)), gun(gun)
    {
    }
    QString icType() const override { return family; }
    bool isGun() const override { return gun; }

    QString family;
    bool gun;
};
