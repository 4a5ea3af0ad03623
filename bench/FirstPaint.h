// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window/PopupWindow.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QObject>
#include <QWidget>

namespace tessel::bench {

// Installed on the application, notes the first paint of a `View`'s viewport inside a popup
// window: the moment the user first sees the list or grid.
template <typename View> class FirstPaint : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (qobject_cast<PopupWindow*>(widget->window()) &&
                qobject_cast<View*>(widget->parentWidget()))
                painted = true;
        }
        return false;
    }
};

} // namespace tessel::bench
