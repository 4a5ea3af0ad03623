#pragma once

#include <memory>

class QObject;

namespace tessel {

class Pasteboard;
class Workspace;

// Picks the implementation of each platform service for the session Tessel runs in ("xcb" gets
// the X11 ones; elsewhere the services that need X11 say they are unsupported).
namespace PlatformServices {

bool isX11();
std::unique_ptr<Pasteboard> createPasteboard();
std::unique_ptr<Workspace> createWorkspace();

} // namespace PlatformServices
} // namespace tessel
