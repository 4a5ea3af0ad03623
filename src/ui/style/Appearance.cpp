// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/style/Appearance.h"

#include "core/ColourSchemeSource.h"
#include "core/SettingsStore.h"
#include "ui/style/ControlStyle.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace tessel {

Appearance::Appearance(SettingsStore& settings, ColourSchemeSource* desktop, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_desktop(desktop)
{
    if (!qobject_cast<ControlStyle*>(QApplication::style()))
        QApplication::setStyle(new ControlStyle);
    connect(&m_settings, &SettingsStore::changed, this, [this](const QString& key) {
        if (key == settings::themeMode.name)
            update();
    });
    if (desktop)
        connect(desktop, &ColourSchemeSource::preferenceChanged, this, &Appearance::update);
    update();
}

QString Appearance::mode() const
{
    switch (m_scheme) {
    case Theme::Scheme::dark:
        return u"dark"_s;
    case Theme::Scheme::light:
        return u"light"_s;
    case Theme::Scheme::system:
        break;
    }
    return u"system"_s;
}

void Appearance::update()
{
    Theme::Scheme scheme = Theme::schemeFor(m_settings.value(settings::themeMode));
    const ColourSchemeSource* desktop = m_desktop.data();
    if (scheme == Theme::Scheme::system && desktop) {
        switch (desktop->preference()) {
        case ColourSchemeSource::Preference::dark:
            scheme = Theme::Scheme::dark;
            break;
        case ColourSchemeSource::Preference::light:
            scheme = Theme::Scheme::light;
            break;
        case ColourSchemeSource::Preference::none:
            break;
        }
    }
    if (m_applied && scheme == m_scheme)
        return;
    m_scheme = scheme;
    m_applied = true;
    Theme::applyToApplication(scheme == Theme::Scheme::system
                                  ? Theme::mended(Theme::desktopPalette())
                                  : Theme::palette(scheme));
    Q_EMIT changed();
}

} // namespace tessel
