// The choice of the driver by the installation's family setting.
#include "MouseDriver.h"

#include "MouseDriver553.h"
#include "MouseDriver560.h"

namespace {

bool names560(const QString &icType)
{
    return icType == QLatin1String("560");
}

} // namespace

std::unique_ptr<MouseDriver> MouseDriver::create(const QString &icType, Hid_Thread &worker,
                                                 const MouseCapabilities &capabilities)
{
    if (names560(icType))
        return std::make_unique<MouseDriver560>(worker, capabilities);
    return std::make_unique<MouseDriver553>(worker, capabilities);
}

QString MouseDriver::familyName(const QString &icType)
{
    return names560(icType) ? QStringLiteral("560") : QStringLiteral("553");
}
