// A clipboard owner for the end-to-end tests, behaving as badly as some real ones do.
//   clipboard_owner silent     takes the clipboard and never answers a request for it
//   clipboard_owner urilist    offers only a list of files (text/uri-list)
//   a second argument "primary" takes the primary selection instead of the clipboard
// Prints "ready" once it owns the clipboard; ends when another program takes it or on a signal.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

static xcb_atom_t intern(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), NULL);
    xcb_atom_t atom = r ? r->atom : XCB_NONE;
    free(r);
    return atom;
}

int main(int argc, char **argv)
{
    const int silent = argc > 1 && strcmp(argv[1], "silent") == 0;
    xcb_connection_t *c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c))
        return 1;
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_window_t w = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      screen->root_visual, 0, NULL);
    const bool primary = argc > 2 && strcmp(argv[2], "primary") == 0;
    const xcb_atom_t clipboard = primary ? xcb_atom_t(XCB_ATOM_PRIMARY) : intern(c, "CLIPBOARD"), targets = intern(c, "TARGETS"),
                     urilist = intern(c, "text/uri-list");
    xcb_set_selection_owner(c, w, clipboard, XCB_CURRENT_TIME);
    xcb_get_selection_owner_reply_t *owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), NULL);
    if (!owner || owner->owner != w)
        return 1;
    free(owner);
    puts("ready");
    fflush(stdout);

    const char files[] = "file:///tmp/report.txt\r\n";
    xcb_generic_event_t *e;
    while ((e = xcb_wait_for_event(c))) {
        const int type = e->response_type & 0x7f;
        if (type == XCB_SELECTION_CLEAR)
            return 0;
        if (type == XCB_SELECTION_REQUEST && !silent) {
            xcb_selection_request_event_t *r = reinterpret_cast<xcb_selection_request_event_t *>(e);
            xcb_selection_notify_event_t n{};
            n.response_type = XCB_SELECTION_NOTIFY;
            n.time = r->time;
            n.requestor = r->requestor;
            n.selection = r->selection;
            n.target = r->target;
            n.property = r->property;
            if (r->target == targets) {
                const xcb_atom_t offered[] = {targets, urilist};
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, r->requestor, r->property, XCB_ATOM_ATOM, 32, 2, offered);
            } else if (r->target == urilist) {
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, r->requestor, r->property, urilist, 8,
                                    uint32_t(sizeof files - 1), files);
            } else {
                n.property = XCB_NONE;
            }
            xcb_send_event(c, 0, r->requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&n));
            xcb_flush(c);
        }
        free(e);
    }
    return 0;
}
