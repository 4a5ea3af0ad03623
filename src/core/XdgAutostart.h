// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/LoginItems.h"

#include <QStringList>

namespace tessel {

// Launch at login through XDG autostart: the user's $XDG_CONFIG_HOME/autostart/tessel.desktop.
// It is enabled when the user's entry exists without Hidden=true, or, without a user entry, when a
// system entry in $XDG_CONFIG_DIRS/autostart does. Disabling removes the user's entry, or writes
// one with Hidden=true when a system entry would otherwise still start Tessel.
class XdgAutostart final : public LoginItems {
public:
    // `executable` is what the entry starts (an absolute path; quoted as desktop entries need).
    explicit XdgAutostart(QString executable);

    bool isEnabled() const override;
    bool setEnabled(bool enabled) override;
    QString errorString() const override { return m_error; }

    // The user's entry.
    static QString userEntryPath();
    // The system entries that apply, most important first.
    static QStringList systemEntryPaths();

    // The entry's text for `executable`, optionally hidden.
    static QByteArray desktopEntry(const QString& executable, bool hidden);
    // True when `entry` has Hidden=true in its [Desktop Entry] group.
    static bool isHidden(const QByteArray& entry);

private:
    bool write(const QByteArray& contents);

    QString m_executable;
    QString m_error;
};

} // namespace tessel
