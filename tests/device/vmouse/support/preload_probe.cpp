// A small program linked against the system's HID library only; run under tools/with-virtual-mouse it
// must reach the virtual mouse instead. Sends the request given in hex and prints what it found and got.
//   preload_probe REQUEST               one exchange
//   preload_probe REQUEST double-close  the same, then closes its handle a second time
//   preload_probe dlopen                lists devices through dlopen'ed hidapi and through the process
#include <hidapi/hidapi.h>

#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <string>

namespace {

using Enumerate = hid_device_info *(*)(unsigned short, unsigned short);
using FreeEnumeration = void (*)(hid_device_info *);

bool seesVirtualMouse(void *scope)
{
    const auto enumerate = reinterpret_cast<Enumerate>(dlsym(scope, "hid_enumerate"));
    const auto release = reinterpret_cast<FreeEnumeration>(dlsym(scope, "hid_free_enumeration"));
    if (!enumerate || !release)
        return false;
    bool seen = false;
    hid_device_info *devs = enumerate(0, 0);
    for (hid_device_info *d = devs; d; d = d->next)
        seen = seen || std::strstr(d->path, "hidraw-virtual");
    release(devs);
    return seen;
}

int lookups()
{
    void *lib = dlopen("libhidapi-hidraw.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        std::printf("no library\n");
        return 1;
    }
    std::printf("process: %s\n", seesVirtualMouse(RTLD_DEFAULT) ? "virtual" : "real");
    std::printf("dlopen: %s\n", seesVirtualMouse(lib) ? "virtual" : "real");
    dlclose(lib);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string hex = argc > 1 ? argv[1] : "";
    const std::string mode = argc > 2 ? argv[2] : "";
    if (hex == "dlopen")
        return lookups();

    unsigned char req[9] = {0};
    for (std::size_t i = 0; i < 9 && 2 * i + 1 < hex.size(); ++i)
        req[i] = static_cast<unsigned char>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));

    std::string command;
    hid_device_info *devs = hid_enumerate(0, 0);
    for (hid_device_info *d = devs; d; d = d->next) {
        std::printf("found %s %04x %04x %04x %04x\n", d->path, d->vendor_id, d->product_id, d->usage_page,
                    d->usage);
        if (command.empty())
            command = d->path;
    }
    hid_free_enumeration(devs);
    if (command.empty()) {
        std::printf("no device\n");
        return 0;
    }

    hid_device *h = hid_open_path(command.c_str());
    unsigned char ans[9] = {0};
    const int sent = h ? hid_send_feature_report(h, req, sizeof req) : -1;
    const int got = h ? hid_get_feature_report(h, ans, sizeof ans) : -1;
    if (h)
        hid_close(h);
    if (sent != 9 || got != 9) {
        std::printf("answer failed\n");
        return 0;
    }
    std::printf("answer ");
    for (unsigned char b : ans)
        std::printf("%02x", b);
    std::printf("\n");
    std::fflush(stdout);
    if (mode == "double-close") {
        hid_close(h);
        std::printf("closed twice\n");
    }
    return 0;
}
