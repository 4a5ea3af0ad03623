// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/PlatformCapabilities.h"

#include <QObject>
#include <QTimer>
#include <QUrl>
#include <functional>

namespace tessel {

// Whether Tessel may synthesise input (the paste keystroke), kept up to date while the user goes
// to fix it, and the way to show them how. Main thread only.
class PermissionManager : public QObject {
    Q_OBJECT

public:
    // Answers "may this process synthesise input now?"; must not show anything to the user.
    using TrustProbe = std::function<bool()>;
    // Opens an address in the user's browser or viewer; false when nothing could open it.
    using UrlOpener = std::function<bool(const QUrl&)>;

    static constexpr std::chrono::milliseconds monitorInterval{1000};

    // Checks once (the published state follows through a queued update) and re-checks whenever
    // the application becomes active. A null `opener` uses the desktop's default handler.
    explicit PermissionManager(TrustProbe probe, UrlOpener opener = {}, QObject* parent = nullptr);

    // The published state: false at creation, updated after `checkPermission` finds a change.
    bool isAccessibilityGranted() const { return m_granted; }
    bool isMonitoring() const { return m_timer.isActive(); }

    // The live answer; a change is published through a queued update. Always no where the
    // session cannot paste at all.
    bool checkPermission();
    // Checks every second until the answer is yes; restarting replaces the running timer. Does
    // nothing where the session cannot paste at all, since no answer can change.
    void startMonitoring();

    // What the session allows, as its platform says; until set, everything. Checks again.
    void setCapabilities(const PlatformCapabilities& capabilities);
    const PlatformCapabilities& capabilities() const { return m_capabilities; }
    // The id of the interface text that explains what this session holds back (auto-paste
    // unavailable or limited to X11 applications, or shortcuts that only the desktop can bind);
    // null where nothing is.
    const char* platformNoteKey() const;
    // Opens the page that explains how to allow synthetic input, then starts monitoring.
    void openAccessibilitySettings();

    // The help page shipped with Tessel, written out where a browser can read it; empty when it
    // cannot be written.
    static QUrl helpPageUrl();

Q_SIGNALS:
    void accessibilityGrantedChanged(bool granted);

private:
    void setupObservers();

    TrustProbe m_probe;
    UrlOpener m_opener;
    bool m_granted = false;
    bool m_latest = false;
    bool m_updateQueued = false;
    PlatformCapabilities m_capabilities{true, PlatformCapabilities::AutoPaste::everywhere, true};
    QTimer m_timer;
};

} // namespace tessel
