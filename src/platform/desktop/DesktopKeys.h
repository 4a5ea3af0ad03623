// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <utility>

namespace tessel::desktop {

// A shortcut (an X keysym and ShortcutModifier bits) in the words each desktop's shortcut service
// takes it in.
namespace DesktopKeys {

// The key as Qt 5 numbers it, with its modifiers or'ed in, as KDE's global shortcut service
// stores it; 0 when the keysym has no Qt key.
int qtKeyCombination(quint32 keysym, quint32 modifiers);
// The inverse: the keysym and modifiers of a Qt key combination; keysym 0 when unknown.
std::pair<quint32, quint32> fromQtKeyCombination(int combination);

// GSettings' accelerator form, as GNOME's keyboard settings write it: "<Super><Shift>v". Empty
// when the keysym has no name.
QString gnomeAccelerator(quint32 keysym, quint32 modifiers);

// The shortcuts portal's trigger form (the XDG shortcuts specification): "LOGO+SHIFT+v". Empty
// when the keysym has no name.
QString portalTrigger(quint32 keysym, quint32 modifiers);

} // namespace DesktopKeys
} // namespace tessel::desktop
