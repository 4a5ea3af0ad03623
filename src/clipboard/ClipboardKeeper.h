// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardEntry.h"
#include "clipboard/Pasteboard.h"

#include <QObject>

namespace tessel {

class ClipboardManager;

// Keeps the clipboard alive after the program that copied goes away, as X11 and Wayland leave
// the data with that program: when it goes and leaves the clipboard empty, the entry the history
// recorded from its copy is served in its place, and a program that hands its clipboard over as
// it quits is told whether it is kept. Only what the history recorded is ever served: a copy that
// a filter passed over (transient, concealed, from a password manager or an ignored
// application), that could not be read, or whose entry was deleted leaves the clipboard empty.
// Main thread only.
class ClipboardKeeper final : public QObject {
    Q_OBJECT

public:
    ClipboardKeeper(Pasteboard& pasteboard, ClipboardManager& manager, QObject* parent = nullptr);
    ~ClipboardKeeper() override;

    // What is served for an entry: its text, or its image bytes under the type they are in (PNG,
    // or TIFF as captured), without decoding them. Empty when there is nothing.
    static PasteboardItem keptItem(const ClipboardEntry& entry, const QByteArray& imageBytes);

Q_SIGNALS:
    // `entry` was handed to the pasteboard to be served.
    void kept(const tessel::ClipboardEntryPtr& entry);

private:
    void contentsAbandoned(const ClipboardEntryPtr& entry);
    void keep(const ClipboardEntryPtr& entry, const QByteArray& imageBytes);

    Pasteboard& m_pasteboard;
    ClipboardManager& m_manager;
};

} // namespace tessel
