// Answers the device worker's questions about the mouse from the flags the backend read at start.
#pragma once

#include "HidOwner.h"

class myQQuickView;

class ViewHidOwner : public HidOwner
{
public:
    explicit ViewHidOwner(const myQQuickView &view) : view(view) {}

    QString icType() const override;
    bool isGun() const override;

private:
    const myQQuickView &view;
};
