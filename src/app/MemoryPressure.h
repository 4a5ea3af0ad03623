// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace tessel {

// Tells when the desktop says memory is short: the LowMemoryWarning signal of the desktop
// portal's memory monitor on the session bus. Nothing is ever told where no portal runs.
class MemoryPressure : public QObject {
    Q_OBJECT

public:
    explicit MemoryPressure(QObject* parent = nullptr);

    // Starts listening on the session bus; false when there is none. Waits for no answer, so a
    // bus that does not answer costs nothing here.
    bool watchSessionBus();

Q_SIGNALS:
    // Memory is short; the higher `level` (up to 255), the shorter.
    void low(int level);

private Q_SLOTS:
    void onLowMemoryWarning(uchar level);
};

} // namespace tessel
