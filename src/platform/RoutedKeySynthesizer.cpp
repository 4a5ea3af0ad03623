// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RoutedKeySynthesizer.h"

namespace tessel {

RoutedKeySynthesizer::RoutedKeySynthesizer(std::unique_ptr<KeySynthesizer> own,
                                           std::unique_ptr<KeySynthesizer> other,
                                           std::function<bool()> ownReaches)
    : m_own(std::move(own))
    , m_other(std::move(other))
    , m_ownReaches(std::move(ownReaches))
{}

bool RoutedKeySynthesizer::isAvailable() const
{
    return m_own->isAvailable() || m_other->isAvailable();
}

void RoutedKeySynthesizer::sendPaste(PasteChord chord, Completion done)
{
    const bool own = m_own->isAvailable() && (m_ownReaches() || !m_other->isAvailable());
    (own ? m_own : m_other)->sendPaste(chord, std::move(done));
}

} // namespace tessel
