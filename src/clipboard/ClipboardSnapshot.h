// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace tessel {

// The contents of one clipboard change, read completely before the history looks at them.
struct ClipboardSnapshot {
    // The pasteboard's change count this snapshot belongs to.
    qint64 changeCount = 0;
    // Every type identifier on offer (protocol targets left out), in the owner's order.
    QStringList types;
    // The bytes of the image types that were read and fit the payload limit; a type that is
    // offered but missing here was too large or unreadable.
    QHash<QString, QByteArray> data;
    // The plain text, when offered, readable and within the payload limit.
    std::optional<QString> text;
    // The application that was active when the change was seen (Workspace's identifier).
    QString applicationId;
    // The clipboard is empty because the program that owned it went away (it quit, or the window
    // it held the clipboard with closed), not because a program emptied it.
    bool ownerGone = false;

    // What another client's clipboard offered under `type`, as a pasteboard answers for it:
    // an image's bytes, or the plain text as UTF-8.
    std::optional<QByteArray> bytesFor(const QString& type) const;
    // The plain text as read, or another type's bytes decoded as UTF-8.
    std::optional<QString> stringFor(const QString& type) const;
};

} // namespace tessel
