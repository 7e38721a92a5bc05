// The flags never change after the view's construction, so the listener thread may read them too.
#include "ViewHidOwner.h"

#include "myQQuickView.h"

QString ViewHidOwner::icType() const
{
    return view.icType;
}

bool ViewHidOwner::isGun() const
{
    return view.isGun;
}
