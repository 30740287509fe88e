#include "sim/keytarget.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

struct FreeReply
{
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_window_t rootWindow(xcb_connection_t* c)
{
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    return screens.rem > 0 ? screens.data->root : XCB_NONE;
}

// The child of the root that window belongs to; XCB_NONE for the root itself
// and for a window that is gone.
xcb_window_t topLevelOf(xcb_connection_t* c, xcb_window_t root, xcb_window_t window)
{
    while (window != XCB_NONE && window != root) {
        const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
        if (!tree)
            return XCB_NONE;
        if (tree->parent == root)
            return window;
        window = tree->parent;
    }
    return XCB_NONE;
}

// On screen and a window of its own (not a menu or tooltip that bypasses
// the stacking of ordinary windows).
bool isPlainShownWindow(xcb_connection_t* c, xcb_window_t window)
{
    const Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && !attributes->override_redirect
           && attributes->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT;
}

xcb_window_t focusedTopLevel(xcb_connection_t* c, xcb_window_t root)
{
    const Reply<xcb_get_input_focus_reply_t> focus(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT)
        return XCB_NONE;
    return topLevelOf(c, root, focus->focus);
}

// The root's children come bottom to top.
xcb_window_t topShownWindow(xcb_connection_t* c, xcb_window_t root, xcb_window_t ignored)
{
    const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree)
        return XCB_NONE;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = xcb_query_tree_children_length(tree.get()) - 1; i >= 0; --i) {
        if (children[i] != ignored && isPlainShownWindow(c, children[i]))
            return children[i];
    }
    return XCB_NONE;
}

}

std::uint32_t focusPhoneWindow(xcb_connection_t* connection, std::uint32_t ignored)
{
    xcb_connection_t* c = connection;
    const xcb_window_t root = rootWindow(c);
    if (root == XCB_NONE)
        return 0;
    const xcb_window_t focused = focusedTopLevel(c, root);
    if (focused != XCB_NONE && focused != ignored)
        return focused;
    const xcb_window_t top = topShownWindow(c, root, ignored);
    if (top == XCB_NONE)
        return 0;
    // Back to following the pointer when the window goes, as before.
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, top, XCB_CURRENT_TIME);
    // A round trip: the server has given the focus before any key is typed.
    const Reply<xcb_get_input_focus_reply_t> done(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    return top;
}
