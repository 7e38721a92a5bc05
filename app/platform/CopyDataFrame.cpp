// Framing of what travels over the instance socket.
#include "CopyDataFrame.h"

#include <QtEndian>

namespace {

void putU32(QByteArray &out, quint32 value)
{
    char raw[4];
    qToBigEndian(value, raw);
    out.append(raw, 4);
}

quint32 getU32(const char *raw)
{
    return qFromBigEndian<quint32>(raw);
}

} // namespace

QByteArray CopyDataFrame::encodeMessage(const QString &message)
{
    const QByteArray text = message.toUtf8();
    QByteArray out;
    putU32(out, InstanceMessage);
    putU32(out, quint32(text.size()));
    out.append(text);
    return out;
}

QByteArray CopyDataFrame::encodeCopyData(quint32 tag, quint32 statedLength, const QByteArray &text)
{
    QByteArray out;
    putU32(out, CopyData);
    putU32(out, quint32(text.size() + 8));
    putU32(out, tag);
    putU32(out, statedLength);
    out.append(text);
    return out;
}

void CopyDataFrame::append(const QByteArray &bytes)
{
    if (!m_failed)
        m_buffer.append(bytes);
}

bool CopyDataFrame::next(Frame &frame)
{
    if (m_failed || m_buffer.size() < 8)
        return false;
    const quint32 kind = getU32(m_buffer.constData());
    const quint32 length = getU32(m_buffer.constData() + 4);
    if ((kind != InstanceMessage && kind != CopyData) || length > MaxPayload ||
        (kind == CopyData && length < 8)) {
        m_failed = true;
        m_buffer.clear();
        return false;
    }
    if (quint64(m_buffer.size()) < 8 + quint64(length))
        return false;

    const char *payload = m_buffer.constData() + 8;
    frame = Frame();
    frame.kind = Kind(kind);
    if (kind == InstanceMessage) {
        frame.message = QString::fromUtf8(payload, qsizetype(length));
    } else {
        frame.tag = getU32(payload);
        frame.stated = getU32(payload + 4);
        frame.text = QByteArray(payload + 8, qsizetype(length - 8));
    }
    m_buffer.remove(0, qsizetype(8 + length));
    if (m_buffer.isEmpty())
        m_buffer = QByteArray(); // gives back the room a large frame took
    return true;
}
