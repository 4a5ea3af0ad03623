// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardEntry.h"

#include <QCache>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QSize>
#include <QThreadPool>
#include <QUuid>
#include <functional>
#include <memory>
#include <optional>

namespace tessel {

// Decodes the images of history entries away from the main thread, at the size they are shown,
// and keeps the decoded thumbnails in a cache bounded in bytes. One decode runs at a time: the
// most recent request goes first, and thumbnails asked for long ago (rows scrolled past) are
// dropped before they are decoded. Main thread only.
class ImageLoader : public QObject {
    Q_OBJECT

public:
    using Done = std::function<void(const std::optional<QImage>& image)>;

    // Until a view sets its own: about three screens of the popup's thumbnails.
    static constexpr qsizetype defaultCacheBytes = 2LL * 1024 * 1024;
    // Thumbnails waiting for their decode beyond this many: the oldest are forgotten (asked
    // again when their row shows again).
    static constexpr int maxWaitingThumbnails = 12;

    explicit ImageLoader(QObject* parent = nullptr);
    // Waits for the decode in progress.
    ~ImageLoader() override;

    // The thumbnail of `entry` that fits in `bound`, once decoded; until then nothing, and its
    // decode is queued (once, however often asked). `thumbnailReady` tells when it is there. Always
    // nothing for an entry that is no image or whose image does not decode.
    std::optional<QImage> thumbnail(const ClipboardEntryPtr& entry, QSize bound);

    // Decodes the image of `entry` to fit in `bound` (an invalid bound: at its full size) in the
    // background and hands it to `done` on the main thread: nothing when it does not decode.
    // `done` is not called once `context` is gone. Not cached: the caller (a preview, say) keeps
    // the image for as long as it needs it.
    void load(const ClipboardEntryPtr& entry, QSize bound, QObject* context, Done done);

    // Reads, in the background, the size of every image among `entries` whose size is not known
    // yet (their headers alone), so that rows are laid out at their height before their
    // thumbnails are decoded; an image whose header does not decode is marked undecodable.
    void learnSizes(const ClipboardEntryList& entries);

    void setCacheLimit(qsizetype bytes);
    qsizetype cacheLimit() const { return m_cache.maxCost(); }
    // Bytes of decoded pixels held now.
    qsizetype cachedBytes() const { return m_cache.totalCost(); }
    // Forgets every decoded thumbnail and every thumbnail not yet decoded (the popup closed, or
    // memory is short). Loads asked for with `load` still arrive.
    void clear();

    // For tests: whether nothing is waiting or being decoded.
    bool isIdle() const { return !m_busy && m_waiting.isEmpty(); }

Q_SIGNALS:
    // A thumbnail asked for through `thumbnail` is ready, or its image turned out undecodable.
    void thumbnailReady(const QUuid& entryId);

private:
    struct Key {
        QUuid id;
        QSize bound;
        friend bool operator==(const Key& a, const Key& b)
        {
            return a.id == b.id && a.bound == b.bound;
        }
        friend size_t qHash(const Key& key, size_t seed = 0)
        {
            return qHashMulti(seed, key.id, key.bound.width(), key.bound.height());
        }
    };
    enum class Kind { thumbnail, load, sizes };
    struct Job;
    struct Outcome;

    void enqueue(Job job);
    void startNext();
    void finish(const Job& job, Outcome outcome);
    static Outcome run(const Job& job);

    QCache<Key, QImage> m_cache;
    QList<std::shared_ptr<Job>> m_waiting;
    QSet<Key> m_asked;
    bool m_busy = false;
    // Moves on every clear(): thumbnails decoded for an earlier generation are not kept.
    quint64 m_generation = 0;
    QThreadPool m_pool;
};

} // namespace tessel
