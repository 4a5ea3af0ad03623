// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/WindowController.h"

#include "core/SettingsStore.h"
#include "core/Workspace.h"
#include "ui/style/Theme.h"
#include "window/PopupPlacement.h"
#include "window/PopupWindow.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace tessel {

WindowController::WindowController(SettingsStore& settings, Workspace& workspace, PopupStyle style,
                                   QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_workspace(workspace)
    , m_style(style)
{}

WindowController::~WindowController()
{
    delete m_window.data();
}

PopupWindow* WindowController::window() const
{
    return m_window.data();
}

bool WindowController::isOpen() const
{
    const PopupWindow* window = m_window.data();
    return window && window->isVisible();
}

void WindowController::open(PopupTab tab, QWidget* content)
{
    close(true);
    m_activeTab = tab;
    m_workspace.rememberActiveWindow();
    auto* window = new PopupWindow(content, m_style);
    applyTheme(window);
    m_window = window;
    // Qt closes a popup by itself on a click outside; that counts as a close with hand-back.
    connect(window, &PopupWindow::dismissed, this, [this, window] {
        if (m_window == window)
            close(true);
    });
    connect(window, &PopupWindow::escapePressed, this, [this] { close(true); });
    positionAtCursor();
    window->show();
    QPointer<PopupWindow> weak(window);
    QTimer::singleShot(0, this, [this, weak] {
        PopupWindow* shown = weak.data();
        if (!shown || m_window.data() != shown)
            return;
        shown->raise();
        shown->activateWindow();
        QWidget* root = shown->content();
        if (!root)
            return;
        QWidget* focus = root->focusProxy() ? root->focusProxy() : root;
        focus->setFocus(Qt::PopupFocusReason);
    });
    Q_EMIT opened();
}

void WindowController::close(bool hideApp)
{
    if (PopupWindow* window = m_window.data()) {
        m_window.clear();
        window->disconnect(this);
        window->close();
    }
    if (hideApp)
        m_workspace.restoreFocus();
    if (onClosed)
        onClosed();
    Q_EMIT closed();
}

void WindowController::positionAtCursor()
{
    PopupWindow* window = m_window.data();
    if (!window)
        return;
    QList<ScreenArea> screens;
    int primaryIndex = -1;
    const auto all = QGuiApplication::screens();
    for (QScreen* screen : all) {
        if (screen == QGuiApplication::primaryScreen())
            primaryIndex = int(screens.size());
        screens.append({screen->geometry(), screen->availableGeometry()});
    }
    const auto origin = window->style() == PopupStyle::overlayAtPointer
                            ? popupOrigin(QCursor::pos(), window->size(), screens, primaryIndex)
                            : centredOrigin(window->size(), screens, primaryIndex);
    if (origin)
        window->move(*origin);
}

void WindowController::applyTheme(QWidget* window) const
{
    Theme::apply(window, m_settings.value(settings::themeMode));
}

} // namespace tessel
