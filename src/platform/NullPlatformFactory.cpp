// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NullPlatformFactory.h"

#include "platform/NullServices.h"
#include "platform/QtPasteboard.h"

#include <QGuiApplication>

using namespace Qt::StringLiterals;

namespace tessel {

QString NullPlatformFactory::name() const
{
    return u"null"_s;
}

PlatformCapabilities NullPlatformFactory::capabilities() const
{
    return {};
}

std::unique_ptr<Pasteboard> NullPlatformFactory::createPasteboard()
{
    return std::make_unique<QtPasteboard>(QGuiApplication::clipboard());
}

std::unique_ptr<Workspace> NullPlatformFactory::createWorkspace()
{
    return std::make_unique<NullWorkspace>();
}

std::unique_ptr<HotkeyBackend> NullPlatformFactory::createHotkeyBackend()
{
    return std::make_unique<NullHotkeyBackend>();
}

std::unique_ptr<KeySynthesizer> NullPlatformFactory::createKeySynthesizer()
{
    return std::make_unique<NullKeySynthesizer>();
}

std::function<bool()> NullPlatformFactory::createTrustProbe()
{
    return [] { return false; };
}

} // namespace tessel
