// What a window manager would know of the X screen, for the end-to-end
// tests on a bare X server (no window manager, as on the phone):
//
//   zk_xwin stack         the mapped top-level windows, bottom to top, one
//                         per line: <id> TAB <pid> TAB <name>
//   zk_xwin focus         the window that has the keyboard, same form (the
//                         top-level window holding the X input focus)
//   zk_xwin managed       the windows a window manager manages, bottom to
//                         top (_NET_CLIENT_LIST_STACKING), same form
//   zk_xwin close <name>  asks the top-level window of that name to close,
//                         as a title bar's close button does
//                         (WM_DELETE_WINDOW); exit 1 when there is none
//
// Names are WM_NAME as the program set it; pid is _NET_WM_PID, 0 if unset.
// Under a window manager the focus is told as the managed window holding it.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {
template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> reply(T* r)
{
    return Reply<T>(r, &std::free);
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    auto r = reply(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name),
                                         nullptr));
    return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::string windowName(xcb_connection_t* c, xcb_window_t w)
{
    auto r = reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr));
    if (!r)
        return {};
    const auto* text = static_cast<const char*>(xcb_get_property_value(r.get()));
    return std::string(text, static_cast<size_t>(xcb_get_property_value_length(r.get())));
}

unsigned windowPid(xcb_connection_t* c, xcb_window_t w)
{
    auto r = reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, w, atom(c, "_NET_WM_PID"), XCB_ATOM_CARDINAL, 0, 1), nullptr));
    if (!r || xcb_get_property_value_length(r.get()) < 4)
        return 0;
    return *static_cast<const uint32_t*>(xcb_get_property_value(r.get()));
}

// Children of the root in stacking order, bottom first.
std::vector<xcb_window_t> topLevels(xcb_connection_t* c, xcb_window_t root)
{
    auto tree = reply(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree)
        return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return {children, children + xcb_query_tree_children_length(tree.get())};
}

bool isMapped(xcb_connection_t* c, xcb_window_t w)
{
    auto attrs = reply(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr));
    return attrs && attrs->map_state == XCB_MAP_STATE_VIEWABLE;
}

void print(xcb_connection_t* c, xcb_window_t w)
{
    std::printf("%u\t%u\t%s\n", w, windowPid(c, w), windowName(c, w).c_str());
}

// A window list property of the root (_NET_CLIENT_LIST...); empty when unset.
std::vector<xcb_window_t> rootList(xcb_connection_t* c, xcb_window_t root, const char* name)
{
    auto r = reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom(c, name), XCB_ATOM_WINDOW, 0, 65536), nullptr));
    if (!r || r->format != 32)
        return {};
    const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(r.get()));
    return {ids, ids + xcb_get_property_value_length(r.get()) / 4};
}

// The top-level window (a child of the root, or a managed window) that
// holds w.
xcb_window_t topLevelOf(xcb_connection_t* c, xcb_window_t root, xcb_window_t w)
{
    const std::vector<xcb_window_t> managed = rootList(c, root, "_NET_CLIENT_LIST");
    while (w != XCB_WINDOW_NONE && w != root) {
        for (xcb_window_t m : managed) {
            if (m == w)
                return w;
        }
        auto tree = reply(xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr));
        if (!tree)
            return XCB_WINDOW_NONE;
        if (tree->parent == root)
            return w;
        w = tree->parent;
    }
    return XCB_WINDOW_NONE;
}
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: zk_xwin stack | managed | focus | close <name>\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "zk_xwin: no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::string command = argv[1];
    int code = 0;
    if (command == "stack") {
        for (xcb_window_t w : topLevels(c, root)) {
            if (isMapped(c, w))
                print(c, w);
        }
    } else if (command == "managed") {
        for (xcb_window_t w : rootList(c, root, "_NET_CLIENT_LIST_STACKING"))
            print(c, w);
    } else if (command == "focus") {
        auto focus = reply(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        const xcb_window_t top = focus ? topLevelOf(c, root, focus->focus) : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
        if (top != XCB_WINDOW_NONE)
            print(c, top);
    } else if (command == "close" && argc == 3) {
        code = 1;
        for (xcb_window_t w : topLevels(c, root)) {
            if (!isMapped(c, w) || windowName(c, w) != argv[2])
                continue;
            xcb_client_message_event_t event{};
            event.response_type = XCB_CLIENT_MESSAGE;
            event.format = 32;
            event.window = w;
            event.type = atom(c, "WM_PROTOCOLS");
            event.data.data32[0] = atom(c, "WM_DELETE_WINDOW");
            event.data.data32[1] = XCB_CURRENT_TIME;
            const xcb_void_cookie_t sent =
                xcb_send_event_checked(c, 0, w, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
            if (xcb_generic_error_t* error = xcb_request_check(c, sent)) {
                std::fprintf(stderr, "zk_xwin: the close was refused (X error %d)\n", error->error_code);
                std::free(error);
                break;
            }
            code = 0;
            break;
        }
    } else {
        std::fprintf(stderr, "usage: zk_xwin stack | managed | focus | close <name>\n");
        code = 2;
    }
    xcb_disconnect(c);
    return code;
}
