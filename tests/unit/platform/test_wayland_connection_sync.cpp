// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/WaylandConnection.h"

#include <QList>
#include <QTest>
#include <atomic>
#include <cstring>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using tessel::wayland::WaylandConnection;

namespace {

// A compositor reduced to the wire: it announces no globals and answers wl_display.sync when
// told to, holding back the requests it heard meanwhile. Runs on a thread of its own because
// opening the connection waits for its answers.
class FakeCompositor {
public:
    FakeCompositor()
    {
        int fds[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
            return;
        m_server = fds[0];
        m_client = fds[1];
        m_thread = std::thread([this] { serve(); });
    }

    ~FakeCompositor()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_server >= 0)
            ::close(m_server);
        if (m_client >= 0)
            ::close(m_client);
    }

    // Connects a WaylandConnection to this compositor (libwayland takes WAYLAND_SOCKET).
    std::unique_ptr<WaylandConnection> connect()
    {
        qputenv("WAYLAND_SOCKET", QByteArray::number(m_client));
        auto connection = WaylandConnection::open();
        m_client = -1; // the connection owns it now
        return connection;
    }

    // Whether syncs heard from now on are answered at once.
    void setAnswering(bool on)
    {
        m_answering = on;
        if (on)
            answerHeld();
    }

    int syncsHeard() const { return m_syncsHeard; }

    // Shuts the compositor's end, as a compositor that goes away does.
    void hangUp() { ::shutdown(m_server, SHUT_RDWR); }

private:
    void serve()
    {
        QByteArray buffer;
        while (!m_stop) {
            pollfd p{m_server, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            char chunk[4096];
            const ssize_t n = ::read(m_server, chunk, sizeof chunk);
            if (n <= 0)
                return;
            buffer.append(chunk, n);
            while (buffer.size() >= 8) {
                uint32_t header[2];
                std::memcpy(header, buffer.constData(), sizeof header);
                const uint32_t size = header[1] >> 16;
                if (size < 8 || uint32_t(buffer.size()) < size)
                    break;
                // wl_display (object 1), request 0: sync(new callback id).
                if (header[0] == 1 && (header[1] & 0xffff) == 0 && size == 12) {
                    uint32_t callback;
                    std::memcpy(&callback, buffer.constData() + 8, sizeof callback);
                    ++m_syncsHeard;
                    std::lock_guard lock(m_mutex);
                    m_held.append(callback);
                }
                buffer.remove(0, size);
            }
            if (m_answering)
                answerHeld();
        }
    }

    void answerHeld()
    {
        std::lock_guard lock(m_mutex);
        for (const uint32_t callback : std::as_const(m_held)) {
            // wl_callback.done(serial), then wl_display.delete_id(callback).
            const uint32_t done[3] = {callback, (12u << 16) | 0u, 1};
            const uint32_t deleted[3] = {1, (12u << 16) | 1u, callback};
            if (::send(m_server, done, sizeof done, MSG_NOSIGNAL) != sizeof done ||
                ::send(m_server, deleted, sizeof deleted, MSG_NOSIGNAL) != sizeof deleted)
                break;
        }
        m_held.clear();
    }

    int m_server = -1;
    int m_client = -1;
    std::thread m_thread;
    // Guards the held syncs, which both threads answer.
    std::mutex m_mutex;
    QList<uint32_t> m_held;
    std::atomic<bool> m_answering{true};
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_syncsHeard{0};
};

} // namespace

// The asynchronous sync the paste waits on: it ends exactly once, with the answer, the failure or
// the timeout, whichever comes first, and never reaches a caller that is gone.
class TestWaylandConnectionSync : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void endsOnceWithTheAnswerTheTimeoutOrTheFailure()
    {
        FakeCompositor compositor;
        const auto connection = compositor.connect();
        QVERIFY(connection);

        QObject context;
        QList<bool> results;
        const auto record = [&results](bool answered) { results.append(answered); };

        // Answered: its timer and callback go with it, so nothing can end it twice.
        connection->sync(10s, &context, record);
        QTRY_COMPARE_WITH_TIMEOUT(results, QList<bool>{true}, 5000);
        QTRY_VERIFY(context.children().isEmpty());

        // Unanswered: the timeout ends it; the answer that comes late is dropped.
        compositor.setAnswering(false);
        const int heard = compositor.syncsHeard();
        connection->sync(50ms, &context, record);
        QTRY_COMPARE_WITH_TIMEOUT(results, (QList<bool>{true, false}), 5000);
        QTRY_VERIFY(compositor.syncsHeard() > heard);
        compositor.setAnswering(true);
        connection->sync(10s, &context, record);
        QTRY_COMPARE_WITH_TIMEOUT(results, (QList<bool>{true, false, true}), 5000);
        QTRY_VERIFY(context.children().isEmpty());

        // The compositor goes away while a sync waits: it ends at once, not at its timeout.
        compositor.setAnswering(false);
        connection->sync(60s, &context, record);
        QTRY_VERIFY(compositor.syncsHeard() > heard + 2);
        compositor.hangUp();
        QTRY_COMPARE_WITH_TIMEOUT(results, (QList<bool>{true, false, true, false}), 5000);
        QVERIFY(connection->hasFailed());

        // On a failed connection it still ends, from the event loop.
        connection->sync(60s, &context, record);
        QCOMPARE(results.size(), 4);
        QTRY_COMPARE_WITH_TIMEOUT(results, (QList<bool>{true, false, true, false, false}), 5000);
    }

    void neverReachesACallerThatIsGone()
    {
        FakeCompositor compositor;
        const auto connection = compositor.connect();
        QVERIFY(connection);
        compositor.setAnswering(false);
        int calls = 0;
        {
            QObject context;
            connection->sync(10s, &context, [&calls](bool) { ++calls; });
            QTRY_COMPARE_WITH_TIMEOUT(compositor.syncsHeard(), 3, 5000);
        }
        // The answer arrives for a callback that no longer exists; it is dropped.
        compositor.setAnswering(true);
        QObject probe;
        bool answered = false;
        connection->sync(10s, &probe, [&answered](bool ok) { answered = ok; });
        QTRY_VERIFY_WITH_TIMEOUT(answered, 5000);
        QCOMPARE(calls, 0);
    }
};

QTEST_GUILESS_MAIN(TestWaylandConnectionSync)
#include "test_wayland_connection_sync.moc"
