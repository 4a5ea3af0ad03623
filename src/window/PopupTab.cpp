// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/PopupTab.h"

using namespace Qt::StringLiterals;

namespace tessel {

QString rawValue(PopupTab tab)
{
    switch (tab) {
    case PopupTab::clipboard:
        return u"clipboard"_s;
    case PopupTab::emoji:
        return u"emoji"_s;
    case PopupTab::kaomoji:
        return u"kaomoji"_s;
    case PopupTab::symbols:
        return u"symbols"_s;
    case PopupTab::favorites:
        return u"favorites"_s;
    }
    return {};
}

std::optional<PopupTab> popupTabFromRaw(const QString& raw)
{
    for (PopupTab tab : allPopupTabs) {
        if (rawValue(tab) == raw)
            return tab;
    }
    return std::nullopt;
}

bool isPickerTab(PopupTab tab)
{
    return tab == PopupTab::emoji || tab == PopupTab::kaomoji || tab == PopupTab::symbols;
}

} // namespace tessel
