// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/ClipboardStore.h"

#include "clipboard/RegistryFormat.h"
#include "core/AppPaths.h"
#include "core/Log.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSet>

using namespace Qt::StringLiterals;

namespace tessel {

struct ClipboardStore::Snapshot {
    quint64 sequence = 0;
    QList<EntrySnapshot> entries;
};

struct WrittenBlob {
    std::weak_ptr<ClipboardEntry> entry;
    QString path;
    QString hash;
};

struct ClipboardStore::Outcome {
    QList<WrittenBlob> written;
    QList<std::weak_ptr<ClipboardEntry>> leftOut;
    Result result = Result::success();
};

ClipboardStore::ClipboardStore(QString appSupportDir, QObject* parent)
    : QObject(parent)
    , m_appSupportDir(std::move(appSupportDir))
    , m_imagesDir(m_appSupportDir + "/images"_L1)
    , m_registryURL(m_appSupportDir + "/registry.json"_L1)
{
    for (const QString& dir : {m_appSupportDir, m_imagesDir}) {
        if (const Result made = AppPaths::ensurePrivateDir(dir); !made)
            qCWarning(lcStore).noquote() << made.message();
    }
    // One writer thread keeps the saves in order: the last snapshot asked for lands last.
    m_writer.setMaxThreadCount(1);
    m_writer.setThreadPriority(QThread::LowPriority);
}

ClipboardStore::~ClipboardStore()
{
    m_writer.waitForDone();
}

ClipboardEntryList ClipboardStore::load()
{
    if (AppPaths::kindOf(m_registryURL) == AppPaths::Kind::missing)
        return {};
    const auto bytes = AppPaths::readPrivateFile(m_registryURL, m_maxRegistryBytes);
    std::optional<ClipboardEntryList> entries;
    if (bytes)
        entries = RegistryFormat::parse(*bytes, m_imagesDir);
    if (entries) {
        removeUnnamedBlobs(*entries);
        return *entries;
    }
    // Start empty, but keep what the user had for inspection or repair.
    const QString why =
        bytes ? u"%1 is not a history registry"_s.arg(m_registryURL) : bytes.message();
    const auto aside = AppPaths::setAside(m_registryURL);
    qCWarning(lcStore).noquote() << why << "- starting with an empty history;"
                                 << (aside ? u"the file is kept as "_s + *aside : aside.message());
    return {};
}

void ClipboardStore::removeUnnamedBlobs(const ClipboardEntryList& entries)
{
    QSet<QString> named;
    for (const auto& entry : entries) {
        if (entry->imageFileURL())
            named.insert(QFileInfo(*entry->imageFileURL()).fileName());
    }
    // Left behind by a deletion that raced a save, or by a write cut short (a temporary file).
    const QDir images(m_imagesDir);
    int removed = 0;
    for (const QString& name : images.entryList(QDir::Files | QDir::System | QDir::Hidden)) {
        if (!named.contains(name) && QFile::remove(images.filePath(name)))
            ++removed;
    }
    if (removed > 0)
        qCInfo(lcStore) << "removed" << removed << "image files that no history entry names";
}

void ClipboardStore::save(const ClipboardEntryList& entries)
{
    Snapshot snapshot;
    snapshot.sequence = ++m_saveSequence;
    snapshot.entries.reserve(entries.size());
    for (const auto& entry : entries)
        snapshot.entries.append(EntrySnapshot::of(entry));

    QPointer<ClipboardStore> self(this);
    m_writer.start([this, self, snapshot = std::move(snapshot)] {
        // The store outlives this task (its destructor waits); the queued step is dropped if the
        // store is gone by the time the main thread gets to it.
        const Outcome outcome = write(snapshot);
        QMetaObject::invokeMethod(
            this,
            [self, outcome] {
                if (self)
                    self->finishSave(outcome);
            },
            Qt::QueuedConnection);
    });
}

bool ClipboardStore::deletedSince(const QString& hash, quint64 sequence) const
{
    const auto it = m_deletedBlobs.constFind(hash);
    return it != m_deletedBlobs.cend() && *it >= sequence;
}

ClipboardStore::Outcome ClipboardStore::write(const Snapshot& snapshot)
{
    Outcome outcome;
    QList<RegistryFormat::Planned> plan;
    plan.reserve(snapshot.entries.size());
    for (const EntrySnapshot& entry : snapshot.entries) {
        std::optional<QString> imageFile;
        if (!entry.text && entry.isImage) {
            // A blob already on disk under its hash needs no reading: it holds these bytes.
            if (!entry.imageData && entry.imageFileURL && entry.hash) {
                const QString path = blobPathForHash(*entry.hash);
                QMutexLocker locker(&m_blobLock);
                if (deletedSince(*entry.hash, snapshot.sequence))
                    continue;
                if (AppPaths::kindOf(*entry.imageFileURL) == AppPaths::Kind::file &&
                    AppPaths::kindOf(path) == AppPaths::Kind::file) {
                    plan.append({&entry, blobFileName(*entry.hash)});
                    outcome.written.append({entry.entry, path, *entry.hash});
                    continue;
                }
            }
            std::optional<QByteArray> bytes = entry.imageData;
            if (!bytes && entry.imageFileURL) {
                if (auto read = AppPaths::readPrivateFile(*entry.imageFileURL, maxBlobBytes))
                    bytes = *read;
            }
            if (bytes) {
                const QString hash = entry.hash.value_or(QString::fromLatin1(
                    QCryptographicHash::hash(*bytes, QCryptographicHash::Sha256).toHex()));
                const QString path = blobPathForHash(hash);
                QMutexLocker locker(&m_blobLock);
                // Deleted, cleared or trimmed after this snapshot: neither the blob nor the
                // record may come back.
                if (deletedSince(hash, snapshot.sequence))
                    continue;
                Result blob = Result::success();
                // Named by content: an existing blob already holds these bytes.
                if (AppPaths::kindOf(path) != AppPaths::Kind::file) {
                    QFile::remove(path); // a link or FIFO planted under the blob's name
                    blob = AppPaths::writePrivateFile(path, *bytes);
                }
                if (blob) {
                    imageFile = blobFileName(hash);
                    outcome.written.append({entry.entry, path, hash});
                } else if (outcome.result) {
                    outcome.result = blob;
                }
            }
        }
        plan.append({&entry, imageFile});
    }
    {
        QMutexLocker locker(&m_blobLock);
        // Every later snapshot was taken after these deletions and leaves their blobs alone.
        m_deletedBlobs.removeIf(
            [&](QHash<QString, quint64>::iterator it) { return it.value() < snapshot.sequence; });
    }
    // Written whole or not at all, and never larger than a load reads back.
    const RegistryFormat::Written registry =
        RegistryFormat::write(m_registryURL, plan, m_maxRegistryBytes);
    if (!registry.result)
        outcome.result = registry.result;
    for (const qsizetype i : registry.leftOut)
        outcome.leftOut.append(plan.at(i).entry->entry);
    return outcome;
}

void ClipboardStore::finishSave(const Outcome& outcome)
{
    for (const WrittenBlob& blob : outcome.written) {
        const auto entry = blob.entry.lock();
        if (!entry)
            continue;
        entry->adoptHash(blob.hash);
        if (!entry->imageFileURL())
            entry->setImageFileURL(blob.path);
        entry->dropLoadedImageData();
    }
    ClipboardEntryList leftOut;
    for (const auto& gone : outcome.leftOut) {
        if (auto entry = gone.lock())
            leftOut.append(entry);
    }
    if (!leftOut.isEmpty())
        Q_EMIT entriesLeftOut(leftOut);
    const bool wasFailing = !m_lastSave;
    m_lastSave = outcome.result;
    // Said once when saving starts failing and once when it works again, not at every retry.
    if (!m_lastSave && !wasFailing) {
        qCWarning(lcStore).noquote() << "the history is not being saved:" << m_lastSave.message()
                                     << "- it is kept in memory and saved at the next change";
        Q_EMIT saveProblemChanged(m_lastSave.message());
    } else if (m_lastSave && wasFailing) {
        qCInfo(lcStore) << "the history is saved again";
        Q_EMIT saveProblemChanged({});
    }
    Q_EMIT saveFinished();
}

void ClipboardStore::deleteImageBlob(const ClipboardEntry& entry)
{
    if (!entry.isImage())
        return;
    const QString hash = entry.hash();
    QMutexLocker locker(&m_blobLock);
    m_deletedBlobs.insert(hash, m_saveSequence);
    QFile::remove(blobPathForHash(hash));
}

QString ClipboardStore::blobFileName(const QString& hash)
{
    return hash + ".png"_L1;
}

QString ClipboardStore::blobPathForHash(const QString& hash) const
{
    return m_imagesDir + u'/' + blobFileName(hash);
}

QString ClipboardStore::blobPath(const ClipboardEntry& entry) const
{
    if (entry.imageFileURL())
        return *entry.imageFileURL();
    return blobPathForHash(entry.hash());
}

bool ClipboardStore::waitForPendingSaves(int msecs)
{
    return m_writer.waitForDone(msecs);
}

} // namespace tessel
