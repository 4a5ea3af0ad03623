#include "platform/PlatformServices.h"

#include "core/XdgAutostart.h"
#include "hotkey/HotkeyBackend.h"
#include "paste/KeySynthesizer.h"
#include "paste/SoundPlayer.h"
#include "platform/QtPasteboard.h"
#include "platform/wayland/VirtualKeymap.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandKeySynthesizer.h"
#include "platform/wayland/WaylandToplevels.h"
#include "platform/wayland/WaylandWorkspace.h"
#include "platform/x11/CanberraSoundPlayer.h"
#include "platform/x11/X11HotkeyBackend.h"
#include "platform/x11/X11KeySynthesizer.h"
#include "platform/x11/X11Pasteboard.h"
#include "platform/x11/X11Workspace.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace tessel::PlatformServices {

namespace {
class NullWorkspace final : public Workspace {
public:
    QString frontmostApplicationId() const override { return {}; }
    void rememberActiveWindow() override {}
    bool restoreFocus() override { return false; }
    QStringList focusedWindowClass() const override { return {}; }
};

class NullHotkeyBackend final : public HotkeyBackend {
public:
    // No session-wide key grabs without X11 (a native Wayland session has none for clients).
    int install() override { return -1; }
    bool registerHotkey(int, quint32, quint32) override { return false; }
    void unregisterHotkey(int) override {}
    quint32 baseKeysym(quint32) const override { return 0; }
};

class NullKeySynthesizer final : public KeySynthesizer {
public:
    bool isAvailable() const override { return false; }
    void sendPaste(PasteChord, Completion done) override
    {
        done(u"synthetic input is not supported in this session"_s);
    }
};

class NullSoundPlayer final : public SoundPlayer {
public:
    void playPop() override {}
};

// The Wayland services share one connection and one window list, made on first use and kept
// until the application object goes, after every service that uses them.
struct WaylandSession {
    wayland::WaylandConnection* connection = nullptr;
    wayland::WaylandToplevels* toplevels = nullptr;
};

WaylandSession waylandSession()
{
    static QPointer<wayland::WaylandConnection> connection;
    static QPointer<wayland::WaylandToplevels> toplevels;
    static bool tried = false;
    if (!tried) {
        tried = true;
        if (auto opened = wayland::WaylandConnection::open()) {
            connection = opened.release();
            connection->setParent(QCoreApplication::instance());
            toplevels = new wayland::WaylandToplevels(*connection, connection);
        }
    }
    return {connection.data(), toplevels.data()};
}

bool isOwnWindow(const QString& appId)
{
    return !appId.isEmpty() && appId == QGuiApplication::desktopFileName();
}
} // namespace

bool isX11()
{
    return QGuiApplication::platformName() == "xcb"_L1;
}

bool isWayland()
{
    return QGuiApplication::platformName().startsWith("wayland"_L1);
}

std::unique_ptr<Pasteboard> createPasteboard()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (isX11()) {
        if (auto x11 =
                x11::X11Pasteboard::create(clipboard, std::make_unique<QtPasteboard>(clipboard)))
            return x11;
    }
    // Without a reader of our own, Qt's clipboard is polled: an owner that stalls then holds up
    // the interface, but copies are still recorded.
    return std::make_unique<QtPasteboard>(clipboard);
}

std::unique_ptr<Workspace> createWorkspace()
{
    if (isX11())
        return std::make_unique<x11::X11Workspace>();
    if (isWayland())
        return std::make_unique<wayland::WaylandWorkspace>(waylandSession().toplevels,
                                                           &isOwnWindow);
    return std::make_unique<NullWorkspace>();
}

std::unique_ptr<HotkeyBackend> createHotkeyBackend()
{
    if (isX11())
        return std::make_unique<x11::X11HotkeyBackend>();
    return std::make_unique<NullHotkeyBackend>();
}

std::unique_ptr<KeySynthesizer> createKeySynthesizer()
{
    if (isX11())
        return std::make_unique<x11::X11KeySynthesizer>();
    if (isWayland()) {
        const WaylandSession session = waylandSession();
        if (session.connection)
            return std::make_unique<wayland::WaylandKeySynthesizer>(
                *session.connection, session.toplevels, &isOwnWindow);
    }
    return std::make_unique<NullKeySynthesizer>();
}

std::unique_ptr<SoundPlayer> createSoundPlayer()
{
    if (isX11())
        return std::make_unique<x11::CanberraSoundPlayer>(
            x11::CanberraSoundPlayer::shippedPopFile());
    return std::make_unique<NullSoundPlayer>();
}

std::function<bool()> createTrustProbe()
{
    if (isWayland()) {
        return [keymapCompiles = wayland::VirtualKeymap().isValid()] {
            const WaylandSession session = waylandSession();
            return keymapCompiles && session.connection && !session.connection->hasFailed() &&
                   session.connection->globalVersion(u"zwp_virtual_keyboard_manager_v1"_s) != 0;
        };
    }
    if (!isX11())
        return [] { return false; };
    return [] { return x11::X11KeySynthesizer().isAvailable(); };
}

std::unique_ptr<LoginItems> createLoginItems()
{
    return std::make_unique<XdgAutostart>(QCoreApplication::applicationFilePath());
}

} // namespace tessel::PlatformServices
