// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PlatformFactory.h"

#include "core/XdgAutostart.h"
#include "hotkey/DesktopKeybindings.h"
#include "platform/CanberraSoundPlayer.h"

#include <QCoreApplication>

namespace tessel {

std::unique_ptr<SoundPlayer> PlatformFactory::createSoundPlayer()
{
    return std::make_unique<CanberraSoundPlayer>(CanberraSoundPlayer::shippedPopFile());
}

std::unique_ptr<LoginItems> PlatformFactory::createLoginItems()
{
    return std::make_unique<XdgAutostart>(QCoreApplication::applicationFilePath());
}

std::unique_ptr<DesktopKeybindings> PlatformFactory::createDesktopKeybindings()
{
    return m_desktop.keybindings ? m_desktop.keybindings() : nullptr;
}

} // namespace tessel
