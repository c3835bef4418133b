#include "DialogPlacement.h"

#include "widgets/WindowGeometry.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace fabulor {
namespace {

// Keeps a dialog centred on a window until its own frame is known: the
// window manager frames a dialog only after it is mapped, and Qt sends no
// event when the frame arrives.
class Centring : public QObject {
public:
    Centring(QDialog& dialog, QWidget* over) : QObject(&dialog), m_dialog(&dialog), m_over(over)
    {
        dialog.installEventFilter(this);
        m_watch.setInterval(20);
        connect(&m_watch, &QTimer::timeout, this, [this] {
            centre();
            if (--m_ticksLeft < 0 || !frameExtra(m_dialog).isNull()) m_watch.stop();
        });
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            centre();
            m_ticksLeft = 50; // a second at most; without a window manager no frame comes
            m_watch.start();
        }
        return false;
    }

private:
    void centre()
    {
        if (!m_dialog) return;
        const QSize frame = outerRect(m_dialog).size();
        QRect target(QPoint(), frame);
        QScreen* screen = nullptr;
        if (m_over) {
            target.moveCenter(outerRect(m_over).center());
            screen = m_over->screen();
        } else {
            screen = m_dialog->screen();
            if (screen) target.moveCenter(screen->availableGeometry().center());
        }
        if (screen) {
            // Wholly on the screen, title bar first where it is too big.
            const QRect area = screen->availableGeometry();
            target.moveLeft(
                std::max(area.left(), std::min(target.left(), area.right() + 1 - target.width())));
            target.moveTop(std::max(area.top(), std::min(target.top(), area.bottom() + 1 - target.height())));
        }
        // Placed by its client area, which is where Qt and every window
        // manager agree to put a window; the frame goes around it.
        const QMargins margins =
            m_dialog->windowHandle() ? m_dialog->windowHandle()->frameMargins() : QMargins();
        const QRect client = target.marginsRemoved(margins);
        if (m_dialog->geometry().topLeft() != client.topLeft())
            m_dialog->setGeometry(QRect(client.topLeft(), m_dialog->size()));
    }

    QPointer<QDialog> m_dialog;
    QPointer<QWidget> m_over;
    QTimer m_watch;
    int m_ticksLeft = 0;
};

QPointer<QWidget>& LastActiveWindow()
{
    static QPointer<QWidget> last;
    return last;
}

} // namespace

QWidget* WorkingWindow()
{
    if (QWidget* active = QApplication::activeWindow()) return active;
    return LastActiveWindow();
}

void TrackWorkingWindow()
{
    static const bool tracking = [] {
        QObject::connect(qApp, &QGuiApplication::focusWindowChanged, qApp, [](QWindow*) {
            if (QWidget* active = QApplication::activeWindow()) LastActiveWindow() = active;
        });
        return true;
    }();
    Q_UNUSED(tracking);
}

void PlaceAboveAll(QDialog& dialog, QWidget* over)
{
    // The settings window stays on top of all others: a dialog on the same
    // layer, mapped after it, opens above it.
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    new Centring(dialog, over ? over->window() : nullptr);
}

} // namespace fabulor
