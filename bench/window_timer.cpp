// SPDX-License-Identifier: GPL-3.0-or-later
// Times a global shortcut to a window on screen, for any program: presses the keys through XTest
// as a keyboard would, and waits for the X server to report a top-level window of the given class
// mapped. One X client of its own, no polling: the same measure for every program.
// Usage: window_timer <class> <presses> <Escape|shortcut> (how the window is closed again between
// presses). The shortcut is Super+Shift+V. Prints each time, then the median and the worst.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr xcb_keysym_t kSuper = 0xffeb, kShift = 0xffe1, kV = 0x0076, kEscape = 0xff1b;

struct Display {
    xcb_connection_t* c = nullptr;
    xcb_window_t root = 0;
    xcb_key_symbols_t* symbols = nullptr;
    xcb_atom_t wmClass = 0;

    xcb_keycode_t code(xcb_keysym_t sym) const
    {
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, sym);
        const xcb_keycode_t first = codes ? codes[0] : 0;
        std::free(codes);
        return first;
    }
    void key(xcb_keysym_t sym, bool down) const
    {
        xcb_test_fake_input(c, down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, code(sym), XCB_CURRENT_TIME,
                            XCB_NONE, 0, 0, 0);
    }
    void press(const std::vector<xcb_keysym_t>& chord) const
    {
        for (xcb_keysym_t sym : chord)
            key(sym, true);
        for (auto it = chord.rbegin(); it != chord.rend(); ++it)
            key(*it, false);
        xcb_flush(c);
    }
    // Whether `window` or a window below it (a window manager's frame holds the client) has the
    // WM_CLASS `wanted`, as instance or class name.
    bool hasClass(xcb_window_t window, const std::string& wanted, int depth = 0) const
    {
        auto* reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, window, wmClass, XCB_ATOM_STRING, 0, 256), nullptr);
        if (reply) {
            const char* value = static_cast<const char*>(xcb_get_property_value(reply));
            const std::string names(value, xcb_get_property_value_length(reply));
            std::free(reply);
            for (size_t at = 0; at < names.size(); at = names.find('\0', at) + 1) {
                if (strcasecmp(names.c_str() + at, wanted.c_str()) == 0)
                    return true;
                if (names.find('\0', at) == std::string::npos)
                    break;
            }
        }
        if (depth >= 2)
            return false;
        auto* tree = xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr);
        if (!tree)
            return false;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        bool found = false;
        for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i)
            found = hasClass(children[i], wanted, depth + 1);
        std::free(tree);
        return found;
    }
    // Waits for a root child of class `wanted` to be mapped (true) or unmapped (false); returns
    // false on time-out.
    bool waitFor(const std::string& wanted, bool mapped, Clock::duration timeout) const
    {
        const auto end = Clock::now() + timeout;
        while (Clock::now() < end) {
            xcb_generic_event_t* event = xcb_poll_for_event(c);
            if (!event) {
                std::this_thread::sleep_for(std::chrono::microseconds(100));
                continue;
            }
            const uint8_t type = event->response_type & 0x7f;
            xcb_window_t window = 0;
            if (mapped && type == XCB_MAP_NOTIFY)
                window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
            else if (!mapped && type == XCB_UNMAP_NOTIFY)
                window = reinterpret_cast<xcb_unmap_notify_event_t*>(event)->window;
            std::free(event);
            if (window && hasClass(window, wanted))
                return true;
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: window_timer <class> <presses> <Escape|shortcut>\n");
        return 2;
    }
    const std::string wanted = argv[1];
    const int presses = std::atoi(argv[2]);
    const bool closeByShortcut = std::strcmp(argv[3], "shortcut") == 0;

    Display x;
    x.c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x.c))
        return 1;
    x.root = xcb_setup_roots_iterator(xcb_get_setup(x.c)).data->root;
    x.symbols = xcb_key_symbols_alloc(x.c);
    auto* atom = xcb_intern_atom_reply(x.c, xcb_intern_atom(x.c, 0, 8, "WM_CLASS"), nullptr);
    x.wmClass = atom ? atom->atom : xcb_atom_t(XCB_ATOM_WM_CLASS);
    std::free(atom);
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x.c, x.root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x.c);

    const std::vector<xcb_keysym_t> shortcut{kSuper, kShift, kV};
    std::vector<double> times;
    for (int i = 0; i < presses; ++i) {
        const auto start = Clock::now();
        x.press(shortcut);
        if (!x.waitFor(wanted, true, std::chrono::seconds(10))) {
            std::fprintf(stderr, "never shown\n");
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        std::printf("%.1f\n", times.back());
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        x.press(closeByShortcut ? shortcut : std::vector<xcb_keysym_t>{kEscape});
        x.waitFor(wanted, false, std::chrono::seconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
    }
    std::sort(times.begin(), times.end());
    std::printf("median %.1f ms, worst %.1f ms\n", times[times.size() / 2], times.back());
    xcb_key_symbols_free(x.symbols);
    xcb_disconnect(x.c);
    return 0;
}
