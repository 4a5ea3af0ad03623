// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace tessel {

// The desktop's preferred colour scheme (on Linux the settings portal's
// org.freedesktop.appearance color-scheme), which "follow the system" obeys.
class ColourSchemeSource : public QObject {
    Q_OBJECT

public:
    enum class Preference { none, dark, light };

    using QObject::QObject;
    ~ColourSchemeSource() override = default;

    // The preference last heard of; `none` until the desktop answered, where it has no
    // preference, and where nothing answers at all.
    virtual Preference preference() const = 0;

Q_SIGNALS:
    // The desktop answered for the first time, or the user changed the preference.
    void preferenceChanged();
};

} // namespace tessel
