// The two command families of the mouse and how the family setting picks one.
#pragma once

#include <QString>

enum class ProtocolFamily { Family553, Family560 };

// "560" selects the 560 family; any other value, the empty one included, the 553 family.
inline ProtocolFamily protocolFamilyOf(const QString &icType)
{
    return icType == QLatin1String("560") ? ProtocolFamily::Family560 : ProtocolFamily::Family553;
}
