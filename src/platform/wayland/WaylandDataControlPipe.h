// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace tessel::wayland {

// One end of a pipe through which clipboard contents pass between two clients. The descriptor
// is made non-blocking and closed when the transfer ends; the transfer is driven by the event
// loop and bounded by a deadline, so a peer that stalls costs a wait, never a frozen thread.
class PipeTransfer : public QObject {
    Q_OBJECT

public:
    enum class Status {
        done,
        // More bytes than allowed arrived; reading stopped there.
        oversized,
        // The peer neither finished nor closed its end before the deadline.
        timedOut,
        // The pipe failed (an error other than the peer closing its end early).
        failed,
    };
    Q_ENUM(Status)

    ~PipeTransfer() override;
    PipeTransfer(const PipeTransfer&) = delete;
    PipeTransfer& operator=(const PipeTransfer&) = delete;

protected:
    PipeTransfer(int fd, std::chrono::milliseconds timeout, QObject* parent);
    // Starts watching the descriptor (for room to write, or data to read) and arms the deadline.
    void watch(bool forWriting);
    // Ends the transfer once: closes the descriptor and hands `status` to finished(), then the
    // object deletes itself.
    void end(Status status);
    virtual void transfer() = 0;
    virtual void finished(Status status) = 0;
    int fd() const { return m_fd; }

private:
    int m_fd;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_deadline;
    bool m_ended = false;
};

// Reads a pipe to its end, keeping at most `maxBytes`.
class PipeReader final : public PipeTransfer {
    Q_OBJECT

public:
    using Done = std::function<void(Status status, const QByteArray& bytes)>;

    // Takes the read end `fd` and reports once through `done`, on this thread; the reader is
    // gone after that. Deleting it earlier abandons the transfer without a report.
    static PipeReader* start(int fd, qint64 maxBytes, std::chrono::milliseconds timeout, Done done,
                             QObject* parent = nullptr);

private:
    PipeReader(int fd, qint64 maxBytes, std::chrono::milliseconds timeout, Done done,
               QObject* parent);
    void transfer() override;
    void finished(Status status) override;

    qint64 m_maxBytes;
    Done m_done;
    QByteArray m_bytes;
};

// Writes bytes into a pipe and closes it, the way a clipboard source answers a request.
class PipeWriter final : public PipeTransfer {
    Q_OBJECT

public:
    // Takes the write end `fd`; the writer deletes itself when done, failed or timed out.
    static PipeWriter* start(int fd, QByteArray bytes, std::chrono::milliseconds timeout,
                             QObject* parent = nullptr);

private:
    PipeWriter(int fd, QByteArray bytes, std::chrono::milliseconds timeout, QObject* parent);
    void transfer() override;
    void finished(Status) override {}

    QByteArray m_bytes;
    qint64 m_written = 0;
};

} // namespace tessel::wayland
