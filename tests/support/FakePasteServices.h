// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paste/KeySynthesizer.h"
#include "paste/SoundPlayer.h"

#include <QList>

namespace tessel::test {

// Records the chords it would type; unavailable or failing on request.
class FakeKeySynthesizer final : public KeySynthesizer {
public:
    bool isAvailable() const override { return available; }
    void sendPaste(PasteChord chord, Completion done) override
    {
        chords.append(chord);
        done(error);
    }
    bool available = true;
    QString error;
    QList<PasteChord> chords;
};

class CountingSoundPlayer final : public SoundPlayer {
public:
    void playPop() override { ++pops; }
    int pops = 0;
};

} // namespace tessel::test
