// clipboard_owner: an X client that takes the CLIPBOARD and serves it well or badly, to test
// and measure clipboard readers against owners that misbehave. Standalone; needs only xcb.
//
// Usage: clipboard_owner [options]
//   --text TEXT        the text offered (UTF8_STRING, text/plain); default "clipboard_owner"
//   --targets N        also offer N made-up targets after the text ones (100000 for a flood)
//   --stall            answer TARGETS, never answer a request for the text (or the image)
//   --image            also offer image/png (its bytes are never sent: refused, or with --stall
//                      never answered)
//   --stall-all        answer nothing at all, TARGETS included
//   --incr-chunk N     send the text by INCR in chunks of N bytes
//   --incr-delay MS    wait MS milliseconds before each INCR chunk (a slow sender)
//   --announce BYTES   answer the text with INCR announcing BYTES (e.g. 2147483648); if the
//                      reader starts the transfer anyway, send zero bytes until BYTES are sent
//   --retake MS        take the clipboard again every MS milliseconds
//   --class NAME       first map a window whose WM_CLASS is NAME (instance, lower-cased) and NAME
//                      (class), wait until the window manager makes it active, then take the
//                      clipboard through a separate window
//   --leave-after MS   with --class: destroy the visible window MS after taking the clipboard
//   --exit-after MS    exit after MS milliseconds (default: when another client takes the
//                      clipboard, or never with --retake)
// Prints "owned <ms>" when it owns the clipboard and "served <what> <ms>" each time it has
// answered a request for TARGETS, the text or another target (milliseconds of CLOCK_MONOTONIC
// with three decimals), one line each, flushed.
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
    long incrChunk = 0;
    long incrDelayMs = 0;
    long long announce = -1;
    long retakeMs = 0;
    std::string windowClass;
    long leaveAfterMs = -1;
    long exitAfterMs = -1;
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

long long nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
        .count();
}

double stampMs()
{
    return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

xcb_connection_t* c = nullptr;
xcb_window_t root = 0;

xcb_atom_t atom(const std::string& name)
{
    auto* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    const xcb_atom_t result = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return result;
}

std::vector<xcb_atom_t> fillerAtoms(long count)
{
    std::vector<xcb_intern_atom_cookie_t> cookies;
    cookies.reserve(static_cast<size_t>(count));
    for (long i = 0; i < count; ++i) {
        const std::string name = "x-clipboard-owner-filler-" + std::to_string(i);
        cookies.push_back(xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.c_str()));
    }
    std::vector<xcb_atom_t> atoms;
    atoms.reserve(cookies.size());
    for (auto cookie : cookies) {
        auto* reply = xcb_intern_atom_reply(c, cookie, nullptr);
        atoms.push_back(reply ? reply->atom : XCB_NONE);
        std::free(reply);
    }
    return atoms;
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
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        auto next = [&] { return std::string(argv[++i]); };
        if (arg == "--stall")
            o.stall = true;
        else if (arg == "--stall-all")
            o.stallAll = true;
        else if (arg == "--image")
            o.image = true;
        else if (!hasValue)
            return false;
        else if (arg == "--text")
            o.text = next();
        else if (arg == "--targets")
            o.targets = std::stol(next());
        else if (arg == "--incr-chunk")
            o.incrChunk = std::stol(next());
        else if (arg == "--incr-delay")
            o.incrDelayMs = std::stol(next());
        else if (arg == "--announce")
            o.announce = std::stoll(next());
        else if (arg == "--retake")
            o.retakeMs = std::stol(next());
        else if (arg == "--class")
            o.windowClass = next();
        else if (arg == "--leave-after")
            o.leaveAfterMs = std::stol(next());
        else if (arg == "--exit-after")
            o.exitAfterMs = std::stol(next());
        else
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
    const xcb_atom_t clipboard = atom("CLIPBOARD");
    const xcb_atom_t targetsAtom = atom("TARGETS");
    const xcb_atom_t incrAtom = atom("INCR");
    const xcb_atom_t utf8 = atom("UTF8_STRING");
    const xcb_atom_t textPlain = atom("text/plain");
    const xcb_atom_t textPlainUtf8 = atom("text/plain;charset=utf-8");
    const xcb_atom_t png = atom("image/png");
    std::vector<xcb_atom_t> offered{targetsAtom, utf8, textPlain, textPlainUtf8};
    if (o.image)
        offered.push_back(png);
    const auto fillers = fillerAtoms(o.targets);
    offered.insert(offered.end(), fillers.begin(), fillers.end());

    const long long start = nowMs();
    xcb_window_t visible = 0;
    if (!o.windowClass.empty()) {
        visible = makeWindow(true);
        std::string instance = o.windowClass;
        std::transform(instance.begin(), instance.end(), instance.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
        const std::string wmClass = instance + '\0' + o.windowClass + '\0';
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, visible, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING,
                            8, static_cast<uint32_t>(wmClass.size()), wmClass.data());
        xcb_map_window(c, visible);
        xcb_flush(c);
        const xcb_atom_t netActive = atom("_NET_ACTIVE_WINDOW");
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
        std::printf("owned %.3f\n", stampMs());
        std::fflush(stdout);
    };
    takeClipboard();
    const long long ownedAt = nowMs();
    long long nextRetake = o.retakeMs > 0 ? ownedAt + o.retakeMs : -1;
    long long leaveAt = visible && o.leaveAfterMs >= 0 ? ownedAt + o.leaveAfterMs : -1;
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
        if (nextRetake >= 0 && now >= nextRetake) {
            takeClipboard();
            nextRetake = now + o.retakeMs;
        }
        if (incr.requestor && !incr.waitingForDelete && Clock::now() >= incr.nextChunkAt) {
            const long long left = incr.total - incr.sent;
            const long long size = std::min<long long>(left, o.incrChunk > 0 ? o.incrChunk : 65536);
            std::string chunk = o.announce >= 0 ? std::string(static_cast<size_t>(size), '\0')
                                                : o.text.substr(static_cast<size_t>(incr.sent),
                                                                static_cast<size_t>(size));
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, incr.requestor, incr.property, incr.type,
                                8, static_cast<uint32_t>(chunk.size()), chunk.data());
            xcb_flush(c);
            incr.sent += size;
            incr.waitingForDelete = true;
            if (size == 0) {
                std::printf("served incr %.3f\n", stampMs());
                std::fflush(stdout);
                incr = Incr{};
            }
        }

        long long wait = 1000;
        for (long long at : {nextRetake, leaveAt, o.exitAfterMs >= 0 ? start + o.exitAfterMs : -1})
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
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, property,
                                    XCB_ATOM_ATOM, 32, static_cast<uint32_t>(offered.size()),
                                    offered.data());
                notify(request, property);
            } else if (stalled) {
                // Never answered.
            } else if (isText && !incr.requestor && (o.incrChunk > 0 || o.announce >= 0)) {
                const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
                xcb_change_window_attributes(c, request.requestor, XCB_CW_EVENT_MASK, &events);
                incr.requestor = request.requestor;
                incr.property = property;
                incr.type = request.target;
                incr.total = o.announce >= 0 ? o.announce : static_cast<long long>(o.text.size());
                incr.waitingForDelete = true;
                const uint32_t announced =
                    static_cast<uint32_t>(std::min<long long>(incr.total, UINT32_MAX));
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, property, incrAtom,
                                    32, 1, &announced);
                notify(request, property);
            } else if (isText) {
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, property,
                                    request.target, 8, static_cast<uint32_t>(o.text.size()),
                                    o.text.data());
                notify(request, property);
            } else {
                notify(request, XCB_NONE);
            }
            xcb_flush(c);
            if (!stalled) {
                const char* what = request.target == targetsAtom ? "TARGETS"
                                   : isText                      ? "text"
                                                                 : "other";
                std::printf("served %s %.3f\n", what, stampMs());
                std::fflush(stdout);
            }
        }
        std::free(event);
    }
    xcb_disconnect(c);
    return 0;
}
