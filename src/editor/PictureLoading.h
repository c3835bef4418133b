#pragma once
// The preview's pictures are loaded behind its windows: the pixels of a
// large JPEG picture are decoded on a worker thread the first time its box
// is painted, one picture at a time, and the box shows nothing until they
// are placed. A picture of a few megabytes is decoded as it is painted, as
// ever: it takes milliseconds, and shows with the window.
// When that takes a while a progress window says so, and cancelling it
// leaves every picture not decoded by then as one that does not decode.

#include "graphics/JpegPicture.h"
#include "widgets/PictureBox.h"

#include <QFutureWatcher>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <optional>

namespace fabulor {

class PictureLoader : public QObject, public PixelSource {
    Q_OBJECT
public:
    // The progress window opens above progressOver.
    explicit PictureLoader(QWidget* progressOver, QObject* parent = nullptr);
    ~PictureLoader() override;

    // Takes the pixels of these boxes over; none: every box it served goes
    // back to decoding as it paints.
    void serve(const QList<PictureBox*>& boxes);

    bool request(PictureBox& box, const JpegPicture& picture) override;

    // While held no picture starts decoding: loading can be looked at half
    // way (the tests do).
    void hold(bool held);

    // Pictures asked for whose pixels have not been placed yet.
    bool busy() const { return m_running.has_value() || !m_queue.empty(); }
    // How long loading goes on before the progress window opens.
    void setProgressDelay(std::chrono::milliseconds delay) { m_progressTimer.setInterval(delay); }
    // The progress window while it is open.
    QProgressDialog* progressWindow() const { return m_progress; }

    // Stops loading: the picture being decoded is dropped, those waiting
    // are forgotten, and cancelled() lets the owner give up the pictures
    // still without pixels.
    void cancel();

signals:
    void cancelled();

private:
    struct Job {
        JpegPicture::PixelJob job;
        QList<QPointer<PictureBox>> boxes;
        std::shared_ptr<std::atomic<bool>> stop = std::make_shared<std::atomic<bool>>(false);
    };
    Job* find(const void* picture);
    static bool stillShown(const Job& job);
    void startNext();
    void jobDone();
    // Every picture asked for is placed or given up: loading is idle again.
    void settle();
    void showProgress();
    void showCount();
    void closeProgress();

    QPointer<QWidget> m_progressOver;
    QList<QPointer<PictureBox>> m_served;
    std::deque<Job> m_queue;
    std::optional<Job> m_running;
    QFutureWatcher<QImage> m_watcher;
    // Of the pictures asked for since loading last went idle.
    int m_asked = 0;
    int m_placed = 0;
    bool m_held = false;
    QTimer m_progressTimer;
    QPointer<QProgressDialog> m_progress;
};

} // namespace fabulor
