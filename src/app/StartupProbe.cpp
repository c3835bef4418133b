#include "StartupProbe.h"

#include <QApplication>
#include <QEvent>
#include <QSet>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace fabulor {
namespace {

class Probe : public QObject {
public:
    Probe(QApplication& app, int windows, long long launchNs, std::function<bool()> settled)
        : QObject(&app), m_windows(windows), m_launchNs(launchNs), m_settled(std::move(settled))
    {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Expose || m_done) return false;
        auto* window = qobject_cast<QWindow*>(watched);
        if (!window || !window->isTopLevel() || !window->isExposed()) return false;
        m_exposed.insert(window);
        if (m_exposed.size() < m_windows) return false;
        m_done = true;
        m_mappedNs = nowNs();
        // Queued, so the expose that paints the last window is handled and
        // flushed to the screen before the clock stops.
        QTimer::singleShot(0, this, [this] { finish(); });
        return false;
    }

private:
    static long long nowNs()
    {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    }

    void finish()
    {
        std::fprintf(stderr, "mapped_ms=%.1f\n", double(m_mappedNs - m_launchNs) / 1e6);
        std::fprintf(stderr, "startup_ms=%.1f\n", double(nowNs() - m_launchNs) / 1e6);
        std::fflush(stderr);
        if (m_settled) {
            auto* poll = new QTimer(this);
            connect(poll, &QTimer::timeout, this, [this] {
                if (!m_settled()) return;
                std::fprintf(stderr, "settled_ms=%.1f\n", double(nowNs() - m_launchNs) / 1e6);
                std::fflush(stderr);
                _exit(0);
            });
            poll->start(10);
            return;
        }
        _exit(0);
    }

    int m_windows;
    long long m_launchNs;
    std::function<bool()> m_settled;
    long long m_mappedNs = 0;
    bool m_done = false;
    QSet<QWindow*> m_exposed;
};

} // namespace

void ArmStartupProbe(QApplication& app, int windows, std::function<bool()> settled)
{
    const QByteArray launch = qgetenv("FSB_STARTUP_PROBE");
    if (launch.isEmpty()) return;
    bool ok = false;
    const long long launchNs = launch.toLongLong(&ok);
    if (!ok) return;
    app.installEventFilter(new Probe(app, windows, launchNs, std::move(settled)));
}

} // namespace fabulor
