// SPDX-License-Identifier: GPL-3.0-or-later
// clipboard_owner: an X client that takes the CLIPBOARD and serves it well or badly, to test
// and measure clipboard readers against owners that misbehave. Standalone; needs only xcb.
// Options (see `parse`): --text TEXT (offered as UTF8_STRING and text/plain), --text-size N (the
// text is N bytes of "0123456789"), --targets N (N made-up targets more), --image (offers
// image/png, never sent), --empty-image (offers image/png, sent empty), --stall (never answers the
// text or image), --stall-all (answers nothing), --incr-chunk N and --incr-delay MS (the text by
// INCR, N bytes every MS), --announce BYTES (the text by INCR, whose notice announces BYTES),
// --retake MS (takes the clipboard again every MS), --class NAME (first maps a window of that
// WM_CLASS and waits until it is active), --leave-after MS (with --class: destroys it MS after
// taking the clipboard), --exit-after MS (else exits when another client takes the clipboard, or
// never with --retake), --selection NAME (owns that selection instead of CLIPBOARD), --mark TARGET
// (offers TARGET too, answered with "1", as the transient and concealed markers are),
// --drop-owner-after MS (destroys the window that owns the selection MS after taking it, and stays
// connected), --clear-after MS (empties the selection on purpose MS after taking it).
// Prints "owned <ms>" once it owns the clipboard, "served <TARGETS|text|other|incr> <ms>" per
// answer, "dropped <ms>" or "cleared <ms>" once it destroyed its owner window or emptied the
// selection, and "exiting <ms>" as it closes its connection (CLOCK_MONOTONIC milliseconds), one
// flushed line each.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>
#include <vector>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    std::string text = "clipboard_owner";
    long targets = 0;
    bool stall = false;
    bool stallAll = false;
    bool image = false;
    bool emptyImage = false;
    long incrChunk = 0;
    long incrDelayMs = 0;
    long long announce = -1;
    long retakeMs = 0;
    std::string windowClass;
    long leaveAfterMs = -1;
    long exitAfterMs = -1;
    long dropOwnerAfterMs = -1;
    long clearAfterMs = -1;
    std::string selection = "CLIPBOARD";
    std::string mark;
};

// One INCR transfer in progress: the requestor deletes the property, we send the next chunk.
struct Incr {
    xcb_window_t requestor = 0;
    xcb_atom_t property = 0;
    xcb_atom_t type = 0;
    long long total = 0;
    long long sent = 0;
    bool waitingForDelete = false;
    Clock::time_point nextChunkAt;
};

double stampMs()
{
    return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

long long nowMs()
{
    return static_cast<long long>(stampMs());
}

xcb_connection_t* c = nullptr;
xcb_window_t root = 0;

// One line of the log on standard output: what happened, and when.
void report(const char* what)
{
    std::printf("%s %.3f\n", what, stampMs());
    std::fflush(stdout);
}

void put(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, uint8_t format, size_t count,
         const void* data)
{
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, property, type, format,
                        static_cast<uint32_t>(count), data);
}

// Interns all names with one round trip.
std::vector<xcb_atom_t> atoms(const std::vector<std::string>& names)
{
    std::vector<xcb_intern_atom_cookie_t> cookies;
    for (const std::string& name : names)
        cookies.push_back(xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.c_str()));
    std::vector<xcb_atom_t> result;
    for (auto cookie : cookies) {
        auto* reply = xcb_intern_atom_reply(c, cookie, nullptr);
        result.push_back(reply ? reply->atom : XCB_NONE);
        std::free(reply);
    }
    return result;
}

xcb_window_t makeWindow(bool visible)
{
    const xcb_window_t window = xcb_generate_id(c);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, root, 100, 100, visible ? 300 : 1,
                      visible ? 200 : 1, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_EVENT_MASK, &events);
    return window;
}

void notify(const xcb_selection_request_event_t& request, xcb_atom_t property)
{
    xcb_selection_notify_event_t event{};
    event.response_type = XCB_SELECTION_NOTIFY;
    event.time = request.time;
    event.requestor = request.requestor;
    event.selection = request.selection;
    event.target = request.target;
    event.property = property;
    xcb_send_event(c, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
}

xcb_window_t activeWindow(xcb_atom_t netActive)
{
    auto* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, netActive, XCB_ATOM_WINDOW, 0, 1), nullptr);
    xcb_window_t window = 0;
    if (reply && xcb_get_property_value_length(reply) >= 4)
        std::memcpy(&window, xcb_get_property_value(reply), 4);
    std::free(reply);
    return window;
}

bool parse(int argc, char** argv, Options& o)
{
    const std::pair<const char*, bool*> flags[] = {{"--stall", &o.stall},
                                                   {"--stall-all", &o.stallAll},
                                                   {"--image", &o.image},
                                                   {"--empty-image", &o.emptyImage}};
    const std::pair<const char*, long*> numbers[] = {{"--targets", &o.targets},
                                                     {"--incr-chunk", &o.incrChunk},
                                                     {"--incr-delay", &o.incrDelayMs},
                                                     {"--retake", &o.retakeMs},
                                                     {"--leave-after", &o.leaveAfterMs},
                                                     {"--exit-after", &o.exitAfterMs},
                                                     {"--drop-owner-after", &o.dropOwnerAfterMs},
                                                     {"--clear-after", &o.clearAfterMs}};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        bool known = false;
        for (const auto& [name, flag] : flags) {
            if (arg == name)
                *flag = known = true;
        }
        if (known)
            continue;
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        for (const auto& [name, number] : numbers) {
            if (arg == name) {
                *number = std::stol(value);
                known = true;
            }
        }
        if (arg == "--text")
            o.text = value;
        else if (arg == "--text-size") {
            o.text.resize(std::stoul(value));
            for (size_t at = 0; at < o.text.size(); ++at)
                o.text[at] = static_cast<char>('0' + at % 10);
        } else if (arg == "--class")
            o.windowClass = value;
        else if (arg == "--selection")
            o.selection = value;
        else if (arg == "--mark")
            o.mark = value;
        else if (arg == "--announce")
            o.announce = std::stoll(value);
        else if (!known)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr, "clipboard_owner: bad arguments (see the top of the source)\n");
        return 2;
    }
    c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "clipboard_owner: cannot open the display\n");
        return 1;
    }
    root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const auto named = atoms({o.selection, "TARGETS", "INCR", "UTF8_STRING", "text/plain",
                              "text/plain;charset=utf-8", "image/png", "_NET_ACTIVE_WINDOW"});
    const xcb_atom_t clipboard = named[0], targetsAtom = named[1], incrAtom = named[2],
                     utf8 = named[3], textPlain = named[4], textPlainUtf8 = named[5],
                     png = named[6], netActive = named[7];
    std::vector<xcb_atom_t> offered{targetsAtom, utf8, textPlain, textPlainUtf8};
    if (o.image || o.emptyImage)
        offered.push_back(png);
    const xcb_atom_t mark = o.mark.empty() ? XCB_NONE : atoms({o.mark}).front();
    if (mark != XCB_NONE)
        offered.push_back(mark);
    std::vector<std::string> fillerNames;
    for (long i = 0; i < o.targets; ++i)
        fillerNames.push_back("x-clipboard-owner-filler-" + std::to_string(i));
    const auto fillers = atoms(fillerNames);
    offered.insert(offered.end(), fillers.begin(), fillers.end());

    const long long start = nowMs();
    xcb_window_t visible = 0;
    if (!o.windowClass.empty()) {
        visible = makeWindow(true);
        std::string instance = o.windowClass;
        std::transform(instance.begin(), instance.end(), instance.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
        const std::string wmClass = instance + '\0' + o.windowClass + '\0';
        put(visible, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, wmClass.size(), wmClass.data());
        xcb_map_window(c, visible);
        xcb_flush(c);
        while (activeWindow(netActive) != visible) {
            if (nowMs() - start > 10000) {
                std::fprintf(stderr, "clipboard_owner: the window never became active\n");
                return 1;
            }
            poll(nullptr, 0, 5);
        }
    }
    const xcb_window_t owner = makeWindow(false);
    auto takeClipboard = [&] {
        xcb_set_selection_owner(c, owner, clipboard, XCB_CURRENT_TIME);
        xcb_flush(c);
        report("owned");
    };
    takeClipboard();
    const long long ownedAt = nowMs();
    long long nextRetake = o.retakeMs > 0 ? ownedAt + o.retakeMs : -1;
    long long leaveAt = visible && o.leaveAfterMs >= 0 ? ownedAt + o.leaveAfterMs : -1;
    long long dropAt = o.dropOwnerAfterMs >= 0 ? ownedAt + o.dropOwnerAfterMs : -1;
    long long clearAt = o.clearAfterMs >= 0 ? ownedAt + o.clearAfterMs : -1;
    Incr incr;

    for (;;) {
        const long long now = nowMs();
        if (o.exitAfterMs >= 0 && now - start >= o.exitAfterMs)
            break;
        if (leaveAt >= 0 && now >= leaveAt) {
            xcb_destroy_window(c, visible);
            xcb_flush(c);
            leaveAt = -1;
        }
        if (dropAt >= 0 && now >= dropAt) {
            xcb_destroy_window(c, owner);
            xcb_flush(c);
            report("dropped");
            dropAt = -1;
        }
        if (clearAt >= 0 && now >= clearAt) {
            xcb_set_selection_owner(c, XCB_NONE, clipboard, XCB_CURRENT_TIME);
            xcb_flush(c);
            report("cleared");
            clearAt = -1;
        }
        if (nextRetake >= 0 && now >= nextRetake) {
            takeClipboard();
            nextRetake = now + o.retakeMs;
        }
        if (incr.requestor && !incr.waitingForDelete && Clock::now() >= incr.nextChunkAt) {
            const long long left = incr.total - incr.sent;
            const long long size = std::min<long long>(left, o.incrChunk > 0 ? o.incrChunk : 65536);
            const std::string chunk =
                o.text.substr(static_cast<size_t>(incr.sent), static_cast<size_t>(size));
            put(incr.requestor, incr.property, incr.type, 8, chunk.size(), chunk.data());
            xcb_flush(c);
            incr.sent += size;
            incr.waitingForDelete = true;
            if (size == 0) {
                report("served incr");
                incr = Incr{};
            }
        }

        long long wait = 1000;
        for (long long at : {nextRetake, leaveAt, dropAt, clearAt,
                             o.exitAfterMs >= 0 ? start + o.exitAfterMs : -1})
            if (at >= 0)
                wait = std::min(wait, std::max(0LL, at - now));
        if (incr.requestor && !incr.waitingForDelete)
            wait = std::min(wait, std::max<long long>(0, o.incrDelayMs));
        xcb_generic_event_t* event = xcb_poll_for_event(c);
        if (!event) {
            if (xcb_connection_has_error(c))
                return 1;
            pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(wait));
            continue;
        }
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_SELECTION_CLEAR && o.retakeMs <= 0) {
            std::free(event);
            break;
        }
        if (type == XCB_PROPERTY_NOTIFY) {
            const auto* p = reinterpret_cast<xcb_property_notify_event_t*>(event);
            if (incr.requestor && p->window == incr.requestor && p->atom == incr.property &&
                p->state == XCB_PROPERTY_DELETE && incr.waitingForDelete) {
                incr.waitingForDelete = false;
                incr.nextChunkAt = Clock::now() + std::chrono::milliseconds(o.incrDelayMs);
            }
        }
        if (type == 0 && incr.requestor) {
            // The requestor gave up (its window is gone): forget the transfer.
            incr = Incr{};
        }
        if (type == XCB_SELECTION_REQUEST && !o.stallAll) {
            const auto request = *reinterpret_cast<xcb_selection_request_event_t*>(event);
            const xcb_atom_t property = request.property ? request.property : request.target;
            const bool isText = request.target == utf8 || request.target == textPlain ||
                                request.target == textPlainUtf8;
            const bool stalled = o.stall && (isText || (o.image && request.target == png));
            if (request.target == targetsAtom) {
                put(request.requestor, property, XCB_ATOM_ATOM, 32, offered.size(), offered.data());
                notify(request, property);
            } else if (stalled) {
                // Never answered.
            } else if (isText && !incr.requestor && (o.incrChunk > 0 || o.announce >= 0)) {
                const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
                xcb_change_window_attributes(c, request.requestor, XCB_CW_EVENT_MASK, &events);
                incr.requestor = request.requestor;
                incr.property = property;
                incr.type = request.target;
                incr.total = static_cast<long long>(o.text.size());
                incr.waitingForDelete = true;
                const uint32_t announced = static_cast<uint32_t>(
                    std::min<long long>(o.announce >= 0 ? o.announce : incr.total, UINT32_MAX));
                put(request.requestor, property, incrAtom, 32, 1, &announced);
                notify(request, property);
            } else if (isText) {
                put(request.requestor, property, request.target, 8, o.text.size(), o.text.data());
                notify(request, property);
            } else if (mark != XCB_NONE && request.target == mark) {
                put(request.requestor, property, XCB_ATOM_STRING, 8, 1, "1");
                notify(request, property);
            } else if (o.emptyImage && request.target == png) {
                put(request.requestor, property, png, 8, 0, nullptr);
                notify(request, property);
            } else {
                notify(request, XCB_NONE);
            }
            xcb_flush(c);
            if (!stalled)
                report(request.target == targetsAtom ? "served TARGETS"
                       : isText                      ? "served text"
                                                     : "served other");
        }
        std::free(event);
    }
    report("exiting");
    xcb_disconnect(c);
    return 0;
}
