// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/AppDelegate.h"
#include "gui/ui/PopupFixture.h"
#include "hotkey/DesktopKeybindings.h"
#include "hotkey/DesktopShortcuts.h"
#include "hotkey/HotkeyManager.h"
#include "support/FakeHotkeyBackend.h"
#include "support/FakeLoginItems.h"

namespace tessel::test {

// A desktop whose keyboard settings Tessel may keep its shortcuts in, and whose changes succeed.
class AgreeableKeybindings final : public DesktopKeybindings {
public:
    bool isOffered() const override { return true; }
    void apply(const QList<Binding>& bindings, Done done) override
    {
        written = bindings;
        done(Result::success());
    }
    void remove(Done done) override { done(Result::success()); }

    QList<Binding> written;
};

// The application launched on a fixture's services, with fakes for shortcuts and login, on a
// desktop that offers its keyboard settings for the shortcuts.
struct LaunchedApp {
    FakeHotkeyBackend backend;
    HotkeyManager hotkeys;
    FakeLoginItems loginItems;
    AgreeableKeybindings keybindings;
    DesktopShortcuts desktopShortcuts;
    AppDelegate app;

    explicit LaunchedApp(PopupFixture& f)
        : hotkeys(f.settings, backend)
        , desktopShortcuts(f.settings, hotkeys, &keybindings, QStringLiteral("tessel"))
        , app(f.settings, f.language, f.manager, f.windowController, hotkeys, f.permissions,
              f.paste, f.emojis, f.actions, loginItems)
    {
        app.setDesktopShortcuts(&desktopShortcuts);
        app.applicationDidFinishLaunching();
    }
    ~LaunchedApp() { app.applicationWillTerminate(); }
};

} // namespace tessel::test
