// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace tessel {

class SettingsStore;

// The applications whose copies are never recorded, as the user lists them in the preferences,
// next to the password managers the capture filter knows by itself. They are kept in the
// settings one identifier a line, and named as Workspace names the application in front: on X11
// "instance.class" of its window, on Wayland its app_id.
namespace IgnoredApplications {

// The list in the order the user added it.
QStringList list(const SettingsStore& settings);
// Stores `ids` trimmed, without empty lines or repeats (letter case aside), in their order.
void setList(SettingsStore& settings, const QStringList& ids);
// Adds `id` at the end unless it is listed already; false when it was (or is blank).
bool add(SettingsStore& settings, const QString& id);
void remove(SettingsStore& settings, const QString& id);

// Whether the application `applicationId` is one of `ids`, letter case aside: the whole
// identifier, or one of its parts between dots, so that "keepassxc" names both X11's
// "keepassxc.KeePassXC" and Wayland's "org.keepassxc.KeePassXC".
bool matches(const QStringList& ids, const QString& applicationId);

} // namespace IgnoredApplications
} // namespace tessel
