// The control API of the virtual mouse, its clock, its environment and its JSON output.
#include "Device.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <sstream>

namespace vmouse {

namespace {

const auto kLoadTime = std::chrono::steady_clock::now();

struct VirtualClock
{
    std::int64_t (*now)() = nullptr;
    void (*advance)(unsigned) = nullptr;
};

const VirtualClock &virtualClock()
{
    // Looked up once: the clock is either linked into the process from the start or not at all.
    static const VirtualClock clock = [] {
        VirtualClock c;
        c.now = reinterpret_cast<std::int64_t (*)()>(dlsym(RTLD_DEFAULT, "kc_virtual_clock_ms"));
        c.advance = reinterpret_cast<void (*)(unsigned)>(dlsym(RTLD_DEFAULT, "kc_virtual_clock_advance"));
        if (!c.now || !c.advance)
            c = VirtualClock();
        return c;
    }();
    return clock;
}

bool envText(const char *name, std::string &out)
{
    const char *v = std::getenv(name);
    if (!v || !*v)
        return false;
    out = v;
    return true;
}

// Hexadecimal with or without 0x; anything else leaves the default.
void envHex16(const char *name, std::uint16_t &out)
{
    std::string v;
    if (!envText(name, v))
        return;
    char *end = nullptr;
    const unsigned long n = std::strtoul(v.c_str(), &end, 16);
    if (end && *end == '\0' && n <= 0xFFFF)
        out = static_cast<std::uint16_t>(n);
}

void envInt(const char *name, int &out, int low, int high)
{
    std::string v;
    if (!envText(name, v))
        return;
    char *end = nullptr;
    const long n = std::strtol(v.c_str(), &end, 10);
    if (end && *end == '\0' && n >= low && n <= high)
        out = static_cast<int>(n);
}

void envBool(const char *name, bool &out)
{
    std::string v;
    if (envText(name, v))
        out = v != "0" && v != "false" && v != "no";
}

void jsonString(std::ostringstream &o, const std::string &s)
{
    static const char digits[] = "0123456789abcdef";
    o << '"';
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\')
            o << '\\' << ch;
        else if (c == '\n')
            o << "\\n";
        else if (c < 0x20)
            o << "\\u00" << digits[c >> 4] << digits[c & 15];
        else
            o << ch;
    }
    o << '"';
}

template <std::size_t N> void jsonNumbers(std::ostringstream &o, const std::array<std::uint8_t, N> &a)
{
    o << '[';
    for (std::size_t i = 0; i < N; ++i)
        o << (i ? "," : "") << unsigned(a[i]);
    o << ']';
}

template <std::size_t N, std::size_t M>
void jsonHexList(std::ostringstream &o, const std::array<std::array<std::uint8_t, N>, M> &a)
{
    o << '[';
    for (std::size_t i = 0; i < M; ++i)
        o << (i ? "," : "") << '"' << toHex(a[i].data(), N) << '"';
    o << ']';
}

} // namespace

void advanceVirtualClock(unsigned ms)
{
    if (virtualClock().advance)
        virtualClock().advance(ms);
}

std::int64_t nowMs()
{
    if (virtualClock().now)
        return virtualClock().now();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - kLoadTime)
        .count();
}

bool virtualClockLinked()
{
    return virtualClock().now != nullptr;
}

Config environmentConfig()
{
    Config c;
    std::string v;
    if (envText("VIRTUAL_MOUSE_FAMILY", v))
        c.family = v == "560" ? 560 : 553;
    envBool("VIRTUAL_MOUSE_ENCODE", c.encode);
    envText("VIRTUAL_MOUSE_SCODE", c.scode);
    envInt("VIRTUAL_MOUSE_REPORT_LENGTH", c.reportLength, 1, 1024);
    envHex16("VIRTUAL_MOUSE_VID", c.vid);
    envHex16("VIRTUAL_MOUSE_PID", c.pid);
    envHex16("VIRTUAL_MOUSE_USAGE_PAGE", c.usagePage);
    envHex16("VIRTUAL_MOUSE_USAGE", c.usage);
    envHex16("VIRTUAL_MOUSE_USAGE_PAGE2", c.usagePage2);
    envHex16("VIRTUAL_MOUSE_USAGE2", c.usage2);
    envBool("VIRTUAL_MOUSE_EVENT_INTERFACE", c.eventInterface);
    envText("VIRTUAL_MOUSE_PATH", c.path);
    envText("VIRTUAL_MOUSE_PATH2", c.path2);
    envBool("VIRTUAL_MOUSE_PLUGGED", c.plugged);
    envText("VIRTUAL_MOUSE_TRANSCRIPT", c.transcriptPath);
    envText("VIRTUAL_MOUSE_STATE", c.statePath);
    envText("VIRTUAL_MOUSE_CONTROL", c.controlPath);
    envInt("VIRTUAL_MOUSE_BLOCK_LIMIT_MS", c.blockingReadLimitMs, 0, 3600000);
    envInt("VIRTUAL_MOUSE_EVENT_WAIT_MS", c.eventWaitCapMs, 0, 60000);
    envBool("VIRTUAL_MOUSE_STRICT", c.strict);
    return c;
}

std::string stateToJson(const FirmwareState &s, const Config &cfg, bool plugged)
{
    std::ostringstream o;
    o << "{\"family\":" << s.family << ",\"plugged\":" << (plugged ? "true" : "false")
      << ",\"encode\":" << (cfg.encode ? "true" : "false") << ",\"reportLength\":" << cfg.reportLength;
    o << ",\"reportRate\":" << unsigned(s.reportRate)
      << ",\"currentDpiStage\":" << unsigned(s.currentDpiStage)
      << ",\"dpiStageCount\":" << unsigned(s.dpiStageCount) << ",\"dpiCodes\":";
    jsonNumbers(o, s.dpiCodes);
    o << ",\"currentKeyMatrix\":" << unsigned(s.currentKeyMatrix) << ",\"keyMatrix\":";
    jsonHexList(o, s.keyMatrix);
    o << ",\"macro\":";
    jsonHexList(o, s.macro);
    o << ",\"keyboardOption\":";
    jsonNumbers(o, s.keyboardOption);
    o << ",\"led\":{\"effect\":" << unsigned(s.ledEffect) << ",\"option1\":" << unsigned(s.ledOption1)
      << ",\"option2\":" << unsigned(s.ledOption2) << ",\"fixColor\":";
    jsonNumbers(o, s.fixLedColor);
    o << ",\"colorType\":" << unsigned(s.ledColorType) << ",\"colorLength\":" << unsigned(s.ledColorLength)
      << ",\"colors\":";
    jsonNumbers(o, s.ledColors);
    o << "},\"gunData\":[";
    for (std::size_t i = 0; i < s.gunData.size(); ++i) {
        o << (i ? "," : "");
        jsonNumbers(o, s.gunData[i]);
    }
    o << "],\"reportRateByK\":";
    jsonNumbers(o, s.reportRateByK);
    o << ",\"dpiStageByK\":";
    jsonNumbers(o, s.dpiStageByK);
    o << ",\"currentProfile\":" << unsigned(s.currentProfile) << ",\"profileBlock\":";
    jsonHexList(o, s.profileBlock);
    o << ",\"commands\":" << s.commands << ",\"rejected\":" << s.rejected
      << ",\"strayWrites\":" << s.strayWrites << '}';
    return o.str();
}

namespace {

// The value after "key": in text written by stateToJson (every key there is unique).
const char *jsonValue(const std::string &json, const char *key)
{
    const std::string needle = std::string("\"") + key + "\":";
    const auto at = json.find(needle);
    return at == std::string::npos ? nullptr : json.c_str() + at + needle.size();
}

bool readNumber(const std::string &json, const char *key, int &out)
{
    const char *v = jsonValue(json, key);
    if (!v)
        return false;
    char *end = nullptr;
    const long n = std::strtol(v, &end, 10);
    if (end == v)
        return false;
    out = static_cast<int>(n);
    return true;
}

void readByte(const std::string &json, const char *key, std::uint8_t &out)
{
    int n = 0;
    if (readNumber(json, key, n) && n >= 0 && n <= 255)
        out = static_cast<std::uint8_t>(n);
}

// "[1,2,3]" from v on into a, only when it holds exactly N bytes.
template <std::size_t N> const char *readBytes(const char *v, std::array<std::uint8_t, N> &a)
{
    if (!v || *v != '[')
        return nullptr;
    std::array<std::uint8_t, N> read{};
    ++v;
    for (std::size_t i = 0; i < N; ++i) {
        char *end = nullptr;
        const long n = std::strtol(v, &end, 10);
        if (end == v || n < 0 || n > 255)
            return nullptr;
        read[i] = static_cast<std::uint8_t>(n);
        v = end;
        if (*v != (i + 1 < N ? ',' : ']'))
            return nullptr;
        ++v;
    }
    a = read;
    return v;
}

template <std::size_t N, std::size_t M>
void readHexList(const std::string &json, const char *key, std::array<std::array<std::uint8_t, N>, M> &a)
{
    const char *v = jsonValue(json, key);
    if (!v || *v != '[')
        return;
    std::array<std::array<std::uint8_t, N>, M> read{};
    ++v;
    for (std::size_t i = 0; i < M; ++i) {
        const char *close = *v == '"' ? std::strchr(v + 1, '"') : nullptr;
        if (!close)
            return;
        const std::vector<std::uint8_t> bytes = fromHex(std::string(v + 1, close));
        if (bytes.size() != N)
            return;
        std::copy(bytes.begin(), bytes.end(), read[i].begin());
        v = close + 1;
        if (*v != (i + 1 < M ? ',' : ']'))
            return;
        ++v;
    }
    a = read;
}

} // namespace

bool stateFromJson(const std::string &json, FirmwareState &s)
{
    int family = 0;
    // Memory of the other family would mean nothing to this one.
    if (!readNumber(json, "family", family) || (family == 560) != (s.family == 560))
        return false;
    readByte(json, "reportRate", s.reportRate);
    readByte(json, "currentDpiStage", s.currentDpiStage);
    readByte(json, "dpiStageCount", s.dpiStageCount);
    readBytes(jsonValue(json, "dpiCodes"), s.dpiCodes);
    readByte(json, "currentKeyMatrix", s.currentKeyMatrix);
    readHexList(json, "keyMatrix", s.keyMatrix);
    readHexList(json, "macro", s.macro);
    readBytes(jsonValue(json, "keyboardOption"), s.keyboardOption);
    readByte(json, "effect", s.ledEffect);
    readByte(json, "option1", s.ledOption1);
    readByte(json, "option2", s.ledOption2);
    readBytes(jsonValue(json, "fixColor"), s.fixLedColor);
    readByte(json, "colorType", s.ledColorType);
    readByte(json, "colorLength", s.ledColorLength);
    readBytes(jsonValue(json, "colors"), s.ledColors);
    if (const char *v = jsonValue(json, "gunData"); v && *v == '[') {
        auto guns = s.gunData;
        ++v;
        for (std::size_t i = 0; v && i < guns.size(); ++i) {
            v = readBytes(v, guns[i]);
            if (v && *v == (i + 1 < guns.size() ? ',' : ']'))
                ++v;
            else
                v = nullptr;
        }
        if (v)
            s.gunData = guns;
    }
    readBytes(jsonValue(json, "reportRateByK"), s.reportRateByK);
    readBytes(jsonValue(json, "dpiStageByK"), s.dpiStageByK);
    readByte(json, "currentProfile", s.currentProfile);
    readHexList(json, "profileBlock", s.profileBlock);
    readNumber(json, "commands", s.commands);
    readNumber(json, "rejected", s.rejected);
    readNumber(json, "strayWrites", s.strayWrites);
    return true;
}

std::string toJsonLine(const TranscriptRecord &r)
{
    std::ostringstream o;
    o << "{\"t_ms\":" << r.tMs << ",\"fn\":";
    jsonString(o, r.fn);
    o << ",\"path\":";
    jsonString(o, r.path);
    o << ",\"bytes\":";
    jsonString(o, r.bytes);
    o << ",\"ret\":" << r.ret << '}';
    return o.str();
}

Config configFromEnvironment()
{
    return environmentConfig();
}
Config config()
{
    return Device::instance().config();
}
void configure(const Config &cfg)
{
    Device::instance().configure(cfg);
}
void reset()
{
    Device::instance().reset();
}
FirmwareState state()
{
    return Device::instance().state();
}
void setState(const FirmwareState &s)
{
    Device::instance().setState(s);
}
std::string stateJson()
{
    return Device::instance().stateJson();
}

void sendEvent(const std::vector<std::uint8_t> &report)
{
    Device::instance().sendEvent(report, -1);
}
void sendDpiEvent(std::uint8_t stage, std::uint8_t x)
{
    Device::instance().sendEvent({6, 7, x, stage}, stage);
}
void unplug()
{
    Device::instance().setPlugged(false);
}
void plug()
{
    Device::instance().setPlugged(true);
}
bool isPlugged()
{
    return Device::instance().plugged();
}
std::size_t pendingEvents()
{
    return Device::instance().pendingEvents();
}

void failNext(const std::string &fn, int count, Interface where)
{
    Device::instance().addFault(fn, count < 1 ? 1 : count, where);
}
void failAlways(const std::string &fn, Interface where)
{
    Device::instance().addFault(fn, -1, where);
}
void clearFaults()
{
    Device::instance().clearFaults();
}
bool addFaults(const std::string &list)
{
    return Device::instance().addFaults(list);
}
void setNeverAnswer(bool on)
{
    Device::instance().setNeverAnswer(on);
}
void setGarbageAnswers(bool on)
{
    Device::instance().setGarbageAnswers(on);
}
void setBlockingReadLimitMs(int ms)
{
    Device::instance().setBlockingReadLimitMs(ms);
}
void setEventWaitCapMs(int ms)
{
    Device::instance().setEventWaitCapMs(ms);
}

std::vector<TranscriptRecord> transcript()
{
    return Device::instance().transcript(Interface::Any);
}
std::vector<TranscriptRecord> transcript(Interface where)
{
    return Device::instance().transcript(where);
}
void clearTranscript()
{
    Device::instance().clearTranscript();
}
void setTranscriptPath(const std::string &path)
{
    Device::instance().setTranscriptPath(path);
}

} // namespace vmouse
