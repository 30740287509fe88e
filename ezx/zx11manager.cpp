#include "ezx/zx11manager.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace {
// Source indication of a request made for the user (EWMH: pagers and the
// like), which window managers honour over their focus-stealing rules.
constexpr quint32 kSourceUser = 2;
// _NET_WM_DESKTOP of a window shown on every workspace.
constexpr quint32 kAllDesktops = 0xFFFFFFFF;
// WM_STATE of a minimized window (ICCCM).
constexpr quint32 kIconicState = 3;

xcb_connection_t* connection()
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

template <typename T>
std::unique_ptr<T, decltype(&std::free)> owned(T* reply)
{
    return {reply, &std::free};
}

xcb_window_t rootOf(xcb_connection_t* c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    const auto reply = owned(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The first 32-bit value of a window's property, if it has one of that type.
std::optional<quint32> cardinal(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type)
{
    const auto reply = owned(xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 1), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return std::nullopt;
    return *static_cast<const quint32*>(xcb_get_property_value(reply.get()));
}

void sendToRoot(xcb_connection_t* c, xcb_window_t window, xcb_atom_t type, quint32 d0, quint32 d1, quint32 d2)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    event.data.data32[0] = d0;
    event.data.data32[1] = d1;
    event.data.data32[2] = d2;
    xcb_send_event(c, 0, rootOf(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

// The server's time now. Qt's own last timestamp is the last event it saw,
// older than the user's latest key in another program's window, and a window
// manager refuses an activation dated before that. A property change on a
// window of a connection of its own is stamped by the server; nothing of the
// program's own connection waits for it.
quint32 serverTime()
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    quint32 time = XCB_CURRENT_TIME;
    if (!xcb_connection_has_error(c)) {
        const xcb_window_t w = xcb_generate_id(c);
        const quint32 mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, rootOf(c), 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
        xcb_change_property(c, XCB_PROP_MODE_APPEND, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
        xcb_flush(c);
        while (auto event = owned(xcb_wait_for_event(c))) {
            if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
                time = reinterpret_cast<xcb_property_notify_event_t*>(event.get())->time;
                break;
            }
        }
    }
    xcb_disconnect(c);
    return time;
}
}

namespace zx11manager {

bool running()
{
    xcb_connection_t* c = connection();
    if (!c)
        return false;
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    if (check == XCB_ATOM_NONE)
        return false;
    const std::optional<quint32> wm = cardinal(c, rootOf(c), check, XCB_ATOM_WINDOW);
    return wm && *wm != 0 && cardinal(c, *wm, check, XCB_ATOM_WINDOW) == wm;
}

bool bringToUser(quint32 window)
{
    xcb_connection_t* c = connection();
    if (!c || window == 0 || !running())
        return false;
    const xcb_window_t root = rootOf(c);
    const xcb_atom_t wmDesktop = atom(c, "_NET_WM_DESKTOP");
    const std::optional<quint32> current = cardinal(c, root, atom(c, "_NET_CURRENT_DESKTOP"), XCB_ATOM_CARDINAL);
    const std::optional<quint32> desktop = cardinal(c, window, wmDesktop, XCB_ATOM_CARDINAL);
    if (current && desktop && *desktop != *current && *desktop != kAllDesktops)
        sendToRoot(c, window, wmDesktop, *current, kSourceUser, 0);
    // Mapping a minimized window asks for it back (ICCCM); the activation
    // below does too with most managers, but not with all.
    const xcb_atom_t wmState = atom(c, "WM_STATE");
    if (cardinal(c, window, wmState, wmState) == kIconicState)
        xcb_map_window(c, window);
    sendToRoot(c, window, atom(c, "_NET_ACTIVE_WINDOW"), kSourceUser, serverTime(), 0);
    xcb_flush(c);
    return true;
}

}  // namespace zx11manager
