/* A plain X11 window with the class, title and process number a journey gives it, shown until the
 * process is ended: kc-class-window INSTANCE CLASS TITLE. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <xcb/xcb.h>

static xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, (uint16_t)strlen(name), name), NULL);
    xcb_atom_t a = r ? r->atom : XCB_NONE;
    free(r);
    return a;
}

int main(int argc, char **argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: %s INSTANCE CLASS TITLE\n", argv[0]);
        return 2;
    }
    xcb_connection_t *c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c))
        return 1;
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_window_t w = xcb_generate_id(c);
    uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_EXPOSURE};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 40, 40, 320, 120, 1,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    /* WM_CLASS: instance and class, each with its terminating NUL. */
    size_t li = strlen(argv[1]), lc = strlen(argv[2]);
    char *cls = malloc(li + lc + 2);
    memcpy(cls, argv[1], li + 1);
    memcpy(cls + li + 1, argv[2], lc + 1);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        (uint32_t)(li + lc + 2), cls);
    free(cls);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        (uint32_t)strlen(argv[3]), argv[3]);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"), 8,
                        (uint32_t)strlen(argv[3]), argv[3]);
    uint32_t pid = (uint32_t)getpid();
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &pid);
    char host[256] = {0};
    gethostname(host, sizeof host - 1);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, 8,
                        (uint32_t)strlen(host), host);
    xcb_map_window(c, w);
    xcb_flush(c);
    xcb_generic_event_t *e;
    while ((e = xcb_wait_for_event(c)))
        free(e);
    xcb_disconnect(c);
    return 0;
}
