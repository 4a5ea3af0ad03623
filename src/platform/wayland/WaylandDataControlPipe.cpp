// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/WaylandDataControlPipe.h"

#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tessel::wayland {

namespace {
constexpr qint64 kChunkBytes = 64 * 1024;
} // namespace

PipeTransfer::PipeTransfer(int fd, std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent)
    , m_fd(fd)
{
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(timeout);
    connect(&m_deadline, &QTimer::timeout, this, [this] { end(Status::timedOut); });
}

PipeTransfer::~PipeTransfer()
{
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

void PipeTransfer::watch(bool forWriting)
{
    if (m_fd < 0 || ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK) < 0) {
        // Reported from the event loop, like every other outcome, so callers see one order.
        QMetaObject::invokeMethod(
            this, [this] { end(Status::failed); }, Qt::QueuedConnection);
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, forWriting ? QSocketNotifier::Write
                                                                    : QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { transfer(); });
    m_deadline.start();
}

void PipeTransfer::end(Status status)
{
    if (m_ended)
        return;
    m_ended = true;
    m_deadline.stop();
    // Often called from the notifier's own signal: disabled here, deleted with the transfer.
    if (m_notifier)
        m_notifier->setEnabled(false);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    finished(status);
    deleteLater();
}

PipeReader* PipeReader::start(int fd, qint64 maxBytes, std::chrono::milliseconds timeout, Done done,
                              QObject* parent)
{
    auto* reader = new PipeReader(fd, maxBytes, timeout, std::move(done), parent);
    reader->watch(false);
    return reader;
}

PipeReader::PipeReader(int fd, qint64 maxBytes, std::chrono::milliseconds timeout, Done done,
                       QObject* parent)
    : PipeTransfer(fd, timeout, parent)
    , m_maxBytes(maxBytes)
    , m_done(std::move(done))
{}

void PipeReader::transfer()
{
    char chunk[kChunkBytes];
    for (;;) {
        const ssize_t got = ::read(fd(), chunk, sizeof chunk);
        if (got > 0) {
            if (m_bytes.size() + got > m_maxBytes) {
                end(Status::oversized);
                return;
            }
            m_bytes.append(chunk, got);
            continue;
        }
        if (got == 0) {
            end(Status::done);
        } else if (errno == EINTR) {
            continue;
        } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
            end(Status::failed);
        }
        return;
    }
}

void PipeReader::finished(Status status)
{
    if (status != Status::done)
        m_bytes.clear();
    if (m_done)
        std::exchange(m_done, nullptr)(status, m_bytes);
}

PipeWriter* PipeWriter::start(int fd, QByteArray bytes, std::chrono::milliseconds timeout,
                              QObject* parent)
{
    auto* writer = new PipeWriter(fd, std::move(bytes), timeout, parent);
    writer->watch(true);
    return writer;
}

PipeWriter::PipeWriter(int fd, QByteArray bytes, std::chrono::milliseconds timeout, QObject* parent)
    : PipeTransfer(fd, timeout, parent)
    , m_bytes(std::move(bytes))
{}

void PipeWriter::transfer()
{
    while (m_written < m_bytes.size()) {
        const qint64 left = std::min<qint64>(m_bytes.size() - m_written, kChunkBytes);
        const ssize_t put = ::write(fd(), m_bytes.constData() + m_written, left);
        if (put > 0) {
            m_written += put;
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        // The reader closed its end (EPIPE) or the pipe broke: nobody wants the rest.
        end(Status::failed);
        return;
    }
    end(Status::done);
}

} // namespace tessel::wayland
