// Control API of the virtual mouse: a firmware model of both command families behind the hidapi C
// functions. Tests that link kc_virtual_mouse drive it directly; preloaded runs use the environment.
//
// Interfaces: the command interface has path Config::path ("/dev/hidraw-virtual-0" by default), the
// event interface Config::path2 ("/dev/hidraw-virtual-1"). Both stay the same across unplug/plug.
//
// Waiting: a blocking read (hid_read, or hid_read_timeout with -1) that has nothing to return waits for
// real until data arrives, the handle's device is unplugged (then -1), or blockingReadLimitMs passes
// (then -1, "read timed out"). hid_read_timeout with a time-out on the command interface lets the
// time-out pass on the virtual clock when one is linked (no real wait) and returns 0; without a virtual
// clock it waits for real. On the event interface a time-out read always waits for real, at most
// eventWaitCapMs when a virtual clock is linked (so a listener loop stays fast and does not push the
// virtual clock), the whole time-out otherwise; an event, unplug or close wakes it at once.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vmouse {

// Which interface a fault or a transcript filter applies to.
enum class Interface { Any, Command, Event };

struct Config
{
    int family = 553; // 560 selects the 560 command set, any other value the 553 set
    bool encode = false;
    std::string scode = "739105"; // the device's own secrecy code (characters past six are ignored)
    int reportLength = 32;        // data bytes per input/output report (without the report ID)
    std::uint16_t vid = 0x4B43;
    std::uint16_t pid = 0x0001;
    std::uint16_t usagePage = 0xFF00; // command interface
    std::uint16_t usage = 0xFF00;
    std::uint16_t usagePage2 = 0xFF01; // event interface
    std::uint16_t usage2 = 0xFF01;
    bool eventInterface = true; // false: only the command interface exists
    std::string path = "/dev/hidraw-virtual-0";
    std::string path2 = "/dev/hidraw-virtual-1";
    bool plugged = true;            // whether the mouse is attached after configure()
    std::string transcriptPath;     // JSON Lines file, appended to; empty: in memory only
    std::string statePath;          // firmware state as JSON, rewritten after every change; empty: none
    std::string controlPath;        // FIFO read by a background thread; empty: none
    int blockingReadLimitMs = 5000; // real-time bound of a blocking read that gets nothing
    int eventWaitCapMs = 20;        // real wait of an event read when the virtual clock is linked
    // A call with a closed or never-opened handle (a double close, a use after close) is recorded with
    // -1 and reported on stderr; strict also aborts the process there, as the real library would crash.
    bool strict = true;
};

// The firmware's memory. Fields used by one family only stay at their power-on values in the other.
struct FirmwareState
{
    int family = 553;
    // both families
    std::array<std::uint8_t, 4> keyboardOption{};             // 553: bytes 1-4; 560: bytes 1-2 in [0], [1]
    std::array<std::array<std::uint8_t, 128>, 4> keyMatrix{}; // matrices 1-4 at 0-3; 553 fills 64 bytes
    std::array<std::array<std::uint8_t, 128>, 12> macro{};    // macros 1-12 at 0-11
    std::uint8_t reportRate = 1;                              // last rate written (560: by any k)
    std::uint8_t currentDpiStage = 1; // last stage written or switched to (560: by any k)
    // 553 family
    std::uint8_t dpiStageCount = 0;
    std::array<std::uint8_t, 8> dpiCodes{};
    std::uint8_t currentKeyMatrix = 1;
    std::uint8_t ledEffect = 0;
    std::uint8_t ledOption1 = 0;
    std::uint8_t ledOption2 = 0;
    std::array<std::uint8_t, 3> fixLedColor{};
    std::uint8_t ledColorType = 0;
    std::uint8_t ledColorLength = 0; // data bytes of the last colour command
    std::array<std::uint8_t, 24> ledColors{};
    std::array<std::array<std::uint8_t, 3>, 3> gunData{}; // slots 0-2: shots, X, Y
    // 560 family
    std::array<std::uint8_t, 4> reportRateByK{}; // k = 1-4 at 0-3
    std::array<std::uint8_t, 4> dpiStageByK{1, 1, 1, 1};
    std::uint8_t currentProfile = 1;
    std::array<std::array<std::uint8_t, 128>, 5> profileBlock{};
    // what the firmware saw
    int commands = 0;    // requests accepted
    int rejected = 0;    // requests dropped: bad checksum, unknown command or out-of-range number
    int strayWrites = 0; // output reports that no command expected
};

struct TranscriptRecord
{
    std::int64_t tMs = 0; // when the call started
    std::string fn;
    std::string path;
    std::string bytes; // lowercase hex without spaces
    long ret = 0;
};

// --- configuration and state ---
Config configFromEnvironment(); // the VIRTUAL_MOUSE_* variables over the defaults above
Config config();
void configure(const Config &cfg); // applies cfg and then reset()
// Power-on firmware state, no pending data or events, no faults, empty transcript; handles opened
// before it are dead (as after an unplug).
void reset();
FirmwareState state();
void setState(const FirmwareState &s); // e.g. preload profile blocks or keyboard options
std::string stateJson();               // the content of the state file

// --- events and plugging ---
void sendEvent(const std::vector<std::uint8_t> &report);   // any bytes, queued on the event interface
void sendDpiEvent(std::uint8_t stage, std::uint8_t x = 0); // switches the stage and reports 6,7,x,stage
void unplug(); // open handles die, opening and enumeration find nothing; memory is kept
void plug();
bool isPlugged();
std::size_t pendingEvents();

// --- fault injection ---
// fn is a hidapi function name ("hid_write", "hid_open_path", ...). A failing call returns -1
// (NULL for hid_open_path, hid_open and hid_enumerate) and does not reach the firmware.
void failNext(const std::string &fn, int count = 1, Interface where = Interface::Any);
void failAlways(const std::string &fn, Interface where = Interface::Any);
void clearFaults();
// Adds faults in the VIRTUAL_MOUSE_FAULTS form: a comma list of "fail:FN", "fail-next:FN[:COUNT]",
// "never-answer", "garbage", "open-denied" and "open-busy" (opening fails with errno EACCES or
// EBUSY); unknown items are skipped. False when any item was unknown.
bool addFaults(const std::string &list);
void setNeverAnswer(bool on);    // bulk data reads on the command interface get nothing
void setGarbageAnswers(bool on); // feature answers and bulk data are replaced by noise
void setBlockingReadLimitMs(int ms);
void setEventWaitCapMs(int ms);

// --- transcript ---
std::vector<TranscriptRecord> transcript();
std::vector<TranscriptRecord> transcript(Interface where); // Any, or only calls on that path
void clearTranscript();
void setTranscriptPath(const std::string &path);   // empty: stop writing a file
std::string toJsonLine(const TranscriptRecord &r); // one line, without the newline

// --- protocol helpers of the firmware (independent of the program's own) ---
std::uint8_t checksum(const std::uint8_t *bytes7); // complement of the 8-bit sum of 7 bytes
// Scramble / unscramble 8 bytes in place with a six-character code (missing characters count as 0).
void scramble(std::uint8_t *block8, const std::string &scode);
void unscramble(std::uint8_t *block8, const std::string &scode);
std::string toHex(const std::uint8_t *data, std::size_t n);
std::vector<std::uint8_t> fromHex(const std::string &hex); // stops at the first non-hex pair

// Milliseconds as the transcript stamps them: the virtual clock when linked, else real time since load.
std::int64_t nowMs();
bool virtualClockLinked();

} // namespace vmouse
