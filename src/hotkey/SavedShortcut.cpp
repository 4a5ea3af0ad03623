// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkey/SavedShortcut.h"

#include "hotkey/KeyCodeTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <limits>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
std::optional<quint32> readUInt32(const QJsonObject& object, QLatin1StringView name)
{
    const QJsonValue value = object.value(name);
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number < 0 || number > std::numeric_limits<quint32>::max() ||
        number != static_cast<double>(static_cast<quint32>(number)))
        return std::nullopt;
    return static_cast<quint32>(number);
}
} // namespace

QByteArray SavedShortcut::toJson() const
{
    const QJsonObject object{{u"keyCode"_s, static_cast<qint64>(keyCode)},
                             {u"carbonModifiers"_s, static_cast<qint64>(carbonModifiers)},
                             {u"displayKeys"_s, QJsonArray::fromStringList(displayKeys)}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<SavedShortcut> SavedShortcut::fromJson(const QByteArray& json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const auto keyCode = readUInt32(object, "keyCode"_L1);
    const auto modifiers = readUInt32(object, "carbonModifiers"_L1);
    const QJsonValue keys = object.value("displayKeys"_L1);
    if (!keyCode || !modifiers || !keys.isArray())
        return std::nullopt;
    SavedShortcut shortcut{*keyCode, *modifiers, {}};
    for (const QJsonValue& key : keys.toArray()) {
        if (!key.isString())
            return std::nullopt;
        shortcut.displayKeys.append(key.toString());
    }
    return shortcut;
}

QStringList SavedShortcut::keyCapNames() const
{
    static const std::pair<quint32, QLatin1StringView> names[] = {
        {ShortcutModifier::command, "Super"_L1},
        {ShortcutModifier::control, "Ctrl"_L1},
        {ShortcutModifier::option, "Alt"_L1},
        {ShortcutModifier::shift, "Shift"_L1}};
    QStringList keys;
    for (const auto& [bit, name] : names) {
        if (carbonModifiers & bit)
            keys.append(name);
    }
    keys.append(KeyCodeTable::keyName(static_cast<quint16>(keyCode)));
    return keys;
}

QList<KeyLabel> SavedShortcut::keyCapLabels() const
{
    //% "Super"
    const char* super = QT_TRID_NOOP("key_super");
    //% "Ctrl"
    const char* ctrl = QT_TRID_NOOP("key_ctrl");
    //% "Alt"
    const char* alt = QT_TRID_NOOP("key_alt");
    //% "Shift"
    const char* shift = QT_TRID_NOOP("key_shift");
    const std::pair<quint32, const char*> names[] = {{ShortcutModifier::command, super},
                                                     {ShortcutModifier::control, ctrl},
                                                     {ShortcutModifier::option, alt},
                                                     {ShortcutModifier::shift, shift}};
    QList<KeyLabel> labels;
    for (const auto& [bit, id] : names) {
        if (carbonModifiers & bit)
            labels.append(KeyLabel{id, {}});
    }
    labels.append(KeyCodeTable::keyLabel(static_cast<quint16>(keyCode)));
    return labels;
}

QString SavedShortcut::text() const
{
    return keyCapNames().join(u'+');
}

SavedShortcut SavedShortcut::defaultClipboard()
{
    return {9, ShortcutModifier::command | ShortcutModifier::shift, {u"⌘"_s, u"⇧"_s, u"V"_s}};
}

SavedShortcut SavedShortcut::defaultEmoji()
{
    return {47, ShortcutModifier::command | ShortcutModifier::shift, {u"⌘"_s, u"⇧"_s, u"."_s}};
}

} // namespace tessel
