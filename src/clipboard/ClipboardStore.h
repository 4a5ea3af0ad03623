#pragma once

#include "clipboard/ClipboardEntry.h"

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
    // Uses (and creates) `appSupportDir` and its "images" directory.
    explicit ClipboardStore(QString appSupportDir, QObject* parent = nullptr);
    // Waits for the saves still queued.
    ~ClipboardStore() override;

    const QString& appSupportDir() const { return m_appSupportDir; }
    const QString& imagesDir() const { return m_imagesDir; }
    const QString& registryURL() const { return m_registryURL; }

    // The entries of the registry, in file order, with fresh ids. A missing registry gives an
    // empty list; one that cannot be read or parsed is moved aside
    // ("registry.json.corrupt-<UTC time>") so that the next save does not destroy it.
    ClipboardEntryList load();

    // Returns at once: a snapshot of the entries is written in the background. Images written
    // for the first time are handed back to their entries on the main thread (`imageFileURL`
    // set, bytes dropped from memory); `saveFinished` follows.
    void save(const ClipboardEntryList& entries);

    // A blob's file name: the content hash plus ".png", whatever the image format.
    static QString blobFileName(const QString& hash);
    // Where the blob of content with `hash` lives.
    QString blobPathForHash(const QString& hash) const;

    // Removes the blob of an image entry (its hash plus ".png"); failures are ignored.
    void deleteImageBlob(const ClipboardEntry& entry);

    // The blob file the entry's image is kept in: its file location, or where its first save
    // will put it.
    QString blobPath(const ClipboardEntry& entry) const;

    // Blocks until every queued save is on disk, at most `msecs`; false on time-out.
    bool waitForPendingSaves(int msecs);

Q_SIGNALS:
    // After a save's files are written and its images handed back (main thread).
    void saveFinished();

private:
    QString m_appSupportDir;
    QString m_imagesDir;
    QString m_registryURL;
    QThreadPool m_writer;
};

} // namespace tessel
