#include "editor/PictureLoading.h"

#include "widgets/DialogPlacement.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QtConcurrent/QtConcurrentRun>

#include <utility>

namespace fabulor {
namespace {

// Long enough that a skin of ordinary pictures never shows the window.
constexpr std::chrono::milliseconds ProgressDelay{400};

// Pictures up to this (a 1180 x 1180 colour picture) decode in a few
// milliseconds: drawn at once rather than a moment after their window.
constexpr std::uint64_t InlinePixelBytes = std::uint64_t{4} * 1024 * 1024;

QString CountText(int placed, int asked)
{
    return QStringLiteral("Wczytywanie obrazków skórki: %1 z %2…").arg(placed + 1).arg(asked);
}

} // namespace

PictureLoader::PictureLoader(QWidget* progressOver, QObject* parent)
    : QObject(parent), m_progressOver(progressOver)
{
    m_progressTimer.setSingleShot(true);
    m_progressTimer.setInterval(ProgressDelay);
    connect(&m_progressTimer, &QTimer::timeout, this, &PictureLoader::showProgress);
    connect(&m_watcher, &QFutureWatcher<QImage>::finished, this, &PictureLoader::jobDone);
}

PictureLoader::~PictureLoader()
{
    serve({});
    // The worker holds its own share of the picture; it only has to stop.
    if (m_running) *m_running->stop = true;
    m_watcher.waitForFinished();
    delete m_progress;
}

void PictureLoader::serve(const QList<PictureBox*>& boxes)
{
    for (const QPointer<PictureBox>& box : std::as_const(m_served))
        if (box && box->pixelSource() == this) box->setPixelSource(nullptr);
    m_served.clear();
    for (PictureBox* box : boxes) {
        box->setPixelSource(this);
        m_served << box;
    }
}

PictureLoader::Job* PictureLoader::find(const void* picture)
{
    if (m_running && m_running->job.picture() == picture) return &*m_running;
    for (Job& job : m_queue)
        if (job.job.picture() == picture) return &job;
    return nullptr;
}

bool PictureLoader::request(PictureBox& box, const JpegPicture& picture)
{
    if (picture.pixelBytes() <= InlinePixelBytes) return false;
    const JpegPicture::PixelJob job = picture.pixelJob();
    Job* known = find(job.picture());
    if (!known) {
        m_queue.push_back(Job{job, {}});
        known = &m_queue.back();
        if (m_asked == 0) m_progressTimer.start();
        ++m_asked;
        showCount();
    }
    if (!known->boxes.contains(&box)) known->boxes << &box;
    startNext();
    return true;
}

void PictureLoader::hold(bool held)
{
    m_held = held;
    startNext();
}

bool PictureLoader::stillShown(const Job& job)
{
    for (const QPointer<PictureBox>& box : job.boxes) {
        const JpegPicture* shown = box ? box->shown().jpeg() : nullptr;
        if (shown && shown->pixelJob().picture() == job.job.picture()) return true;
    }
    return false;
}

void PictureLoader::startNext()
{
    if (m_held || m_running) return;
    // A picture replaced while it waited (another skin loaded, another
    // picture chosen) is no longer worth its time.
    while (!m_queue.empty() && !stillShown(m_queue.front())) {
        m_queue.pop_front();
        ++m_placed;
    }
    if (m_queue.empty()) {
        if (m_asked > 0) settle();
        return;
    }
    m_running = std::move(m_queue.front());
    m_queue.pop_front();
    // One picture at a time: the largest take a second and hundreds of
    // megabytes each, and the user waits for all of them anyway.
    m_watcher.setFuture(
        QtConcurrent::run([job = m_running->job, stop = m_running->stop] { return job.run(stop.get()); }));
}

void PictureLoader::jobDone()
{
    if (!m_running) return;
    const Job done = std::move(*m_running);
    m_running.reset();
    if (!*done.stop) {
        done.job.place(m_watcher.result());
        ++m_placed;
        for (const QPointer<PictureBox>& box : done.boxes)
            if (box) box->update();
    }
    // Let go of the pixels the watcher still holds.
    m_watcher.setFuture(QFuture<QImage>());
    startNext();
    showCount();
}

void PictureLoader::settle()
{
    m_asked = 0;
    m_placed = 0;
    closeProgress();
}

void PictureLoader::cancel()
{
    if (m_running) *m_running->stop = true;
    m_queue.clear();
    m_asked = 0;
    m_placed = 0;
    closeProgress();
    emit cancelled();
    // The dropped picture's worker ends on its own.
}

void PictureLoader::showProgress()
{
    if (!busy() || m_progress) return;
    auto* progress = new QProgressDialog(CountText(m_placed, m_asked), QStringLiteral("Anuluj"), 0, m_asked,
                                         m_progressOver ? m_progressOver->window() : nullptr);
    progress->setObjectName(QStringLiteral("PictureProgress"));
    progress->setWindowTitle(QCoreApplication::applicationName());
    // Shown and closed by us alone: made for one loading, gone after it.
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setMinimumDuration(0);
    progress->setValue(m_placed);
    // Its button, Escape and its close button.
    connect(progress, &QProgressDialog::canceled, this, &PictureLoader::cancel);
    m_progress = progress;
    PlaceAboveAll(*progress, m_progressOver);
    progress->show();
}

void PictureLoader::showCount()
{
    if (!m_progress) return;
    m_progress->setMaximum(m_asked);
    m_progress->setValue(m_placed);
    m_progress->setLabelText(CountText(m_placed, m_asked));
}

void PictureLoader::closeProgress()
{
    m_progressTimer.stop();
    if (!m_progress) return;
    QProgressDialog* progress = m_progress;
    m_progress = nullptr;
    // Not from inside its own cancel button's signal.
    progress->disconnect(this);
    progress->hide();
    progress->deleteLater();
}

} // namespace fabulor
