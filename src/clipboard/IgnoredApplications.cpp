// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/IgnoredApplications.h"

#include "core/SettingsStore.h"

namespace tessel::IgnoredApplications {

namespace {
QStringList normalised(const QStringList& ids)
{
    QStringList result;
    for (const QString& id : ids) {
        const QString trimmed = id.trimmed();
        if (!trimmed.isEmpty() && !result.contains(trimmed, Qt::CaseInsensitive))
            result.append(trimmed);
    }
    return result;
}
} // namespace

QStringList list(const SettingsStore& settings)
{
    return normalised(settings.value(settings::ignoredApplications).split(u'\n'));
}

void setList(SettingsStore& settings, const QStringList& ids)
{
    const QStringList kept = normalised(ids);
    if (kept.isEmpty())
        settings.remove(settings::ignoredApplications.name);
    else
        settings.set(settings::ignoredApplications, kept.join(u'\n'));
}

bool add(SettingsStore& settings, const QString& id)
{
    QStringList ids = list(settings);
    const QString trimmed = id.trimmed();
    if (trimmed.isEmpty() || ids.contains(trimmed, Qt::CaseInsensitive))
        return false;
    ids.append(trimmed);
    setList(settings, ids);
    return true;
}

void remove(SettingsStore& settings, const QString& id)
{
    QStringList ids = list(settings);
    ids.removeIf([&](const QString& listed) {
        return listed.compare(id.trimmed(), Qt::CaseInsensitive) == 0;
    });
    setList(settings, ids);
}

bool matches(const QStringList& ids, const QString& applicationId)
{
    if (applicationId.isEmpty())
        return false;
    const QStringList parts = applicationId.split(u'.', Qt::SkipEmptyParts);
    for (const QString& id : ids) {
        if (applicationId.compare(id, Qt::CaseInsensitive) == 0 ||
            parts.contains(id, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace tessel::IgnoredApplications
