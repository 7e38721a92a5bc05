// The native messages the application's filter sees: the copy-data message other programs of the
// same user send over the instance socket, laid out the way the filter and its handler expect.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace NativeMessage {

// Event type under which these messages pass through the application's native event filters.
inline const QByteArray eventType()
{
    return QByteArrayLiteral("kestral_native_message");
}

constexpr quint32 CopyData = 0x004A;
constexpr quintptr CopyDataTag = 9487;

// lpData always points at cbDataAvailable bytes followed by a NUL, whatever cbData states.
struct CopyDataStruct
{
    quintptr dwData = 0;
    quint32 cbData = 0;
    const char *lpData = nullptr;
    quint32 cbDataAvailable = 0;
};

struct Message
{
    quint32 message = 0;
    quintptr wParam = 0;
    const void *lParam = nullptr;
};

} // namespace NativeMessage
