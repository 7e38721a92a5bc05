// The one virtual mouse of the process: its interfaces, handles, faults, event queue and transcript,
// behind one lock. The hidapi functions and the control API both come through here.
#pragma once

#include "ControlChannel.h"
#include "Firmware.h"
#include "HandleSpace.h"
#include "VirtualMouse.h"

#include <hidapi/hidapi.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace vmouse {

// What an open hid_device stands for. Callers only ever hold its address from HandleSpace.
struct Handle
{
    std::string path;
    Interface iface = Interface::Command;
    std::uint64_t generation = 0; // the plug-in the handle was opened in
    bool nonblocking = false;
    bool closed = false; // closed while another thread still waits in a read
    int waiters = 0;
    const wchar_t *error = L"Success"; // of the handle's last call
    hid_device_info info{};
};

class Device
{
public:
    static Device &instance();

    // hidapi calls; fn is the name the transcript records
    int init(const char *fn);
    hid_device_info *enumerate(unsigned short vid, unsigned short pid);
    void freeEnumeration(hid_device_info *devs);
    hid_device *open(const char *fn, const char *path);
    hid_device *openIds(unsigned short vid, unsigned short pid, const wchar_t *serial);
    int setNonblocking(hid_device *dev, int nonblock);
    int sendFeature(hid_device *dev, const unsigned char *data, size_t length);
    int getFeature(const char *fn, hid_device *dev, unsigned char *data, size_t length);
    int read(const char *fn, hid_device *dev, unsigned char *data, size_t length, int timeoutMs);
    int write(hid_device *dev, const unsigned char *data, size_t length);
    void close(hid_device *dev);
    const wchar_t *error(hid_device *dev);
    int getString(const char *fn, hid_device *dev, const wchar_t *text, wchar_t *out, size_t maxlen);
    hid_device_info *deviceInfo(hid_device *dev);

    // Starts the transcript, the state file and the control FIFO, as the first hidapi call does.
    void ensureStarted();

    // control API
    Config config();
    void configure(const Config &cfg);
    void reset();
    FirmwareState state();
    void setState(const FirmwareState &s);
    std::string stateJson();
    void sendEvent(const std::vector<std::uint8_t> &report, int dpiStage);
    void setPlugged(bool on);
    bool plugged();
    std::size_t pendingEvents();
    void addFault(const std::string &fn, int count, Interface where);
    bool addFaults(const std::string &list);
    void clearFaults();
    void setNeverAnswer(bool on);
    void setGarbageAnswers(bool on);
    void setBlockingReadLimitMs(int ms);
    void setEventWaitCapMs(int ms);
    std::vector<TranscriptRecord> transcript(Interface where);
    void clearTranscript();
    void setTranscriptPath(const std::string &path);
    void controlLine(const std::string &line);

private:
    struct Fault
    {
        std::string fn;
        Interface where;
        int remaining; // -1: every call
    };

    Device();
    int send(const char *fn, hid_device *dev, const unsigned char *data, size_t length);
    void startLocked();
    void resetLocked();
    bool faultLocked(const char *fn, Interface where);
    bool addFaultsLocked(const std::string &list);
    Handle *liveLocked(hid_device *dev) const;
    int misuseLocked(std::int64_t t, const char *fn, hid_device *dev);
    bool attachedLocked(const Handle *h) const;
    bool requestPassesLocked(const char *fn, Handle *h, const wchar_t *faultError, bool argumentsValid);
    void recordLocked(std::int64_t t, const char *fn, const std::string &path, std::string bytes, long ret);
    void openTranscriptLocked();
    void writeStateLocked();
    void loadStateLocked();
    void applyFirmwareConfigLocked();
    hid_device_info *makeInfo(const std::string &path, Interface iface) const;
    void fillInfo(hid_device_info &info, const std::string &path, Interface iface) const;
    static void destroyHandle(Handle *h);
    std::string stateJsonLocked();

    std::mutex mutex_;
    std::condition_variable wake_;
    Config cfg_;
    Firmware firmware_;
    bool started_ = false;
    bool plugged_ = true;
    std::uint64_t generation_ = 1;
    bool neverAnswer_ = false;
    bool garbage_ = false;
    int openErrno_ = 0; // opening fails with this errno, as a node without access or held by another would
    std::deque<std::vector<std::uint8_t>> events_;
    HandleSpace handleSpace_;
    std::unordered_map<const hid_device *, Handle *> handles_; // open ones only
    std::vector<Fault> faults_;
    std::deque<TranscriptRecord> transcript_;
    int transcriptFd_ = -1;
    std::string lastState_;
    const wchar_t *globalError_ = L"Success";
    ControlChannel control_;
};

// Parses the VIRTUAL_MOUSE_* variables over the defaults (faults come from VIRTUAL_MOUSE_FAULTS).
Config environmentConfig();
std::string stateToJson(const FirmwareState &s, const Config &cfg, bool plugged);
// Takes the firmware memory of a state file into s; false (s unchanged) when the file is of the other
// family or no state file at all. Values that do not fit leave the field as it was.
bool stateFromJson(const std::string &json, FirmwareState &s);
// The udev side of a plug or unplug: "add" or "remove" notices for the interfaces, to every udev
// monitor of the process (Udev.cpp).
void announceUdev(bool added, const Config &cfg);
// Moves the linked virtual clock on; does nothing when none is linked.
void advanceVirtualClock(unsigned ms);

} // namespace vmouse
