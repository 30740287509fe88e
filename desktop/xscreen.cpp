#include "desktop/xscreen.h"

#include "platform/logline.h"

#include <QSocketNotifier>

#include <xcb/res.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace zk::desktop {

namespace {
template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> reply(T* r)
{
    return Reply<T>(r, &std::free);
}

void say(const QString& text)
{
    logLine(QStringLiteral("zk-desktop: ") + text);
}

// A window list longer than this is no window manager's.
const uint32_t kMaxWindows = 65536;

const char* const kAtomNames[] = {"_NET_CLIENT_LIST", "_NET_CLIENT_LIST_STACKING", "_NET_WM_PID",
                                  "_NET_ACTIVE_WINDOW", "_NET_CLOSE_WINDOW", "_NET_SHOWING_DESKTOP",
                                  "_NET_WM_DESKTOP", "_NET_CURRENT_DESKTOP"};
// The requests come from a pager, which managers obey without the checks
// they apply to programs that want the focus for themselves.
const uint32_t kSourcePager = 2;
const uint32_t kAllDesktops = 0xFFFFFFFF;
}

XScreen::XScreen(QObject* parent)
    : QObject(parent)
{
}

XScreen::~XScreen()
{
    delete m_notifier;
    if (m_c)
        xcb_disconnect(m_c);
}

bool XScreen::open()
{
    int screen = 0;
    m_c = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(m_c)) {
        say(QStringLiteral("no X display (DISPLAY \"%1\"): no window is a task; the registry and the launcher work")
                .arg(qEnvironmentVariable("DISPLAY")));
        xcb_disconnect(m_c);
        m_c = nullptr;
        return false;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_c));
    for (int i = 0; i < screen && it.rem; ++i)
        xcb_screen_next(&it);
    m_root = it.data->root;

    xcb_intern_atom_cookie_t cookies[AtomCount];
    for (int i = 0; i < AtomCount; ++i)
        cookies[i] = xcb_intern_atom(m_c, 0, uint16_t(std::strlen(kAtomNames[i])), kAtomNames[i]);
    for (int i = 0; i < AtomCount; ++i) {
        auto r = reply(xcb_intern_atom_reply(m_c, cookies[i], nullptr));
        m_atoms[i] = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_c, m_root, XCB_CW_EVENT_MASK, &mask);
    const xcb_query_extension_reply_t* res = xcb_get_extension_data(m_c, &xcb_res_id);
    m_serverKnowsPids = res && res->present;
    if (!m_serverKnowsPids)
        say(QStringLiteral("the X server has no X-Resource extension: windows without _NET_WM_PID are no tasks"));
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(m_c), QSocketNotifier::Read);
    connect(m_notifier, &QSocketNotifier::activated, this, &XScreen::readEvents);
    readClientList();
    return true;
}

bool XScreen::connectionLost()
{
    if (m_lost || !m_c || !xcb_connection_has_error(m_c))
        return m_lost || !m_c;
    m_lost = true;
    say(QStringLiteral("the X display went away: no window is a task any more"));
    m_notifier->setEnabled(false);
    m_clients.clear();
    m_known.clear();
    emit clientsChanged();
    return true;
}

void XScreen::readEvents()
{
    bool changed = false;
    // Replies read in between leave events in the queue without the socket
    // saying so: take every queued one before returning to the loop.
    for (;;) {
        xcb_generic_event_t* raw = changed ? xcb_poll_for_queued_event(m_c) : xcb_poll_for_event(m_c);
        if (!raw) {
            if (!changed)
                break;
            readClientList();
            changed = false;
            continue;
        }
        auto event = reply(raw);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            continue;
        const auto* p = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
        m_time = p->time;
        if (p->window == m_root && p->atom == m_atoms[ClientList]) {
            changed = true;
        } else if (p->window != m_root && (p->atom == m_atoms[WmPid] || p->atom == XCB_ATOM_WM_CLIENT_MACHINE)) {
            // A window that said nothing yet says who it is now.
            m_known.remove(p->window);
            changed = true;
        }
    }
    connectionLost();
}

QList<quint32> XScreen::windowList(quint32 window, Atom atom, bool* present)
{
    auto r = reply(xcb_get_property_reply(
        m_c, xcb_get_property(m_c, 0, window, m_atoms[atom], XCB_ATOM_WINDOW, 0, kMaxWindows), nullptr));
    if (present)
        *present = r && r->type == XCB_ATOM_WINDOW && r->format == 32;
    QList<quint32> windows;
    if (!r || r->type != XCB_ATOM_WINDOW || r->format != 32)
        return windows;
    const auto* ids = static_cast<const uint32_t*>(xcb_get_property_value(r.get()));
    const int n = xcb_get_property_value_length(r.get()) / 4;
    for (int i = 0; i < n; ++i)
        windows.append(ids[i]);
    return windows;
}

qint64 XScreen::cardinal(quint32 window, Atom atom)
{
    auto r = reply(xcb_get_property_reply(
        m_c, xcb_get_property(m_c, 0, window, m_atoms[atom], XCB_ATOM_CARDINAL, 0, 1), nullptr));
    if (!r || r->type != XCB_ATOM_CARDINAL || r->format != 32 || xcb_get_property_value_length(r.get()) < 4)
        return -1;
    return *static_cast<const uint32_t*>(xcb_get_property_value(r.get()));
}

void XScreen::readClientList()
{
    if (connectionLost())
        return;
    bool present = false;
    const QList<quint32> ids = windowList(m_root, ClientList, &present);
    if (int(present) != m_listState) {
        say(present ? QStringLiteral("following the window manager's list of windows (_NET_CLIENT_LIST)")
                    : QStringLiteral("the window manager lists no windows (no _NET_CLIENT_LIST): no window is a "
                                     "task; the registry and the launcher work"));
        m_listState = int(present);
    }
    // Ask about every new window at once, then read the answers.
    struct Asked
    {
        quint32 id;
        xcb_get_property_cookie_t pid, machine;
    };
    QList<Asked> asked;
    for (const quint32 id : ids) {
        if (!m_known.contains(id))
            asked.append({id, xcb_get_property(m_c, 0, id, m_atoms[WmPid], XCB_ATOM_CARDINAL, 0, 1),
                          xcb_get_property(m_c, 0, id, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, 0, 256)});
    }
    for (const Asked& a : asked) {
        ClientWindow w;
        w.id = a.id;
        auto pid = reply(xcb_get_property_reply(m_c, a.pid, nullptr));
        if (pid && pid->format == 32 && xcb_get_property_value_length(pid.get()) >= 4)
            w.pid = *static_cast<const uint32_t*>(xcb_get_property_value(pid.get()));
        auto machine = reply(xcb_get_property_reply(m_c, a.machine, nullptr));
        if (machine && machine->format == 8)
            w.machine = QByteArray(static_cast<const char*>(xcb_get_property_value(machine.get())),
                                   xcb_get_property_value_length(machine.get()));
        if (w.pid == 0)
            w.pid = clientPid(a.id);
        if (w.pid == 0 || w.machine.isEmpty()) {
            // Told when it sets them (a program may map first).
            const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
            xcb_change_window_attributes(m_c, a.id, XCB_CW_EVENT_MASK, &mask);
        }
        m_known.insert(a.id, w);
    }
    QList<ClientWindow> clients;
    for (const quint32 id : ids)
        clients.append(m_known.value(id));
    for (auto it = m_known.begin(); it != m_known.end();) {
        if (ids.contains(it.key()))
            ++it;
        else
            it = m_known.erase(it);
    }
    xcb_flush(m_c);
    eventsQueued();
    if (clients != m_clients) {
        m_clients = clients;
        emit clientsChanged();
    }
}

qint64 XScreen::clientPid(quint32 window)
{
    // Programs of the X toolkit (xcalc, xeyes) set no _NET_WM_PID; the
    // server knows the process of a local connection all the same.
    if (!m_serverKnowsPids)
        return 0;
    const xcb_res_client_id_spec_t spec{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    auto r = reply(xcb_res_query_client_ids_reply(m_c, xcb_res_query_client_ids(m_c, 1, &spec), nullptr));
    if (!r)
        return 0;
    for (auto it = xcb_res_query_client_ids_ids_iterator(r.get()); it.rem; xcb_res_client_id_value_next(&it)) {
        if ((it.data->spec.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) && it.data->length >= 4)
            return *xcb_res_client_id_value_value(it.data);
    }
    return 0;
}

QList<quint32> XScreen::stacking()
{
    if (connectionLost())
        return {};
    const QList<quint32> windows = windowList(m_root, ClientListStacking, nullptr);
    eventsQueued();
    return windows;
}

void XScreen::eventsQueued()
{
    // A reply read outside readEvents() may have brought events along into
    // the queue, which the socket no longer announces.
    QMetaObject::invokeMethod(this, &XScreen::readEvents, Qt::QueuedConnection);
}

void XScreen::sendToRoot(quint32 window, Atom type, quint32 d0, quint32 d1, quint32 d2)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = m_atoms[type];
    event.data.data32[0] = d0;
    event.data.data32[1] = d1;
    event.data.data32[2] = d2;
    xcb_send_event(m_c, 0, m_root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&event));
}

void XScreen::activate(quint32 window)
{
    if (connectionLost() || window == 0)
        return;
    // Its workspace first: not every manager goes there on activation.
    const qint64 desktop = cardinal(window, WmDesktop);
    const qint64 current = cardinal(m_root, CurrentDesktop);
    if (desktop >= 0 && current >= 0 && desktop != current && desktop != kAllDesktops)
        sendToRoot(m_root, CurrentDesktop, quint32(desktop), m_time);
    sendToRoot(window, ActiveWindow, kSourcePager, m_time, 0);
    xcb_flush(m_c);
    eventsQueued();
}

void XScreen::close(quint32 window)
{
    if (connectionLost() || window == 0)
        return;
    sendToRoot(window, CloseWindow, m_time, kSourcePager);
    xcb_flush(m_c);
}

void XScreen::showDesktop()
{
    if (connectionLost())
        return;
    sendToRoot(m_root, ShowingDesktop, 1);
    xcb_flush(m_c);
}

}  // namespace zk::desktop
