// SPDX-License-Identifier: GPL-3.0-or-later
#include "permissions/PlatformNotice.h"

#include "core/SettingsStore.h"
#include "permissions/PermissionManager.h"

namespace tessel {

PlatformNotice::PlatformNotice(SettingsStore& settings, const PermissionManager& permissions)
    : m_settings(settings)
    , m_permissions(permissions)
{}

QString PlatformNotice::pendingNoteKey() const
{
    const QString note = QString::fromLatin1(m_permissions.platformNoteKey());
    return note.isEmpty() || seenNotes().contains(note) ? QString() : note;
}

void PlatformNotice::dismiss()
{
    const QString note = pendingNoteKey();
    if (note.isEmpty())
        return;
    // Kept as a list, so that a user who moves between desktops is not told again on each one.
    m_settings.set(settings::seenPlatformNotes, (seenNotes() << note).join(u' '));
}

QStringList PlatformNotice::seenNotes() const
{
    return m_settings.value(settings::seenPlatformNotes).split(u' ', Qt::SkipEmptyParts);
}

} // namespace tessel
