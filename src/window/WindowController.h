// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window/PopupPlacement.h"
#include "window/PopupTab.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace tessel {

class PopupWindow;
class SettingsStore;
class Workspace;

// Owns the one popup at a time: builds it around the content it is handed, places it at the
// pointer, closes it on Escape (which the popup reports), and tears it down on close, handing the
// keyboard back to the application the user was working in. Main thread only.
class WindowController : public QObject {
    Q_OBJECT

public:
    // `style` is how popups appear, as the desktop session allows.
    WindowController(SettingsStore& settings, Workspace& workspace, PopupStyle style,
                     QObject* parent = nullptr);
    ~WindowController() override;

    // Closes any open popup, then shows a new one on `tab` with `content` (ownership taken).
    void open(PopupTab tab, QWidget* content);
    // Closes the popup if any; with `hideApp` also gives the focus back to the window that was
    // active when the popup opened. Every step runs even when nothing is open.
    void close(bool hideApp);
    // Moves the open overlay next to the pointer, inside the visible area of the pointer's
    // screen. A floating window asks for the middle of the primary screen: X11 window managers
    // put it there, Wayland compositors place it themselves.
    void positionAtCursor();
    // Gives `window` the appearance of the "themeMode" setting.
    void applyTheme(QWidget* window) const;

    // The tab the popup was last opened on.
    PopupTab activeTab() const { return m_activeTab; }
    PopupWindow* window() const;
    bool isOpen() const;

    // Run at the end of every close.
    std::function<void()> onClosed;

Q_SIGNALS:
    void opened();
    void closed();

private:
    SettingsStore& m_settings;
    Workspace& m_workspace;
    PopupStyle m_style;
    QPointer<PopupWindow> m_window;
    PopupTab m_activeTab = PopupTab::clipboard;
};

} // namespace tessel
