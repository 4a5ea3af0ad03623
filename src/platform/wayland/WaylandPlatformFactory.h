#pragma once

#include "platform/NullPlatformFactory.h"

#include <QStringList>

namespace tessel::wayland {

// The services of a native Wayland session, each built on the protocols the compositor offers
// (`globals`, the interface names it announced); a service whose protocol is missing reports
// itself unsupported, as in a session without a backend.
class WaylandPlatformFactory final : public NullPlatformFactory {
public:
    explicit WaylandPlatformFactory(QStringList globals);

    QString name() const override;
    // With data-control, a clipboard of our own that sees every copy without the focus;
    // otherwise Qt's, which only hears of copies while Tessel has the focus.
    std::unique_ptr<Pasteboard> createPasteboard() override;

    // Whether the compositor offers the global interface `name`.
    bool offers(const char* name) const;

private:
    QStringList m_globals;
};

} // namespace tessel::wayland
