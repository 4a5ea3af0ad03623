// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardEntry.h"
#include "core/Result.h"

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QThreadPool>

namespace tessel {

// Keeps the history on disk: "registry.json" lists the entries in history order, and each image
// is a blob in "images/", named by its content hash plus ".png". Loading is synchronous; every
// save is written on one background thread, in the order the saves were asked for. Everything the
// store creates is private to the user (directories 0700, files 0600).
class ClipboardStore : public QObject {
    Q_OBJECT

public:
    // The largest registry and blob that are read; anything bigger is refused. A save never
    // writes a larger registry.
    static constexpr qint64 maxRegistryBytes = 512LL * 1024 * 1024;
    static constexpr qint64 maxBlobBytes = ClipboardEntry::maxImageFileBytes;

    // Uses (and creates) `appSupportDir` and its "images" directory.
    explicit ClipboardStore(QString appSupportDir, QObject* parent = nullptr);
    // Waits for the saves still queued.
    ~ClipboardStore() override;

    const QString& appSupportDir() const { return m_appSupportDir; }
    const QString& imagesDir() const { return m_imagesDir; }
    const QString& registryURL() const { return m_registryURL; }
    // The largest registry read, `maxRegistryBytes` unless a test sets a smaller one.
    void setMaxRegistryBytes(qint64 bytes) { m_maxRegistryBytes = bytes; }

    // The entries of the registry, in file order, with fresh ids. A missing registry gives an
    // empty list; one that cannot be read or parsed, or is no regular file, is moved aside
    // ("registry.json.corrupt-<UTC time>") so that the next save does not destroy it. After a
    // registry is read, blobs that no entry names are removed.
    ClipboardEntryList load();

    // Returns at once: a snapshot of the entries is written in the background, leaving out what
    // would make the registry larger than is read back (`entriesLeftOut` says which). Images
    // written for the first time are handed back to their entries on the main thread
    // (`imageFileURL` set, bytes dropped from memory); an image whose blob could not be written
    // keeps its bytes for the next save. `saveFinished` follows.
    void save(const ClipboardEntryList& entries);

    // How the last finished save went; its failure stays until a save succeeds.
    const Result& lastSave() const { return m_lastSave; }

    // A blob's file name: the content hash plus ".png", whatever the image format.
    static QString blobFileName(const QString& hash);
    // Where the blob of content with `hash` lives.
    QString blobPathForHash(const QString& hash) const;

    // Removes the blob of an image entry (its hash plus ".png"); failures are ignored. A save
    // already under way does not write it again.
    void deleteImageBlob(const ClipboardEntry& entry);

    // The blob file the entry's image is kept in: its file location, or where its first save
    // will put it.
    QString blobPath(const ClipboardEntry& entry) const;

    // Blocks until every queued save is on disk, at most `msecs`; false on time-out.
    bool waitForPendingSaves(int msecs);

Q_SIGNALS:
    // After a save's files are written and its images handed back (main thread).
    void saveFinished();
    // Entries a save left out so that the registry stays within the size that is read back:
    // the oldest unpinned first (main thread).
    void entriesLeftOut(const ClipboardEntryList& entries);
    // Saving started failing (with what went wrong) or works again (an empty message).
    void saveProblemChanged(const QString& message);

private:
    struct Snapshot;
    struct Outcome;
    Outcome write(const Snapshot& snapshot);
    // Whether the blob of `hash` was deleted after snapshot `sequence` was taken.
    bool deletedSince(const QString& hash, quint64 sequence) const;
    void finishSave(const Outcome& outcome);
    void removeUnnamedBlobs(const ClipboardEntryList& entries);

    QString m_appSupportDir;
    QString m_imagesDir;
    QString m_registryURL;
    Result m_lastSave = Result::success();
    qint64 m_maxRegistryBytes = maxRegistryBytes;
    // Saves are numbered as their snapshots are taken; a deleted blob remembers the number of
    // the last snapshot that still held it, so that snapshot cannot bring it back.
    quint64 m_saveSequence = 0;
    mutable QMutex m_blobLock;
    QHash<QString, quint64> m_deletedBlobs;
    QThreadPool m_writer;
};

} // namespace tessel
