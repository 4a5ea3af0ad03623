// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/WindowCloseKeys.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace tessel {

void addWindowCloseKeys(QWidget* window)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Close);
    // Two shortcuts of one sequence would be ambiguous, and neither would fire.
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        if (!keys.contains(key))
            keys.append(key);
    }
    for (const QKeySequence& key : keys) {
        auto* shortcut = new QShortcut(key, window);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, window, &QWidget::close);
    }
}

} // namespace tessel
