#pragma once
// Keeps an in-process test from hanging on a named pipe. After a grace period
// it opens the pipe's writing end whenever a reader is waiting, so a blocked
// open() returns, and remembers that it had to: code under test that waited
// on the pipe then fails the test instead of stopping the whole run.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace fabulor::testing {

class PipeWatchdog {
public:
    explicit PipeWatchdog(const QString& pipe,
                          std::chrono::milliseconds grace = std::chrono::milliseconds(3000))
        : m_pipe(QFile::encodeName(pipe)), m_thread([this, grace] { watch(grace); })
    {}
    ~PipeWatchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    PipeWatchdog(const PipeWatchdog&) = delete;
    PipeWatchdog& operator=(const PipeWatchdog&) = delete;

    // True when something was blocked reading the pipe and had to be released.
    bool fired() const { return m_fired; }

private:
    void watch(std::chrono::milliseconds grace)
    {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, grace, [this] { return m_stop; })) return;
        while (!m_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_stop; })) {
            // A non-blocking open for writing succeeds only while a reader is there.
            const int fd = ::open(m_pipe.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                m_fired = true;
                ::close(fd);
            }
        }
    }

    QByteArray m_pipe;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::atomic<bool> m_fired{false};
    std::thread m_thread;
};

} // namespace fabulor::testing
