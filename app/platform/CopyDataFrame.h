// Framing of what travels over the instance socket.
//
// Every frame is: kind (4 bytes), payload length (4 bytes), payload; integers big-endian.
//   kind 1    instance message: the payload is UTF-8 text (a second start sends it empty).
//   kind 0x4A copy-data: tag (4 bytes), stated byte length of the text (4 bytes), then the text
//             as UTF-8; the text ends at its first NUL byte or at the end of the payload.
//   kind 0x43 command request, from a command-line copy (kestral-config list, state, ...): argument
//             count (4 bytes), then per argument its UTF-8 length (4 bytes) and bytes: the command
//             and its arguments as typed. At most 8 arguments of at most 256 bytes each.
//   kind 0x41 command accepted, the running copy's answer the moment it takes a request: no payload.
//   kind 0x52 command reply, on the same connection once the command is done: exit code (4 bytes),
//             then standard output and standard error, each as UTF-8 length (4 bytes) and bytes
//             (each cut to 256 KiB); the running copy closes the connection after it.
//             The command line waits 3 s for the acceptance (else it reports the running copy
//             busy, exit code 5) and 120 s for the reply.
// A payload above MaxPayload bytes, an unknown kind or a request beyond its limits makes the stream
// unusable; the reader then reports failure and the connection is dropped.
//
// Limits of the running copy (SingleInstance::Limits):
//   - at most 16 connections at a time; another one pushes out the connection open longest;
//   - each frame must be whole within 3 s of connecting or of the previous frame, else the
//     connection is dropped (an idle connection too);
//   - unfinished frames of all connections together take at most 4 MiB; past that the
//     connection holding most is dropped;
//   - a connection whose command request was accepted waits for its reply without a time limit;
//     it sends nothing more (anything else drops it), and one command runs at a time: a request
//     arriving while another runs is answered at once with the busy exit code.
// The running copy checks a request exactly as the command line checks its own arguments, and
// carries out only the commands the command line has; peers must be the same user.
// A copy-data text with tag 9487 whose stated length matches its UTF-8 length is shown as plain
// text in a warning box: one box at a time, up to 8 more waiting (later ones are dropped), each
// cut to its first 300 characters and an ellipsis.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class CopyDataFrame
{
public:
    enum Kind : quint32 {
        InstanceMessage = 1,
        CopyData = 0x4A,
        CommandRequest = 0x43,
        CommandAccepted = 0x41,
        CommandReply = 0x52
    };
    static constexpr quint32 MaxPayload = 1024 * 1024;
    static constexpr int MaxCommandArguments = 8;
    static constexpr int MaxCommandArgumentBytes = 256;

    struct Frame
    {
        Kind kind = InstanceMessage;
        QString message;       // instance message
        quint32 tag = 0;       // copy-data
        quint32 stated = 0;    // copy-data: the stated byte length
        QByteArray text;       // copy-data: the bytes as sent, NUL-terminated by QByteArray
        QStringList arguments; // command request
        qint32 exitCode = 0;   // command reply
        QString out, err;      // command reply
    };

    static QByteArray encodeMessage(const QString &message);
    static QByteArray encodeCopyData(quint32 tag, quint32 statedLength, const QByteArray &text);
    // Empty when the arguments exceed the request's limits.
    static QByteArray encodeCommandRequest(const QStringList &arguments);
    static QByteArray encodeCommandAccepted();
    static QByteArray encodeCommandReply(int exitCode, const QString &out, const QString &err);

    // Incremental reader for one connection.
    void append(const QByteArray &bytes);
    // Takes the next complete frame; false when none is complete yet or the stream failed.
    bool next(Frame &frame);
    bool failed() const { return m_failed; }
    // Bytes received for the frame not yet complete.
    qsizetype buffered() const { return m_buffer.size(); }

private:
    bool fail();

    QByteArray m_buffer;
    bool m_failed = false;
};
