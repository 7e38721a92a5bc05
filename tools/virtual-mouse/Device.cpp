// The virtual mouse's interfaces and handles over the firmware model, with faults and the transcript.
#include "Device.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace vmouse {

namespace {

constexpr std::size_t kTranscriptCap = 200000; // in-memory records; the oldest go first
constexpr std::size_t kMaxEvents = 1024;

using Clock = std::chrono::steady_clock;

std::string fnOf(const char *fn)
{
    return fn ? fn : "";
}

char *duplicate(const std::string &s)
{
    char *p = static_cast<char *>(std::malloc(s.size() + 1));
    if (p)
        std::memcpy(p, s.c_str(), s.size() + 1);
    return p;
}

wchar_t *duplicateWide(const wchar_t *s)
{
    const std::size_t n = std::wcslen(s) + 1;
    auto *p = static_cast<wchar_t *>(std::malloc(n * sizeof(wchar_t)));
    if (p)
        std::wmemcpy(p, s, n);
    return p;
}

const wchar_t *kSuccess = L"Success";
const wchar_t *kManufacturer = L"Virtual";
const wchar_t *kProduct = L"Virtual Mouse";
const wchar_t *kSerial = L"0001";

} // namespace

Device &Device::instance()
{
    // Never destroyed: the control thread and late hidapi calls during exit may still reach it.
    static Device *device = new Device();
    return *device;
}

Device::Device()
{
    cfg_ = environmentConfig();
    resetLocked();
    // Faults named in the environment hold for the whole run of a preloaded program.
    if (const char *env = std::getenv("VIRTUAL_MOUSE_FAULTS"))
        addFaultsLocked(env);
}

bool Device::addFaultsLocked(const std::string &list)
{
    bool known = true;
    std::stringstream items(list);
    std::string item;
    while (std::getline(items, item, ',')) {
        while (!item.empty() && item.front() == ' ')
            item.erase(item.begin());
        while (!item.empty() && item.back() == ' ')
            item.pop_back();
        if (item.empty())
            continue;
        if (item == "never-answer") {
            neverAnswer_ = true;
        } else if (item == "garbage") {
            garbage_ = true;
        } else if (item == "open-denied") {
            openErrno_ = EACCES;
        } else if (item == "open-busy") {
            openErrno_ = EBUSY;
        } else if (item.rfind("fail:", 0) == 0 && item.size() > 5) {
            faults_.push_back({item.substr(5), Interface::Any, -1});
        } else if (item.rfind("fail-next:", 0) == 0 && item.size() > 10) {
            std::string fn = item.substr(10);
            int count = 1;
            const auto colon = fn.find(':');
            if (colon != std::string::npos) {
                count = std::atoi(fn.c_str() + colon + 1);
                fn.resize(colon);
            }
            if (count < 1 || fn.empty()) {
                known = false;
                continue;
            }
            faults_.push_back({fn, Interface::Any, count});
        } else {
            std::fprintf(stderr, "virtual mouse: unknown fault: %s\n", item.c_str());
            known = false;
        }
    }
    applyFirmwareConfigLocked();
    return known;
}

// --- bookkeeping ---

void Device::startLocked()
{
    if (started_)
        return;
    started_ = true;
    openTranscriptLocked();
    if (!cfg_.controlPath.empty())
        control_.start(cfg_.controlPath, [this](const std::string &line) { controlLine(line); });
    loadStateLocked();
    writeStateLocked();
}

void Device::ensureStarted()
{
    std::lock_guard<std::mutex> lock(mutex_);
    startLocked();
}

// The memory another process left: one process's changes are what the next one reads.
void Device::loadStateLocked()
{
    if (cfg_.statePath.empty())
        return;
    std::ifstream in(cfg_.statePath);
    if (!in)
        return;
    std::stringstream text;
    text << in.rdbuf();
    FirmwareState loaded = firmware_.state();
    if (stateFromJson(text.str(), loaded))
        firmware_.state() = loaded;
    else
        std::fprintf(stderr, "virtual mouse: %s is no state of this mouse; starting from power-on\n",
                     cfg_.statePath.c_str());
}

void Device::applyFirmwareConfigLocked()
{
    firmware_.setProtocol(cfg_.encode, cfg_.scode, cfg_.reportLength);
    firmware_.setNeverAnswer(neverAnswer_);
    firmware_.setGarbageAnswers(garbage_);
}

void Device::resetLocked()
{
    firmware_.reset(cfg_.family);
    neverAnswer_ = false;
    garbage_ = false;
    openErrno_ = 0;
    applyFirmwareConfigLocked();
    plugged_ = cfg_.plugged;
    ++generation_;
    events_.clear();
    faults_.clear();
    transcript_.clear();
    wake_.notify_all();
}

bool Device::faultLocked(const char *fn, Interface where)
{
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->fn != fn || (it->where != Interface::Any && it->where != where))
            continue;
        if (it->remaining > 0 && --it->remaining == 0)
            faults_.erase(it);
        return true;
    }
    return false;
}

Handle *Device::liveLocked(hid_device *dev) const
{
    const auto it = handles_.find(dev);
    return it == handles_.end() ? nullptr : it->second;
}

// A call with a handle that is not open: with the real library that is a use after free (or of
// nothing), so it is never quietly served. Strict mode stops the program right there.
int Device::misuseLocked(std::int64_t t, const char *fn, hid_device *dev)
{
    recordLocked(t, fn, "", "", -1);
    const char *what = !dev                       ? "no handle (NULL)"
                       : handleSpace_.issued(dev) ? "a handle that was already closed"
                                                  : "a pointer that was never a handle";
    std::fprintf(stderr, "virtual mouse: %s called with %s (%p)\n", fn, what, static_cast<void *>(dev));
    if (cfg_.strict)
        std::abort();
    return -1;
}

bool Device::attachedLocked(const Handle *h) const
{
    return plugged_ && h->generation == generation_;
}

// The checks a report or string request passes before it reaches the firmware, in the order the
// real library meets them: an injected fault, a device that has gone, arguments it rejects. False
// with the handle's error text set when one of them stops the request.
bool Device::requestPassesLocked(const char *fn, Handle *h, const wchar_t *faultError, bool argumentsValid)
{
    h->error = kSuccess;
    if (faultLocked(fn, h->iface))
        h->error = faultError;
    else if (!attachedLocked(h))
        h->error = L"Device disconnected";
    else if (!argumentsValid)
        h->error = L"Broken pipe";
    else
        return true;
    return false;
}

void Device::recordLocked(std::int64_t t, const char *fn, const std::string &path, std::string bytes,
                          long ret)
{
    TranscriptRecord r{t, fn, path, std::move(bytes), ret};
    if (transcriptFd_ >= 0) {
        const std::string line = toJsonLine(r) + "\n";
        // One write per line on an append-only file: lines of several processes never interleave.
        if (::write(transcriptFd_, line.data(), line.size()) < 0) {
            // a full disk must not break the program under test
        }
    }
    if (transcript_.size() >= kTranscriptCap)
        transcript_.pop_front();
    transcript_.push_back(std::move(r));
}

void Device::openTranscriptLocked()
{
    if (transcriptFd_ >= 0)
        ::close(transcriptFd_);
    transcriptFd_ = -1;
    if (cfg_.transcriptPath.empty())
        return;
    transcriptFd_ = ::open(cfg_.transcriptPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

std::string Device::stateJsonLocked()
{
    return stateToJson(firmware_.state(), cfg_, plugged_);
}

void Device::writeStateLocked()
{
    if (!started_ || cfg_.statePath.empty())
        return;
    std::string json = stateJsonLocked();
    if (json == lastState_)
        return;
    // Written beside and renamed over, so a reader never sees half a file.
    const std::string tmp = cfg_.statePath + ".tmp";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    json.push_back('\n');
    const bool ok = ::write(fd, json.data(), json.size()) == static_cast<ssize_t>(json.size());
    ::close(fd);
    json.pop_back();
    if (ok && std::rename(tmp.c_str(), cfg_.statePath.c_str()) == 0)
        lastState_ = json;
}

void Device::destroyHandle(Handle *h)
{
    std::free(h->info.path);
    std::free(h->info.serial_number);
    std::free(h->info.manufacturer_string);
    std::free(h->info.product_string);
    delete h;
}

hid_device_info *Device::makeInfo(const std::string &path, Interface iface) const
{
    auto *info = static_cast<hid_device_info *>(std::calloc(1, sizeof(hid_device_info)));
    if (info)
        fillInfo(*info, path, iface);
    return info;
}

void Device::fillInfo(hid_device_info &i, const std::string &path, Interface iface) const
{
    hid_device_info *info = &i;
    info->path = duplicate(path);
    info->vendor_id = cfg_.vid;
    info->product_id = cfg_.pid;
    info->serial_number = duplicateWide(kSerial);
    info->release_number = 0x0100;
    info->manufacturer_string = duplicateWide(kManufacturer);
    info->product_string = duplicateWide(kProduct);
    info->usage_page = iface == Interface::Event ? cfg_.usagePage2 : cfg_.usagePage;
    info->usage = iface == Interface::Event ? cfg_.usage2 : cfg_.usage;
    info->interface_number = iface == Interface::Event ? 1 : 0;
    info->next = nullptr;
    info->bus_type = HID_API_BUS_USB;
}

// --- hidapi calls ---

int Device::init(const char *fn)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto t = nowMs();
    startLocked();
    const int ret = faultLocked(fn, Interface::Any) ? -1 : 0;
    globalError_ = ret == 0 ? kSuccess : L"init failed (injected fault)";
    recordLocked(t, fn, "", "", ret);
    return ret;
}

hid_device_info *Device::enumerate(unsigned short vid, unsigned short pid)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto t = nowMs();
    startLocked();
    hid_device_info *head = nullptr;
    long count = 0;
    if (faultLocked("hid_enumerate", Interface::Any)) {
        globalError_ = L"enumeration failed (injected fault)";
    } else if (plugged_ && (vid == 0 || vid == cfg_.vid) && (pid == 0 || pid == cfg_.pid)) {
        head = makeInfo(cfg_.path, Interface::Command);
        count = head ? 1 : 0;
        if (head && cfg_.eventInterface) {
            head->next = makeInfo(cfg_.path2, Interface::Event);
            count += head->next ? 1 : 0;
        }
        globalError_ = kSuccess;
    } else {
        globalError_ = L"No HID devices found in the system.";
    }
    recordLocked(t, "hid_enumerate", "", "", count);
    return head;
}

void Device::freeEnumeration(hid_device_info *devs)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        recordLocked(nowMs(), "hid_free_enumeration", "", "", 0);
    }
    while (devs) {
        hid_device_info *next = devs->next;
        std::free(devs->path);
        std::free(devs->serial_number);
        std::free(devs->manufacturer_string);
        std::free(devs->product_string);
        std::free(devs);
        devs = next;
    }
}

hid_device *Device::open(const char *fn, const char *path)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto t = nowMs();
    startLocked();
    const std::string p = path ? path : "";
    Interface iface = Interface::Any;
    if (!p.empty() && p == cfg_.path)
        iface = Interface::Command;
    else if (!p.empty() && cfg_.eventInterface && p == cfg_.path2)
        iface = Interface::Event;

    hid_device *dev = nullptr;
    if (faultLocked(fn, iface)) {
        globalError_ = L"open failed (injected fault)";
    } else if (openErrno_ != 0 && iface != Interface::Any && plugged_) {
        globalError_ = openErrno_ == EACCES ? L"Permission denied" : L"Device or resource busy";
    } else if (iface == Interface::Any || !plugged_) {
        globalError_ = L"No such device";
    } else if (!(dev = static_cast<hid_device *>(handleSpace_.next()))) {
        globalError_ = L"Out of handles";
    } else {
        auto *h = new Handle();
        h->path = p;
        h->iface = iface;
        h->generation = generation_;
        fillInfo(h->info, p, iface);
        handles_[dev] = h;
        globalError_ = kSuccess;
    }
    recordLocked(t, fn, p, "", dev ? 1 : 0);
    // Set last: writing the transcript may change errno.
    if (!dev && openErrno_ != 0 && iface != Interface::Any && plugged_)
        errno = openErrno_;
    return dev;
}

// The first listed interface whose ids (and serial number, when given) match exactly: 0 is no
// wildcard here, unlike in hid_enumerate.
hid_device *Device::openIds(unsigned short vid, unsigned short pid, const wchar_t *serial)
{
    std::string path;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (vid == cfg_.vid && pid == cfg_.pid && (!serial || std::wcscmp(serial, kSerial) == 0))
            path = cfg_.path;
    }
    return open("hid_open", path.c_str());
}

int Device::setNonblocking(hid_device *dev, int nonblock)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto t = nowMs();
    Handle *h = liveLocked(dev);
    if (!h)
        return misuseLocked(t, "hid_set_nonblocking", dev);
    int ret = -1;
    h->error = kSuccess;
    if (faultLocked("hid_set_nonblocking", h->iface)) {
        h->error = L"set_nonblocking failed (injected fault)";
    } else {
        h->nonblocking = nonblock != 0;
        ret = 0;
    }
    recordLocked(t, "hid_set_nonblocking", h->path, "", ret);
    return ret;
}

int Device::sendFeature(hid_device *dev, const unsigned char *data, size_t length)
{
    return send("hid_send_feature_report", dev, data, length);
}

// Feature and output reports reach the firmware the same way, apart from which of its entries takes them.
int Device::send(const char *fn, hid_device *dev, const unsigned char *data, size_t length)
{
    const bool feature = std::string(fn) == "hid_send_feature_report";
    std::lock_guard<std::mutex> lock(mutex_);
    const auto t = nowMs();
    Handle *h = liveLocked(dev);
    if (!h)
        return misuseLocked(t, fn, dev);
    const std::string sent = data ? toHex(data, length) : "";
    int ret = -1;
    if (requestPassesLocked(fn, h,
                            feature ? L"send_feature_report failed (injected fault)"
                                    : L"write failed (injected fault)",
                            data && length > 0 && h->iface == Interface::Command)) {
        if (feature)
            firmware_.featureReport(data, length);
        else
            firmware_.outputReport(data, length);
        ret = static_cast<int>(length);
        writeStateLocked();
    }
    recordLocked(t, fn, h->path, sent, ret);
    return ret;
}

int Device::getFeature(const char *fn, hid_device *dev, unsigned char *data, size_t length)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto t = nowMs();
    Handle *h = liveLocked(dev);
    if (!h)
        return misuseLocked(t, fn, dev);
    int ret = -1;
    if (requestPassesLocked(fn, h, L"get_feature_report failed (injected fault)",
                            data && length > 0 && h->iface == Interface::Command && data[0] == 0)) {
        const auto answer = firmware_.answer();
        const std::size_t n = std::min(length, answer.size());
        std::memcpy(data, answer.data(), n);
        ret = static_cast<int>(n);
    }
    recordLocked(t, fn, h->path, ret > 0 ? toHex(data, static_cast<std::size_t>(ret)) : "", ret);
    return ret;
}

int Device::read(const char *fn, hid_device *dev, unsigned char *data, size_t length, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    const auto t = nowMs();
    Handle *h = liveLocked(dev);
    if (!h)
        return misuseLocked(t, fn, dev);
    h->error = kSuccess;
    if (faultLocked(fn, h->iface)) {
        h->error = L"read failed (injected fault)";
        recordLocked(t, fn, h->path, "", -1);
        return -1;
    }
    auto &queue = h->iface == Interface::Event ? events_ : firmware_.input();
    if (fnOf(fn) == "hid_read" && h->nonblocking)
        timeoutMs = 0;

    int ret = -1;
    if (attachedLocked(h) && queue.empty() && timeoutMs != 0) {
        const bool virtualTime = virtualClockLinked();
        int waitMs = timeoutMs;
        bool timeoutIsError = false;
        if (timeoutMs < 0) {
            waitMs = cfg_.blockingReadLimitMs;
            timeoutIsError = true; // a blocking read that never ends would hang the caller
        } else if (virtualTime && h->iface == Interface::Command) {
            // Command data only follows the caller's own request: nothing can come while it waits.
            advanceVirtualClock(static_cast<unsigned>(timeoutMs));
            waitMs = 0;
        } else if (virtualTime) {
            waitMs = std::min(timeoutMs, cfg_.eventWaitCapMs);
        }
        if (waitMs > 0) {
            ++h->waiters;
            wake_.wait_until(lock, Clock::now() + std::chrono::milliseconds(waitMs),
                             [&] { return h->closed || !attachedLocked(h) || !queue.empty(); });
            --h->waiters;
            if (h->closed) {
                // closed by another thread while this one waited
                if (h->waiters == 0)
                    destroyHandle(h);
                recordLocked(t, fn, "", "", -1);
                return -1;
            }
        }
        if (queue.empty() && attachedLocked(h)) {
            ret = timeoutIsError ? -1 : 0;
            if (timeoutIsError)
                h->error = L"read timed out";
        }
    }
    std::string got;
    if (!attachedLocked(h)) {
        h->error = L"Device disconnected";
        ret = -1;
    } else if (!queue.empty()) {
        const std::vector<std::uint8_t> report = std::move(queue.front());
        queue.pop_front();
        const std::size_t n = std::min(length, report.size());
        if (data && n > 0)
            std::memcpy(data, report.data(), n);
        ret = data ? static_cast<int>(n) : -1;
        if (ret > 0)
            got = toHex(data, n);
        else if (ret < 0)
            h->error = L"Bad address";
    } else if (timeoutMs == 0) {
        ret = 0;
    }
    recordLocked(t, fn, h->path, got, ret);
    return ret;
}

int Device::write(hid_device *dev, const unsigned char *data, size_t length)
{
    return send("hid_write", dev, data, length);
}

void Device::close(hid_device *dev)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto t = nowMs();
    if (!dev) {
        recordLocked(t, "hid_close", "", "", 0); // allowed, and does nothing
        return;
    }
    Handle *h = liveLocked(dev);
    if (!h) {
        misuseLocked(t, "hid_close", dev); // closed twice, or never opened
        return;
    }
    handles_.erase(dev);
    recordLocked(t, "hid_close", h->path, "", 0);
    if (h->waiters > 0) {
        h->closed = true; // the last waiter frees it
        wake_.notify_all();
        return;
    }
    destroyHandle(h);
}

const wchar_t *Device::error(hid_device *dev)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto t = nowMs();
    if (!dev) {
        recordLocked(t, "hid_error", "", "", 0);
        return globalError_;
    }
    Handle *h = liveLocked(dev);
    if (!h) {
        misuseLocked(t, "hid_error", dev);
        return L"Not an open handle";
    }
    recordLocked(t, "hid_error", h->path, "", 0);
    return h->error;
}

int Device::getString(const char *fn, hid_device *dev, const wchar_t *text, wchar_t *out, size_t maxlen)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto t = nowMs();
    Handle *h = liveLocked(dev);
    if (!h)
        return misuseLocked(t, fn, dev);
    int ret = -1;
    if (requestPassesLocked(fn, h, L"string request failed (injected fault)", text && out && maxlen > 0)) {
        std::wcsncpy(out, text, maxlen);
        out[maxlen - 1] = L'\0';
        ret = 0;
    }
    recordLocked(t, fn, h->path, "", ret);
    return ret;
}

hid_device_info *Device::deviceInfo(hid_device *dev)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto t = nowMs();
    Handle *h = liveLocked(dev);
    if (!h) {
        misuseLocked(t, "hid_get_device_info", dev);
        return nullptr;
    }
    h->error = kSuccess;
    recordLocked(t, "hid_get_device_info", h->path, "", 1);
    return &h->info;
}

// --- control API ---

Config Device::config()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return cfg_;
}

void Device::configure(const Config &cfg)
{
    std::unique_lock<std::mutex> lock(mutex_);
    const bool controlChanged = cfg.controlPath != cfg_.controlPath;
    cfg_ = cfg;
    cfg_.reportLength = std::clamp(cfg_.reportLength, 1, 1024);
    resetLocked();
    lastState_.clear();
    started_ = true;
    openTranscriptLocked();
    writeStateLocked();
    lock.unlock();
    // The control thread takes the lock for each line, so it is (re)started outside it.
    if (controlChanged || !control_.running()) {
        control_.stop();
        if (!cfg.controlPath.empty())
            control_.start(cfg.controlPath, [this](const std::string &line) { controlLine(line); });
    }
}

void Device::reset()
{
    std::lock_guard<std::mutex> lock(mutex_);
    resetLocked();
    writeStateLocked();
}

FirmwareState Device::state()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return firmware_.state();
}

void Device::setState(const FirmwareState &s)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const int family = firmware_.state().family;
    firmware_.state() = s;
    firmware_.state().family = family; // the family is part of the configuration
    writeStateLocked();
}

std::string Device::stateJson()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return stateJsonLocked();
}

void Device::sendEvent(const std::vector<std::uint8_t> &report, int dpiStage)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!plugged_ || !cfg_.eventInterface)
        return; // nobody could read it
    if (dpiStage >= 0) {
        FirmwareState &s = firmware_.state();
        s.currentDpiStage = static_cast<std::uint8_t>(dpiStage);
        s.dpiStageByK.fill(static_cast<std::uint8_t>(dpiStage));
        writeStateLocked();
    }
    if (events_.size() >= kMaxEvents)
        events_.pop_front();
    events_.push_back(report);
    wake_.notify_all();
}

void Device::setPlugged(bool on)
{
    Config cfg;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (on == plugged_)
            return;
        plugged_ = on;
        if (!on) {
            ++generation_; // every open handle dies with the connection
            firmware_.dropTransfers();
            events_.clear();
        }
        wake_.notify_all();
        writeStateLocked();
        cfg = cfg_;
    }
    // After the change: a program woken by the notice finds the mouse as the notice says.
    announceUdev(on, cfg);
}

bool Device::plugged()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return plugged_;
}

std::size_t Device::pendingEvents()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return events_.size();
}

void Device::addFault(const std::string &fn, int count, Interface where)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (count == 0)
        return;
    faults_.push_back({fn, where, count < 0 ? -1 : count});
}

bool Device::addFaults(const std::string &list)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return addFaultsLocked(list);
}

void Device::clearFaults()
{
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.clear();
    neverAnswer_ = false;
    garbage_ = false;
    openErrno_ = 0;
    applyFirmwareConfigLocked();
}

void Device::setNeverAnswer(bool on)
{
    std::lock_guard<std::mutex> lock(mutex_);
    neverAnswer_ = on;
    applyFirmwareConfigLocked();
}

void Device::setGarbageAnswers(bool on)
{
    std::lock_guard<std::mutex> lock(mutex_);
    garbage_ = on;
    applyFirmwareConfigLocked();
}

void Device::setBlockingReadLimitMs(int ms)
{
    std::lock_guard<std::mutex> lock(mutex_);
    cfg_.blockingReadLimitMs = std::max(0, ms);
}

void Device::setEventWaitCapMs(int ms)
{
    std::lock_guard<std::mutex> lock(mutex_);
    cfg_.eventWaitCapMs = std::max(0, ms);
}

std::vector<TranscriptRecord> Device::transcript(Interface where)
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<TranscriptRecord> out;
    for (const auto &r : transcript_) {
        if (where == Interface::Any || (where == Interface::Command && r.path == cfg_.path) ||
            (where == Interface::Event && r.path == cfg_.path2))
            out.push_back(r);
    }
    return out;
}

void Device::clearTranscript()
{
    std::lock_guard<std::mutex> lock(mutex_);
    transcript_.clear();
}

void Device::setTranscriptPath(const std::string &path)
{
    std::lock_guard<std::mutex> lock(mutex_);
    cfg_.transcriptPath = path;
    openTranscriptLocked();
}

void Device::controlLine(const std::string &raw)
{
    std::string line = raw;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    std::istringstream in(line);
    std::string word;
    in >> word;
    if (word == "unplug") {
        setPlugged(false);
    } else if (word == "plug") {
        setPlugged(true);
    } else if (word == "dpi") {
        int stage = -1;
        std::string rest;
        if (in >> stage && !(in >> rest) && stage >= 0 && stage <= 255)
            sendEvent({6, 7, 0, static_cast<std::uint8_t>(stage)}, stage);
        else
            std::fprintf(stderr, "virtual mouse: bad control line: %s\n", line.c_str());
    } else if (word == "event") {
        std::vector<std::uint8_t> report;
        int value = 0;
        while (in >> value && value >= 0 && value <= 255)
            report.push_back(static_cast<std::uint8_t>(value));
        if (!report.empty() && in.eof())
            sendEvent(report, -1);
        else
            std::fprintf(stderr, "virtual mouse: bad control line: %s\n", line.c_str());
    } else if (!word.empty()) {
        std::fprintf(stderr, "virtual mouse: unknown control line: %s\n", line.c_str());
    }
}

} // namespace vmouse
