// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/style/Theme.h"

#include <QObject>
#include <QPointer>

namespace tessel {

class ColourSchemeSource;
class SettingsStore;

// The theme in force for the whole application, as the application's palette and style: the
// user's "themeMode", where "follow the system" takes Tessel's dark or light theme as the desktop
// prefers, and the desktop's own palette where the desktop states no preference or nothing
// answers. Changes as soon as either the setting or the desktop's preference does. Main thread;
// one per application.
class Appearance : public QObject {
    Q_OBJECT

public:
    // `desktop` may be null (no desktop to ask), and may be destroyed before this.
    Appearance(SettingsStore& settings, ColourSchemeSource* desktop, QObject* parent = nullptr);

    // The theme in force: dark, light, or system for the desktop's own palette.
    Theme::Scheme scheme() const { return m_scheme; }
    // The mode for Theme::apply: "dark", "light" or "system", as windows should take it.
    QString mode() const;

Q_SIGNALS:
    void changed();

private:
    void update();

    SettingsStore& m_settings;
    QPointer<ColourSchemeSource> m_desktop;
    Theme::Scheme m_scheme = Theme::Scheme::system;
    bool m_applied = false;
};

} // namespace tessel
