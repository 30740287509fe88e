#include "ezx/zx11keyboard.h"

#include "ezx/zx11manager.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {
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
}

namespace zx11keyboard {

void give(quint32 window)
{
    xcb_connection_t* c = connection();
    if (!c || window == 0)
        return;
    // A window that went away meanwhile would only earn an X error.
    const auto attributes = owned(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
    if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
        return;
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
    xcb_flush(c);
}

quint32 holder()
{
    xcb_connection_t* c = connection();
    if (!c)
        return 0;
    const auto focus = owned(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    if (!focus || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT || focus->focus == XCB_WINDOW_NONE)
        return 0;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    return focus->focus == root ? 0 : focus->focus;
}

quint32 topWindow()
{
    xcb_connection_t* c = connection();
    if (!c)
        return 0;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    // A window manager hands the keyboard on by its own rules.
    if (zx11manager::running())
        return 0;
    // The root's children come bottom to top.
    const auto tree = owned(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree)
        return 0;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = xcb_query_tree_children_length(tree.get()) - 1; i >= 0; --i) {
        const auto attributes =
            owned(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr));
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && !attributes->override_redirect
            && attributes->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT)
            return children[i];
    }
    return 0;
}

}  // namespace zx11keyboard
