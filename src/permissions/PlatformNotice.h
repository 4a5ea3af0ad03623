// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace tessel {

class PermissionManager;
class SettingsStore;

// The explanation owed to a user whose desktop holds back some of Tessel (shortcuts, auto-paste):
// shown until they dismiss it, once for each kind of limitation. Main thread only.
class PlatformNotice {
public:
    PlatformNotice(SettingsStore& settings, const PermissionManager& permissions);

    // The key of the note still to show; empty where the session is not limited or the user has
    // dismissed this note before.
    QString pendingNoteKey() const;
    bool isPending() const { return !pendingNoteKey().isEmpty(); }
    // Remembers that the user has read the current note, keeping the notes read before.
    void dismiss();

private:
    QStringList seenNotes() const;

    SettingsStore& m_settings;
    const PermissionManager& m_permissions;
};

} // namespace tessel
