// Preloaded in front of the virtual mouse: holds the program at one device request, so a test can act
// at that very moment of its run. KC_HOLD_COMMAND names the command byte (hexadecimal) of the feature
// report to hold, KC_HOLD_DIR a folder: on reaching that request the file "held" appears there, and
// the request goes on once a file "release" exists (or after 60 s, so a test that fails never hangs it).
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

struct hid_device_;
typedef struct hid_device_ hid_device;

typedef int (*SendFeatureReport)(hid_device *, const unsigned char *, size_t);

static int isHeldRequest(const unsigned char *data, size_t length)
{
    const char *command = getenv("KC_HOLD_COMMAND");
    return command && getenv("KC_HOLD_DIR") && data && length > 1 &&
           data[1] == (unsigned char)strtoul(command, NULL, 16);
}

static void hold(void)
{
    char held[4096];
    char release[4096];
    snprintf(held, sizeof held, "%s/held", getenv("KC_HOLD_DIR"));
    snprintf(release, sizeof release, "%s/release", getenv("KC_HOLD_DIR"));
    const int fd = open(held, O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0)
        close(fd);
    for (int i = 0; i < 12000 && access(release, F_OK) != 0; ++i) {
        struct timespec pause = {0, 5 * 1000 * 1000};
        nanosleep(&pause, NULL);
    }
}

int hid_send_feature_report(hid_device *device, const unsigned char *data, size_t length)
{
    static SendFeatureReport next;
    static int heldOnce;
    if (!next)
        next = (SendFeatureReport)dlsym(RTLD_NEXT, "hid_send_feature_report");
    if (!heldOnce && isHeldRequest(data, length)) {
        heldOnce = 1;
        hold();
    }
    return next ? next(device, data, length) : -1;
}
