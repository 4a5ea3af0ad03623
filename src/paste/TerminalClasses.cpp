// SPDX-License-Identifier: GPL-3.0-or-later
#include "paste/TerminalClasses.h"

#include <QLatin1StringView>
#include <array>

using namespace Qt::StringLiterals;

namespace tessel::TerminalClasses {

namespace {
// Lower-case WM_CLASS instance or class names, and Wayland app_ids, of terminal emulators that
// paste the clipboard with Ctrl+Shift+V. (xterm and rxvt have no clipboard chord by default, so
// they are not here.)
constexpr std::array kTerminals{
    "gnome-terminal"_L1,
    "gnome-terminal-server"_L1,
    "org.gnome.terminal"_L1,
    "kgx"_L1, // GNOME Console
    "org.gnome.console"_L1,
    "konsole"_L1,
    "org.kde.konsole"_L1,
    "xfce4-terminal"_L1,
    "tilix"_L1,
    "com.gexperts.tilix"_L1,
    "terminator"_L1,
    "alacritty"_L1,
    "kitty"_L1,
    "org.wezfurlong.wezterm"_L1,
    "wezterm"_L1,
    "wezterm-gui"_L1,
    "foot"_L1,
    "footclient"_L1,
    "org.codeberg.dnkl.foot"_L1,
    "org.codeberg.dnkl.footclient"_L1,
    "mate-terminal"_L1,
    "lxterminal"_L1,
    "qterminal"_L1,
    "lxqt.qterminal"_L1,
    "terminology"_L1,
    "org.xfce.terminal"_L1,
    "org.kde.kitty"_L1,
    "sakura"_L1,
    "guake"_L1,
    "tilda"_L1,
    "yakuake"_L1,
    "org.kde.yakuake"_L1,
    "deepin-terminal"_L1,
    "io.elementary.terminal"_L1,
    "com.raggesilver.blackbox"_L1,
    "ghostty"_L1,
    "com.mitchellh.ghostty"_L1,
    "contour"_L1,
    "cool-retro-term"_L1,
    "st"_L1,
    "st-256color"_L1,
    "termite"_L1,
    "roxterm"_L1,
};
} // namespace

bool isTerminal(const QStringList& wmClass)
{
    for (const QString& name : wmClass) {
        const QString lower = name.toLower();
        for (const QLatin1StringView terminal : kTerminals) {
            if (lower == terminal)
                return true;
        }
    }
    return false;
}

} // namespace tessel::TerminalClasses
