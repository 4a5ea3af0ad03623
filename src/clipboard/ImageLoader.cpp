// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/ImageLoader.h"

#include "clipboard/ImageDecoder.h"

#include <algorithm>

namespace tessel {

namespace {
// Sizes are read in batches, so that a thumbnail asked for meanwhile waits for one batch at most.
constexpr qsizetype kSizesPerBatch = 32;
// Smaller, and a row's thumbnail could be evicted by the next row's, again and again.
constexpr qsizetype kMinCacheBytes = 1024 * 1024;
// The decoding thread ends after this long without work; the next request starts another.
constexpr int kThreadExpiryMs = 5000;
} // namespace

struct ImageLoader::Job {
    Kind kind;
    Key key;
    quint64 generation = 0;
    std::weak_ptr<ClipboardEntry> entry;
    ImageSource source;
    QPointer<QObject> context;
    Done done;
    // Kind::sizes: the entries whose headers are read.
    QList<std::pair<std::weak_ptr<ClipboardEntry>, ImageSource>> batch;
};

struct ImageLoader::Outcome {
    std::optional<QImage> image;
    std::optional<QSize> size;
    QList<std::optional<QSize>> sizes;
};

ImageLoader::ImageLoader(QObject* parent)
    : QObject(parent)
    , m_cache(defaultCacheBytes)
{
    m_pool.setMaxThreadCount(1);
    m_pool.setExpiryTimeout(kThreadExpiryMs);
}

ImageLoader::~ImageLoader()
{
    m_pool.clear();
    m_pool.waitForDone();
}

std::optional<QImage> ImageLoader::thumbnail(const ClipboardEntryPtr& entry, QSize bound)
{
    if (!entry || !entry->isImage() || entry->isUndecodable() || bound.isEmpty())
        return std::nullopt;
    const Key key{entry->id(), bound};
    if (const QImage* hit = m_cache.object(key))
        return *hit;
    if (m_asked.contains(key)) {
        // Asked again: its row is on screen now, so it goes before the rows scrolled past.
        const auto it = std::find_if(m_waiting.begin(), m_waiting.end(),
                                     [&](const auto& job) { return job->key == key; });
        if (it != m_waiting.end())
            m_waiting.append(m_waiting.takeAt(it - m_waiting.begin()));
        return std::nullopt;
    }
    m_asked.insert(key);
    enqueue({Kind::thumbnail, key, m_generation, entry, entry->imageSource(), {}, {}, {}});
    qsizetype waiting = std::count_if(m_waiting.cbegin(), m_waiting.cend(),
                                      [](const auto& job) { return job->kind == Kind::thumbnail; });
    for (auto it = m_waiting.begin(); waiting > maxWaitingThumbnails && it != m_waiting.end();) {
        if ((*it)->kind != Kind::thumbnail) {
            ++it;
            continue;
        }
        m_asked.remove((*it)->key);
        it = m_waiting.erase(it);
        --waiting;
    }
    return std::nullopt;
}

void ImageLoader::load(const ClipboardEntryPtr& entry, QSize bound, QObject* context, Done done)
{
    if (!entry || !context || !done)
        return;
    if (!entry->isImage() || entry->isUndecodable()) {
        QMetaObject::invokeMethod(
            context, [done = std::move(done)] { done(std::nullopt); }, Qt::QueuedConnection);
        return;
    }
    enqueue({Kind::load,
             {entry->id(), bound},
             m_generation,
             entry,
             entry->imageSource(),
             context,
             std::move(done),
             {}});
}

void ImageLoader::learnSizes(const ClipboardEntryList& entries)
{
    Job job{Kind::sizes, {}, m_generation, {}, {}, {}, {}, {}};
    for (const ClipboardEntryPtr& entry : entries) {
        if (!entry->isImage() || entry->isUndecodable() || entry->imageSize())
            continue;
        job.batch.append({entry, entry->imageSource()});
        if (job.batch.size() == kSizesPerBatch) {
            enqueue(job);
            job.batch.clear();
        }
    }
    if (!job.batch.isEmpty())
        enqueue(std::move(job));
}

void ImageLoader::setCacheLimit(qsizetype bytes)
{
    m_cache.setMaxCost(std::max(bytes, kMinCacheBytes));
}

void ImageLoader::clear()
{
    ++m_generation;
    m_cache.clear();
    m_asked.clear();
    m_waiting.removeIf([](const auto& job) { return job->kind == Kind::thumbnail; });
}

void ImageLoader::enqueue(Job job)
{
    m_waiting.append(std::make_shared<Job>(std::move(job)));
    startNext();
}

void ImageLoader::startNext()
{
    if (m_busy || m_waiting.isEmpty())
        return;
    // The newest request first; the sizes read at launch only when nothing else waits.
    auto it = std::find_if(m_waiting.rbegin(), m_waiting.rend(),
                           [](const auto& job) { return job->kind != Kind::sizes; });
    const qsizetype index = it != m_waiting.rend() ? m_waiting.rend() - it - 1 : 0;
    std::shared_ptr<Job> job = m_waiting.takeAt(index);
    m_busy = true;
    m_pool.start([this, job] {
        Outcome outcome = run(*job);
        QMetaObject::invokeMethod(
            this, [this, job, outcome = std::move(outcome)] { finish(*job, outcome); },
            Qt::QueuedConnection);
    });
}

ImageLoader::Outcome ImageLoader::run(const Job& job)
{
    Outcome outcome;
    if (job.kind == Kind::sizes) {
        for (const auto& [entry, source] : job.batch)
            outcome.sizes.append(source.probeSize());
        return outcome;
    }
    const auto bytes = job.source.read();
    if (!bytes)
        return outcome;
    outcome.size = ImageDecoder::probe(*bytes);
    if (outcome.size)
        outcome.image = ImageDecoder::decode(*bytes, job.key.bound);
    return outcome;
}

void ImageLoader::finish(const Job& job, Outcome outcome)
{
    m_busy = false;
    const auto learn = [](const std::weak_ptr<ClipboardEntry>& weak, std::optional<QSize> size,
                          bool decoded) {
        const ClipboardEntryPtr entry = weak.lock();
        if (!entry)
            return;
        if (size)
            entry->setImageSize(*size);
        if (!size || !decoded)
            entry->markUndecodable();
    };
    switch (job.kind) {
    case Kind::sizes:
        for (qsizetype i = 0; i < job.batch.size(); ++i)
            learn(job.batch.at(i).first, outcome.sizes.value(i), true);
        break;
    case Kind::thumbnail:
        learn(job.entry, outcome.size, outcome.image.has_value());
        if (job.generation != m_generation)
            break;
        m_asked.remove(job.key);
        if (outcome.image) {
            const qsizetype cost = std::max<qsizetype>(1, outcome.image->sizeInBytes());
            // Larger than the whole cache: not kept, and not announced, or its row would ask again
            // at once.
            if (!m_cache.insert(job.key, new QImage(std::move(*outcome.image)), cost))
                break;
        }
        Q_EMIT thumbnailReady(job.key.id);
        break;
    case Kind::load:
        learn(job.entry, outcome.size, outcome.image.has_value());
        if (job.context)
            job.done(outcome.image);
        break;
    }
    startNext();
}

} // namespace tessel
