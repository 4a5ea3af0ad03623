// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardSnapshot.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

namespace tessel {

// Bytes of one type made only when a program asks for them, such as an image converted to another
// format: each transfer makes them anew and nothing keeps them afterwards. Nothing when they
// cannot be made. Called on any thread.
using PasteboardProducer = std::function<std::optional<QByteArray>()>;

// One type of an item: its bytes, or the producer that makes them on request.
struct PasteboardValue {
    QString type;
    QByteArray bytes = {};
    PasteboardProducer producer = {};

    bool isDeferred() const { return bool(producer); }
    // The bytes, made now when they are made on request.
    std::optional<QByteArray> resolve() const;
};

// Ordered type identifiers with their values: what one write puts on the pasteboard. Text is
// stored as UTF-8.
class PasteboardItem {
public:
    void setData(const QString& type, const QByteArray& bytes);
    void setString(const QString& type, const QString& text) { setData(type, text.toUtf8()); }
    // Offers `type` with bytes that `producer` makes when a program asks for them.
    void setDeferred(const QString& type, PasteboardProducer producer);

    bool isEmpty() const { return m_values.isEmpty(); }
    QStringList types() const;
    // The bytes under `type`, made now when they are made on request.
    std::optional<QByteArray> data(const QString& type) const;
    const QList<PasteboardValue>& values() const { return m_values; }

private:
    void set(PasteboardValue value);

    QList<PasteboardValue> m_values;
};

// The system-wide clipboard shared with every other application. Main thread only.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    // Moves on every clear or write by any client, ours included, and never returns to an old
    // value; an equal value means unchanged contents.
    virtual qint64 changeCount() const = 0;

    // The type identifiers of the current contents; empty when there are none or they cannot
    // be read.
    virtual QStringList types() const = 0;

    // The bytes under `type`, or nothing when the type is absent or unreadable.
    virtual std::optional<QByteArray> dataForType(const QString& type) const = 0;

    // The text under `type`, or nothing when absent or unreadable.
    virtual std::optional<QString> stringForType(const QString& type) const = 0;

    // Empties the contents (changes the change count).
    virtual void clearContents() = 0;

    // Replaces the contents with the item's pairs (changes the change count). An empty item
    // leaves the contents empty.
    virtual void writeItem(const PasteboardItem& item) = 0;

    using SnapshotHandler = std::function<void(const ClipboardSnapshot&)>;

    // True when the pasteboard reports other clients' changes itself, each with its contents
    // read away from the main thread; false when it has to be polled through changeCount().
    virtual bool reportsChanges() const { return false; }

    // Where reported changes go, on the main thread; an empty handler stops the reports. Our
    // own writes are never reported. Does nothing on a pasteboard that does not report changes.
    virtual void setSnapshotHandler(SnapshotHandler handler) { Q_UNUSED(handler) }

    // Keeping the contents of a program that went away. A pasteboard that can reports such a
    // program's going with a snapshot marked `ownerGone`.
    virtual bool canKeepContents() const { return false; }

    // Serves `item` in place of a program that went away, only while no other program owns the
    // clipboard: it never takes the clipboard from anyone, and gives way at once to the next
    // program that copies. Returns at once; serving never waits on the main thread for the
    // programs that paste. The same contents coming back, it is no change: the change count
    // stays, and nothing is reported. Does nothing where contents cannot be kept.
    virtual void keepContents(const PasteboardItem& item) { Q_UNUSED(item) }

    // Answers a program that is about to quit and asks to leave its clipboard with us: true when
    // its contents are kept. To be called once.
    using KeepAnswer = std::function<void(bool kept)>;
    // Where such requests go, on the main thread, once every change made before the request has
    // been reported. Nothing asks where the platform has no such hand-over.
    virtual void setKeepRequestHandler(std::function<void(KeepAnswer answer)> handler)
    {
        Q_UNUSED(handler)
    }
};

} // namespace tessel
