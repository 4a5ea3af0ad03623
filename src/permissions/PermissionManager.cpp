// SPDX-License-Identifier: GPL-3.0-or-later
#include "permissions/PermissionManager.h"

#include "core/ResourceFile.h"

#include <QDesktopServices>
#include <QGuiApplication>

using namespace Qt::StringLiterals;

namespace tessel {

PermissionManager::PermissionManager(TrustProbe probe, UrlOpener opener, QObject* parent)
    : QObject(parent)
    , m_probe(std::move(probe))
    , m_opener(opener ? std::move(opener) : UrlOpener(&QDesktopServices::openUrl))
{
    m_timer.setInterval(monitorInterval);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (checkPermission())
            m_timer.stop();
    });
    checkPermission();
    setupObservers();
}

bool PermissionManager::checkPermission()
{
    const bool trusted = m_capabilities.autoPaste != PlatformCapabilities::AutoPaste::unavailable &&
                         m_probe && m_probe();
    m_latest = trusted;
    if (trusted != m_granted && !m_updateQueued) {
        m_updateQueued = true;
        // The update publishes the latest answer when it runs, never an older one that a later
        // check (or a change of the session's capabilities) has overtaken.
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_updateQueued = false;
                if (m_granted == m_latest)
                    return;
                m_granted = m_latest;
                Q_EMIT accessibilityGrantedChanged(m_granted);
            },
            Qt::QueuedConnection);
    }
    return trusted;
}

void PermissionManager::startMonitoring()
{
    if (m_capabilities.autoPaste != PlatformCapabilities::AutoPaste::unavailable)
        m_timer.start();
}

void PermissionManager::setCapabilities(const PlatformCapabilities& capabilities)
{
    m_capabilities = capabilities;
    if (capabilities.autoPaste == PlatformCapabilities::AutoPaste::unavailable)
        m_timer.stop();
    checkPermission();
}

const char* PermissionManager::platformNoteKey() const
{
    switch (m_capabilities.autoPaste) {
    case PlatformCapabilities::AutoPaste::everywhere:
        if (m_capabilities.globalShortcuts)
            return nullptr;
        //% "Tessel records what you copy on this desktop and pastes the entry you choose, but it "
        //% "cannot listen for its own shortcuts here. To open Tessel from any application, bind "
        //% "the command tessel --toggle to a shortcut in the desktop's keyboard settings."
        return QT_TRID_NOOP("platform_shortcuts_note");
    case PlatformCapabilities::AutoPaste::x11WindowsOnly:
        //% "Tessel records what you copy on this Wayland desktop, but auto-paste only reaches X11 "
        //% "applications (those that run through XWayland): elsewhere, paste the chosen entry "
        //% "with Ctrl+V. To open Tessel from any application, bind the command tessel --toggle "
        //% "to a shortcut in the desktop's keyboard settings."
        return QT_TRID_NOOP("platform_xwayland_note");
    case PlatformCapabilities::AutoPaste::unavailable:
        //% "This desktop does not let Tessel type for you, so auto-paste is unavailable here. "
        //% "Choosing an entry still puts it on the clipboard: paste it with Ctrl+V."
        return QT_TRID_NOOP("platform_paste_unavailable_note");
    }
    return nullptr;
}

void PermissionManager::openAccessibilitySettings()
{
    if (const QUrl page = helpPageUrl(); page.isValid())
        m_opener(page);
    startMonitoring();
}

QUrl PermissionManager::helpPageUrl()
{
    const QString path = ResourceFile::extract(u":/tessel/help/wayland.html"_s,
                                               u"running-tessel-with-xwayland.html"_s);
    return path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path);
}

void PermissionManager::setupObservers()
{
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state == Qt::ApplicationActive)
                        checkPermission();
                });
    }
}

} // namespace tessel
