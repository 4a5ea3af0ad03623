#pragma once

#include <QList>
#include <QObject>
#include <cstdint>
#include <memory>

class QSocketNotifier;
struct wl_display;
struct wl_interface;
struct wl_registry;
struct wl_seat;

namespace tessel::wayland {

// A connection of Tessel's own to the compositor, separate from Qt's, for the protocols Qt does
// not speak (toplevel tracking, the virtual keyboard). Its events are handled on the main thread
// whenever the socket has data; requests go out on `flush()`. Main thread only.
class WaylandClientConnection final : public QObject {
    Q_OBJECT

public:
    // Connects to the compositor of $WAYLAND_DISPLAY and learns its globals; nothing when no
    // compositor answers.
    static std::unique_ptr<WaylandClientConnection> open(QObject* parent = nullptr);
    ~WaylandClientConnection() override;

    wl_display* display() const { return m_display; }
    bool offers(const char* interfaceName) const;
    // Binds the first global of `interface` at the lower of its version and `maxVersion`;
    // nullptr when the compositor does not offer it. The caller owns the proxy.
    void* bind(const wl_interface* interface, uint32_t maxVersion,
               uint32_t* boundVersion = nullptr);
    // The first seat, bound on first use; nullptr without one.
    wl_seat* seat();

    // Sends the requests made so far. False once the connection is broken.
    bool flush();
    // Waits until the compositor has handled every request so far and its answers have been
    // handled. False once the connection is broken.
    bool roundtrip();
    bool isBroken() const { return m_broken; }

Q_SIGNALS:
    // The compositor closed the connection or reported a protocol error; every proxy of this
    // connection is dead from now on.
    void broken();

private:
    struct Global {
        uint32_t name;
        QByteArray interface;
        uint32_t version;
    };

    explicit WaylandClientConnection(wl_display* display, QObject* parent);
    void readEvents();
    bool checkError();
    static void onGlobal(void* data, wl_registry*, uint32_t name, const char* interface,
                         uint32_t version);
    static void onGlobalRemove(void* data, wl_registry*, uint32_t name);

    wl_display* m_display;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    QSocketNotifier* m_notifier = nullptr;
    QList<Global> m_globals;
    bool m_broken = false;
};

} // namespace tessel::wayland
