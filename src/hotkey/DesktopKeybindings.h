// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Result.h"

#include <QList>
#include <QObject>
#include <functional>

namespace tessel {

// The desktop's own keyboard settings, where commands can be bound to keys (GNOME's custom
// keybindings): where the desktop gives applications no global shortcuts, Tessel keeps its two
// commands bound there, once the user agrees. Changes finish later; `done` runs on the main
// thread exactly once, unless the object is destroyed first or a newer change replaces this one
// before it finished (only the newest change's outcome is told).
class DesktopKeybindings : public QObject {
    Q_OBJECT

public:
    struct Binding {
        // A stable name of Tessel's for the binding ("toggle", "emoji").
        QString id;
        // What the desktop's settings show.
        QString name;
        // The command the desktop runs.
        QString command;
        // The keys: an X keysym and ShortcutModifier bits.
        quint32 keysym = 0;
        quint32 modifiers = 0;
    };
    using Done = std::function<void(const Result&)>;

    using QObject::QObject;
    ~DesktopKeybindings() override = default;

    // Whether this desktop has keybindings Tessel can write.
    virtual bool isOffered() const = 0;
    // Writes the bindings, replacing Tessel's earlier ones with the same ids and keeping the
    // user's other bindings.
    virtual void apply(const QList<Binding>& bindings, Done done) = 0;
    // Removes every binding Tessel wrote; the user's own stay.
    virtual void remove(Done done) = 0;
};

} // namespace tessel
