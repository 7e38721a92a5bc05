// Shared helpers of the device tests: a virtual mouse set up for a test, the matching device entry,
// and the transcript reduced to what the comparisons need.
#pragma once

#include "DeviceEntry.h"
#include "VirtualMouse.h"

#include <QStringList>
#include <cstdint>
#include <vector>

class Hid_Thread;

namespace devtest {

struct MouseSetup
{
    int family = 553;
    int reportLength = 32;
    bool encode = false;
    std::string scode = "739105";
};

// Configures the virtual mouse (fresh firmware, empty transcript) and returns the device-table row
// that finds it, with both paths filled in.
DeviceEntry configureMouse(const MouseSetup &setup = {});

// Gives the worker a one-row device list and makes that row current.
void aimAt(Hid_Thread &hid, const DeviceEntry &entry);

// The plain request frame: report ID 0, code, params (bytes 2...), checksum from the mouse's own
// implementation, as lowercase hex.
std::string frameHex(std::uint8_t code, std::vector<std::uint8_t> params = {});
// The same frame as it goes out scrambled with scode.
std::string scrambledFrameHex(std::uint8_t code, std::vector<std::uint8_t> params, const std::string &scode);
// An output report: report ID 0, data, zeros up to reportLength + 1 bytes.
std::string outputReportHex(const std::vector<std::uint8_t> &data, int reportLength);

// The calls that carry data (feature reports, reads, writes) as "t fn bytes ret", t relative to t0.
QStringList exchanges(std::int64_t t0, vmouse::Interface where = vmouse::Interface::Command);
// Every call on the command interface as "fn ret", for the open/close pattern.
QStringList callSequence(vmouse::Interface where = vmouse::Interface::Command);
// Time of the last call on the interface, relative to t0 (the closing of the handle for a command).
std::int64_t lastCallAt(std::int64_t t0, vmouse::Interface where = vmouse::Interface::Command);
// Checks the handles on an interface: never two open at once, and every data call on the open one.
// The command interface is opened once and kept: opened again only after a call on it failed. The
// event interface is the listener's, which opens it afresh for every read. With closed, no handle may
// be left open at the end. Returns an empty string or what is wrong.
QString handleDiscipline(vmouse::Interface where = vmouse::Interface::Command, bool closed = false);

std::vector<std::uint8_t> bytesRange(int count, std::uint8_t first = 1);

} // namespace devtest
