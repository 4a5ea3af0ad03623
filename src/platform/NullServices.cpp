// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NullServices.h"

using namespace Qt::StringLiterals;

namespace tessel {

void NullHotkeyBackend::registerHotkey(int id, quint32, quint32)
{
    Q_EMIT registrationChanged(id, false);
}

void NullKeySynthesizer::sendPaste(PasteChord, Completion done)
{
    done(u"synthetic input is not supported in this session"_s);
}

} // namespace tessel
