// SPDX-License-Identifier: GPL-3.0-or-later
#include "paste/PasteSimulator.h"

#include "core/FixedDiagnostics.h"
#include "core/Log.h"
#include "core/SettingsStore.h"
#include "core/Workspace.h"
#include "paste/KeySynthesizer.h"
#include "paste/SoundPlayer.h"
#include "paste/TerminalClasses.h"

#include <QPointer>

using namespace Qt::StringLiterals;

namespace tessel {

PasteSimulator::PasteSimulator(SettingsStore& settings, KeySynthesizer& synthesizer,
                               Workspace& workspace, SoundPlayer& sound, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_synthesizer(synthesizer)
    , m_workspace(workspace)
    , m_sound(sound)
{
    m_pendingPaste.setSingleShot(true);
    // The key-down/key-up pair needs the moment to be right, not merely roughly right.
    m_pendingPaste.setTimerType(Qt::PreciseTimer);
    connect(&m_pendingPaste, &QTimer::timeout, this, &PasteSimulator::paste);
}

bool PasteSimulator::shouldAutoPaste() const
{
    return m_settings.value(settings::pasteOnSelect);
}

void PasteSimulator::schedulePaste(std::chrono::milliseconds delay)
{
    if (!shouldAutoPaste())
        return;
    // Restarting replaces the pending paste: only the last pick is pasted.
    m_pendingPaste.start(delay);
}

void PasteSimulator::paste()
{
    if (!m_synthesizer.isAvailable()) {
        finish(u"synthetic input is not available in this session (no X11 display with XTEST)"_s);
        return;
    }
    const PasteChord chord = TerminalClasses::isTerminal(m_workspace.focusedApplicationIds())
                                 ? PasteChord::controlShiftV
                                 : PasteChord::controlV;
    QPointer<PasteSimulator> self(this);
    m_synthesizer.sendPaste(chord, [self](const QString& error) {
        if (self)
            self->finish(error);
    });
}

void PasteSimulator::finish(const QString& error)
{
    if (!error.isEmpty()) {
        FixedDiagnostics::pasteFallbackFailed(error);
        return;
    }
    qCDebug(lcPaste, "paste chord sent");
    Q_EMIT pasted();
    if (m_settings.value(settings::playSoundEffects))
        m_sound.playPop();
}

} // namespace tessel
