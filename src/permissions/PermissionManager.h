#pragma once

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

    // The live answer; a change is published through a queued update.
    bool checkPermission();
    // Checks every second until the answer is yes; restarting replaces the running timer.
    void startMonitoring();
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
    QTimer m_timer;
};

} // namespace tessel
