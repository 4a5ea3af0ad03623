// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window/PopupTab.h"

#include <QAbstractButton>

namespace tessel {

// One button of the popup's tab row: the tab's symbol over an indicator bar, blue when active,
// with a faint background while hovered (unless active). No text label. For screen readers a
// page tab, checked while active; Tab reaches it, a click never leaves the active tab.
class TabButton : public QAbstractButton {
    Q_OBJECT

public:
    TabButton(PopupTab tab, QWidget* parent = nullptr);

    PopupTab tab() const { return m_tab; }
    void setActive(bool active);
    bool isActive() const { return isChecked(); }
    static QString symbolFor(PopupTab tab);
    // The text id of the tab's name (its tool tip).
    static const char* titleId(PopupTab tab);

    QSize sizeHint() const override;

protected:
    void nextCheckState() override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    PopupTab m_tab;
    bool m_hovered = false;
};

} // namespace tessel
