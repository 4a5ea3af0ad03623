#include "clipboard/ClipboardStore.h"

#include "clipboard/RegistryFormat.h"
#include "core/AppPaths.h"
#include "core/Clock.h"
#include "core/Log.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {

struct WrittenBlob {
    std::weak_ptr<ClipboardEntry> entry;
    QString path;
    QString hash;
};

std::optional<QByteArray> readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// Writes the registry and any new blob of one snapshot; returns the blobs to hand back.
QList<WrittenBlob> writeSnapshot(const QList<EntrySnapshot>& snapshot, const QString& imagesDir,
                                 const QString& registryURL)
{
    QJsonArray records;
    QList<WrittenBlob> written;
    for (const EntrySnapshot& entry : snapshot) {
        std::optional<QString> imageFile;
        if (!entry.text && entry.isImage) {
            // A blob already on disk under its hash needs no reading: it holds these bytes.
            if (!entry.imageData && entry.imageFileURL && entry.hash) {
                const QString name = ClipboardStore::blobFileName(*entry.hash);
                const QString path = imagesDir + u'/' + name;
                if (QFileInfo(*entry.imageFileURL).isReadable() && QFile::exists(path)) {
                    records.append(RegistryFormat::record(entry, name));
                    written.append({entry.entry, path, *entry.hash});
                    continue;
                }
            }
            auto bytes = entry.imageData;
            if (!bytes && entry.imageFileURL)
                bytes = readFile(*entry.imageFileURL);
            if (bytes) {
                const QString hash = entry.hash.value_or(QString::fromLatin1(
                    QCryptographicHash::hash(*bytes, QCryptographicHash::Sha256).toHex()));
                imageFile = ClipboardStore::blobFileName(hash);
                const QString path = imagesDir + u'/' + *imageFile;
                // Named by content: an existing blob already holds these bytes.
                if (!QFile::exists(path))
                    (void)AppPaths::writePrivateFile(path, *bytes);
                written.append({entry.entry, path, hash});
            }
        }
        records.append(RegistryFormat::record(entry, imageFile));
    }
    (void)AppPaths::writePrivateFile(registryURL,
                                     QJsonDocument(records).toJson(QJsonDocument::Indented));
    return written;
}

} // namespace

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
    QFile file(m_registryURL);
    if (!file.exists())
        return {};
    std::optional<ClipboardEntryList> entries;
    if (file.open(QIODevice::ReadOnly))
        entries = RegistryFormat::parse(file.readAll(), m_imagesDir);
    file.close();
    if (entries)
        return *entries;
    // Start empty, but keep what the user had for inspection or repair.
    const QString stamp = Clock::nowUtc().toString(u"yyyyMMdd'T'HHmmss'Z'"_s);
    QFile::rename(m_registryURL, m_registryURL + ".corrupt-"_L1 + stamp);
    return {};
}

void ClipboardStore::save(const ClipboardEntryList& entries)
{
    QList<EntrySnapshot> snapshot;
    snapshot.reserve(entries.size());
    for (const auto& entry : entries)
        snapshot.append(EntrySnapshot::of(entry));

    QPointer<ClipboardStore> self(this);
    m_writer.start([self, snapshot = std::move(snapshot), imagesDir = m_imagesDir,
                    registryURL = m_registryURL] {
        const auto written = writeSnapshot(snapshot, imagesDir, registryURL);
        // The store outlives this task (its destructor waits); the queued step is dropped if the
        // store is gone by the time the main thread gets to it.
        QMetaObject::invokeMethod(
            self.data(),
            [self, written] {
                if (!self)
                    return;
                for (const WrittenBlob& blob : written) {
                    const auto entry = blob.entry.lock();
                    if (!entry)
                        continue;
                    entry->adoptHash(blob.hash);
                    if (!entry->imageFileURL())
                        entry->setImageFileURL(blob.path);
                    entry->dropLoadedImageData();
                }
                Q_EMIT self->saveFinished();
            },
            Qt::QueuedConnection);
    });
}

void ClipboardStore::deleteImageBlob(const ClipboardEntry& entry)
{
    if (!entry.isImage())
        return;
    QFile::remove(blobPathForHash(entry.hash()));
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
