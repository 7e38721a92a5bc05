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

constexpr quint32 MaxRequestPayload =
    4 + CopyDataFrame::MaxCommandArguments * (4 + CopyDataFrame::MaxCommandArgumentBytes);
// Each reply text; both together stay well inside MaxPayload.
constexpr qsizetype MaxReplyText = 256 * 1024;

void putText(QByteArray &out, const QString &text)
{
    const QByteArray bytes = text.toUtf8().left(MaxReplyText);
    putU32(out, quint32(bytes.size()));
    out.append(bytes);
}

// A length-prefixed UTF-8 text at `pos` of a payload of `length` bytes; false when it runs past the end
// or past `limit` bytes.
bool takeText(const char *payload, quint32 length, quint32 &pos, quint32 limit, QString &text)
{
    if (length - pos < 4)
        return false;
    const quint32 size = getU32(payload + pos);
    pos += 4;
    if (size > limit || size > length - pos)
        return false;
    text = QString::fromUtf8(payload + pos, qsizetype(size));
    pos += size;
    return true;
}

bool parseRequest(const char *payload, quint32 length, QStringList &arguments)
{
    if (length < 4)
        return false;
    const quint32 count = getU32(payload);
    if (count > quint32(CopyDataFrame::MaxCommandArguments))
        return false;
    quint32 pos = 4;
    for (quint32 i = 0; i < count; ++i) {
        QString argument;
        if (!takeText(payload, length, pos, CopyDataFrame::MaxCommandArgumentBytes, argument))
            return false;
        arguments << argument;
    }
    return pos == length;
}

bool parseReply(const char *payload, quint32 length, CopyDataFrame::Frame &frame)
{
    if (length < 4)
        return false;
    frame.exitCode = qint32(getU32(payload));
    quint32 pos = 4;
    return takeText(payload, length, pos, length, frame.out) &&
           takeText(payload, length, pos, length, frame.err) && pos == length;
}

} // namespace

QByteArray CopyDataFrame::encodeCommandRequest(const QStringList &arguments)
{
    if (arguments.size() > MaxCommandArguments)
        return QByteArray();
    QByteArray payload;
    putU32(payload, quint32(arguments.size()));
    for (const QString &argument : arguments) {
        const QByteArray bytes = argument.toUtf8();
        if (bytes.size() > MaxCommandArgumentBytes)
            return QByteArray();
        putU32(payload, quint32(bytes.size()));
        payload.append(bytes);
    }
    QByteArray out;
    putU32(out, CommandRequest);
    putU32(out, quint32(payload.size()));
    return out + payload;
}

QByteArray CopyDataFrame::encodeCommandAccepted()
{
    QByteArray out;
    putU32(out, CommandAccepted);
    putU32(out, 0);
    return out;
}

QByteArray CopyDataFrame::encodeCommandReply(int exitCode, const QString &out, const QString &err)
{
    QByteArray payload;
    putU32(payload, quint32(exitCode));
    putText(payload, out);
    putText(payload, err);
    QByteArray frame;
    putU32(frame, CommandReply);
    putU32(frame, quint32(payload.size()));
    return frame + payload;
}

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
    const bool known = kind == InstanceMessage || kind == CopyData || kind == CommandRequest ||
                       kind == CommandAccepted || kind == CommandReply;
    // A request is small: one larger than its limits would allow is refused before it is buffered.
    if (!known || length > MaxPayload || (kind == CopyData && length < 8) ||
        (kind == CommandRequest && length > MaxRequestPayload) || (kind == CommandAccepted && length != 0)) {
        return fail();
    }
    if (quint64(m_buffer.size()) < 8 + quint64(length))
        return false;

    const char *payload = m_buffer.constData() + 8;
    frame = Frame();
    frame.kind = Kind(kind);
    if (kind == InstanceMessage) {
        frame.message = QString::fromUtf8(payload, qsizetype(length));
    } else if (kind == CopyData) {
        frame.tag = getU32(payload);
        frame.stated = getU32(payload + 4);
        frame.text = QByteArray(payload + 8, qsizetype(length - 8));
    } else if (kind == CommandRequest) {
        if (!parseRequest(payload, length, frame.arguments))
            return fail();
    } else if (kind == CommandReply) {
        if (!parseReply(payload, length, frame))
            return fail();
    }
    m_buffer.remove(0, qsizetype(8 + length));
    if (m_buffer.isEmpty())
        m_buffer = QByteArray(); // gives back the room a large frame took
    return true;
}

bool CopyDataFrame::fail()
{
    m_failed = true;
    m_buffer.clear();
    return false;
}
