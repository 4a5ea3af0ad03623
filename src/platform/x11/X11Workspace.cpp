// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11Workspace.h"

#include "platform/x11/X11Connection.h"
#include "platform/x11/XcbReply.h"

#include <QGuiApplication>
#include <QList>
#include <QWindow>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xproto.h>

using namespace Qt::StringLiterals;

namespace tessel::x11 {

namespace {
// EWMH source indication "pager": window managers honour it without focus-stealing checks.
constexpr uint32_t kSourcePager = 2;
// How far up the window tree a focused child may sit below its top-level window.
constexpr int kMaxTreeDepth = 16;

bool isOwnWindow(uint32_t window)
{
    const auto windows = QGuiApplication::allWindows();
    for (const QWindow* own : windows) {
        if (own->handle() && own->winId() == window)
            return true;
    }
    return false;
}

QByteArray wmClassOf(uint32_t window)
{
    return X11Connection::property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
}

uint32_t parentOf(xcb_connection_t* c, uint32_t window)
{
    const auto cookie = xcb_query_tree(c, window);
    XcbReply<xcb_query_tree_reply_t> reply(xcb_query_tree_reply(c, cookie, nullptr));
    return reply ? reply->parent : 0;
}
} // namespace

QString X11Workspace::frontmostApplicationId() const
{
    const uint32_t window = X11Connection::activeWindow();
    if (!window)
        return {};
    return applicationIdFromWmClass(wmClassOf(window));
}

void X11Workspace::rememberActiveWindow()
{
    m_remembered = X11Connection::activeWindow();
}

bool X11Workspace::restoreFocus()
{
    auto* c = X11Connection::connection();
    if (!c || !m_remembered)
        return false;
    const uint32_t current = X11Connection::activeWindow();
    if (current == m_remembered || (current && !isOwnWindow(current)))
        return false;

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = m_remembered;
    message.type = X11Connection::atom(QByteArrayLiteral("_NET_ACTIVE_WINDOW"));
    message.data.data32[0] = kSourcePager;
    // Timestamp 0 ("now"): an old timestamp is ignored by some window managers, and Qt does not
    // publish the server time.
    message.data.data32[1] = XCB_CURRENT_TIME;
    message.data.data32[2] = current;
    xcb_send_event(c, 0, X11Connection::rootWindow(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
    return true;
}

QStringList X11Workspace::focusedApplicationIds() const
{
    auto* c = X11Connection::connection();
    if (!c)
        return {};
    const uint32_t root = X11Connection::rootWindow();
    const auto cookie = xcb_get_input_focus(c);
    XcbReply<xcb_get_input_focus_reply_t> reply(xcb_get_input_focus_reply(c, cookie, nullptr));
    uint32_t window = reply ? reply->focus : 0;
    // The focus may sit on a child of the client's top-level window; WM_CLASS is on the latter.
    for (int depth = 0;
         depth < kMaxTreeDepth && window > XCB_INPUT_FOCUS_POINTER_ROOT && window != root;
         ++depth) {
        const QStringList parts = wmClassParts(wmClassOf(window));
        if (!parts.isEmpty())
            return parts;
        window = parentOf(c, window);
    }
    return wmClassParts(wmClassOf(X11Connection::activeWindow()));
}

QStringList X11Workspace::runningApplicationIds() const
{
    const QByteArray list = X11Connection::property(
        X11Connection::rootWindow(), X11Connection::atom(QByteArrayLiteral("_NET_CLIENT_LIST")),
        XCB_ATOM_WINDOW);
    QList<uint32_t> windows(list.size() / qsizetype(sizeof(uint32_t)));
    std::memcpy(windows.data(), list.constData(), windows.size() * sizeof(uint32_t));
    QStringList ids;
    for (const uint32_t window : std::as_const(windows)) {
        const QString id = applicationIdFromWmClass(wmClassOf(window));
        if (!id.isEmpty() && !ids.contains(id) && !isOwnWindow(window))
            ids.append(id);
    }
    return ids;
}

QString X11Workspace::applicationIdFromWmClass(const QByteArray& wmClass)
{
    return wmClassParts(wmClass).join(u'.');
}

QStringList X11Workspace::wmClassParts(const QByteArray& wmClass)
{
    const auto parts = wmClass.split('\0');
    QStringList names;
    for (const auto& part : parts) {
        if (!part.isEmpty())
            names.append(QString::fromLocal8Bit(part));
    }
    return names;
}

} // namespace tessel::x11
