// The 9-byte frame of every device command: report ID, command code, six parameters, checksum.
#pragma once

#include <QtGlobal>
#include <cstring>

struct CommandReport
{
    static constexpr int Size = 9;
    static constexpr int ReportIdOffset = 0;
    static constexpr int CodeOffset = 1;
    static constexpr int ParamOffset = 2; // first parameter byte
    static constexpr int ParamCount = 6;
    static constexpr int ChecksumOffset = 8;
    static constexpr int ChecksumSpan = 7;    // the checksum covers the code and the parameters
    static constexpr int ScrambledOffset = 1; // scrambling covers code, parameters and checksum
    static constexpr int ScrambledSize = 8;

    uchar bytes[Size] = {};

    uchar &operator[](int i) { return bytes[i]; }
    const uchar &operator[](int i) const { return bytes[i]; }
    uchar *data() { return bytes; }
    const uchar *data() const { return bytes; }
    void clear() { std::memset(bytes, 0, Size); }
    bool operator==(const CommandReport &o) const { return std::memcmp(bytes, o.bytes, Size) == 0; }
};

static_assert(sizeof(CommandReport) == 9, "a command report is exactly 9 bytes on the wire");
static_assert(CommandReport::ParamOffset + CommandReport::ParamCount == CommandReport::ChecksumOffset);
static_assert(CommandReport::ScrambledOffset + CommandReport::ScrambledSize == CommandReport::Size);
