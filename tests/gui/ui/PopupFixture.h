// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/PopupActions.h"
#include "clipboard/ClipboardManager.h"
#include "clipboard/ClipboardStore.h"
#include "clipboard/PasteboardTypes.h"
#include "core/SettingsStore.h"
#include "hotkey/HotkeyManager.h"
#include "localization/LanguageManager.h"
#include "paste/PasteSimulator.h"
#include "permissions/PermissionManager.h"
#include "pickers/EmojiStore.h"
#include "support/FakeHotkeyBackend.h"
#include "support/FakeLoginItems.h"
#include "support/FakePasteServices.h"
#include "support/FakeWorkspace.h"
#include "support/MemoryPasteboard.h"
#include "support/TempHome.h"
#include "ui/popup/ClipboardListView.h"
#include "ui/popup/PopupContext.h"
#include "ui/preferences/PreferencesContext.h"
#include "window/WindowController.h"

#include <QCoreApplication>
#include <QWidget>

namespace tessel::test {

// Every service the popup's views use, with fakes for the platform and a temporary home.
struct PopupFixture {
    TempHome home;
    MemoryPasteboard pasteboard;
    FakeWorkspace workspace;
    SettingsStore settings{SettingsStore::defaultFilePath()};
    QStringList preferredLanguages{QStringLiteral("en-US")};
    LanguageManager language;
    ClipboardManager manager{
        pasteboard, workspace, settings,
        std::make_unique<ClipboardStore>(home.dataHome() + QStringLiteral("/tessel"))};
    WindowController windowController{settings, workspace, PopupStyle::overlayAtPointer};
    FakeKeySynthesizer keys;
    CountingSoundPlayer sound;
    PasteSimulator paste{settings, keys, workspace, sound};
    bool trusted = true;
    PermissionManager permissions{[this] { return trusted; }, [](const QUrl&) { return true; }};
    EmojiStore emojis{settings};
    PopupActions actions{manager, pasteboard, emojis, windowController, paste};

    // With the texts of `catalogue` instead of the built-in ones.
    explicit PopupFixture(TranslationCatalogue catalogue =
                              TranslationCatalogue::load(TranslationCatalogue::builtInDirectory()))
        : language(
              settings, [this] { return preferredLanguages; }, std::move(catalogue))
    {
        permissions.checkPermission();
        QCoreApplication::processEvents(); // the published state follows a queued update
    }

    PopupContext context()
    {
        return {manager, windowController, language, permissions, settings, paste, emojis, {}};
    }

    // A history list as the popup shows it, its choices wired to the pick actions, in `host`
    // shown at the popup's size.
    ClipboardListView* showList(QWidget& host, bool favoritesOnly)
    {
        auto* view = new ClipboardListView(manager, language, settings, favoritesOnly, &host);
        QObject::connect(view, &ClipboardListView::chosen, &actions, &PopupActions::chooseEntry);
        host.resize(330, 450);
        view->resize(330, 450);
        host.show();
        return view;
    }

    // Another application copies `text`.
    void copy(const QString& text)
    {
        PasteboardItem item;
        item.setString(PasteboardType::plainText, text);
        pasteboard.writeExternal(item);
        manager.poll();
    }
};

// The popup's services, and what the preferences need besides: shortcuts on a fake backend and
// fake login items.
struct PreferencesFixture : PopupFixture {
    FakeHotkeyBackend backend;
    HotkeyManager hotkeys{settings, backend};
    FakeLoginItems loginItems;
    QStringList runningApplications;

    PreferencesContext preferencesContext()
    {
        return {settings,   language, hotkeys, permissions,
                loginItems, [] {},    nullptr, [this] { return runningApplications; }};
    }
};

} // namespace tessel::test
