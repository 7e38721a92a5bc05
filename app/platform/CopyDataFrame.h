// Framing of what travels over the instance socket.
//
// Every frame is: kind (4 bytes), payload length (4 bytes), payload; integers big-endian.
//   kind 1    instance message: the payload is UTF-8 text (a second start sends it empty).
//   kind 0x4A copy-data: tag (4 bytes), stated byte length of the text (4 bytes), then the text
//             as UTF-8; the text ends at its first NUL byte or at the end of the payload.
// A payload above MaxPayload bytes, or an unknown kind, makes the stream unusable; the reader
// then reports failure and the connection is dropped.
//
// Limits of the running copy (SingleInstance::Limits):
//   - at most 16 connections at a time; another one pushes out the connection open longest;
//   - each frame must be whole within 3 s of connecting or of the previous frame, else the
//     connection is dropped (an idle connection too);
//   - unfinished frames of all connections together take at most 4 MiB; past that the
//     connection holding most is dropped.
// A copy-data text with tag 9487 whose stated length matches its UTF-8 length is shown as plain
// text in a warning box: one box at a time, up to 8 more waiting (later ones are dropped), each
// cut to its first 300 characters and an ellipsis.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class CopyDataFrame
{
public:
    enum Kind : quint32 { InstanceMessage = 1, CopyData = 0x4A };
    static constexpr quint32 MaxPayload = 1024 * 1024;

    struct Frame
    {
        Kind kind = InstanceMessage;
        QString message;    // instance message
        quint32 tag = 0;    // copy-data
        quint32 stated = 0; // copy-data: the stated byte length
        QByteArray text;    // copy-data: the bytes as sent, NUL-terminated by QByteArray
    };

    static QByteArray encodeMessage(const QString &message);
    static QByteArray encodeCopyData(quint32 tag, quint32 statedLength, const QByteArray &text);

    // Incremental reader for one connection.
    void append(const QByteArray &bytes);
    // Takes the next complete frame; false when none is complete yet or the stream failed.
    bool next(Frame &frame);
    bool failed() const { return m_failed; }
    // Bytes received for the frame not yet complete.
    qsizetype buffered() const { return m_buffer.size(); }

private:
    QByteArray m_buffer;
    bool m_failed = false;
};
