#include "platform/PlatformServices.h"

#include "core/XdgAutostart.h"
#include "hotkey/HotkeyBackend.h"
#include "paste/KeySynthesizer.h"
#include "paste/SoundPlayer.h"
#include "platform/QtPasteboard.h"
#include "platform/wayland/WaylandPasteboard.h"
#include "platform/x11/CanberraSoundPlayer.h"
#include "platform/x11/X11HotkeyBackend.h"
#include "platform/x11/X11KeySynthesizer.h"
#include "platform/x11/X11Pasteboard.h"
#include "platform/x11/X11Workspace.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>

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
} // namespace

bool isX11()
{
    return QGuiApplication::platformName() == "xcb"_L1;
}

std::unique_ptr<Pasteboard> createPasteboard()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (isX11()) {
        if (auto x11 =
                x11::X11Pasteboard::create(clipboard, std::make_unique<QtPasteboard>(clipboard)))
            return x11;
    }
    if (QGuiApplication::platformName() == "wayland"_L1) {
        if (auto wayland = wayland::WaylandPasteboard::create())
            return wayland;
    }
    // Without a reader of our own, Qt's clipboard is polled: an owner that stalls then holds up
    // the interface, but copies are still recorded.
    return std::make_unique<QtPasteboard>(clipboard);
}

std::unique_ptr<Workspace> createWorkspace()
{
    if (isX11())
        return std::make_unique<x11::X11Workspace>();
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
    if (!isX11())
        return [] { return false; };
    return [] { return x11::X11KeySynthesizer().isAvailable(); };
}

std::unique_ptr<LoginItems> createLoginItems()
{
    return std::make_unique<XdgAutostart>(QCoreApplication::applicationFilePath());
}

} // namespace tessel::PlatformServices
