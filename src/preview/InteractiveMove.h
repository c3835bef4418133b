#pragma once
// The interactive move of the preview: from a press until the release of the
// button that made it, a control follows the pointer inside its parent (or
// the whole window follows it, where the window system cannot move it).
// Once the pointer moves, the control snaps to the lines of its neighbours
// and of its parent (Snapping.h), unless Alt is held.

#include "preview/SnapGuides.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

#include <vector>

class QMouseEvent;
class QWidget;

namespace fabulor {

class InteractiveMove : public QObject {
    Q_OBJECT
public:
    explicit InteractiveMove(QObject* parent = nullptr);
    ~InteractiveMove() override;

    // Moves control inside its parent. source is the widget the press landed
    // on: it holds the mouse until the release, so the move listens there.
    void startControl(QWidget* control, QWidget* source, const QMouseEvent& press);
    // Moves the top-level window by following the pointer ourselves.
    void startWindow(QWidget* window, QWidget* source, const QMouseEvent& press);

    // Whether a move is under way; tests check that a release ended it.
    bool isActive() const { return !m_control.isNull(); }
    // Ends the move where the control is now.
    void finish();

    // The controls a dragged control may snap to: of these, those on the
    // same parent that are not hidden when the drag starts.
    void setSnapTargets(const std::vector<QWidget*>& controls);
    // The lines the dragged control has snapped to, drawn over its parent;
    // null before the first drag.
    SnapGuides* guides() const { return m_guides; }

    // Shows a control's place next to global, as a drag does.
    static void showPlace(const QWidget& control, const QPoint& global);

signals:
    // A control's move begins at a press and ends at the release (or when
    // the move is cut short); one move is one change of the skin. Moves of
    // the window are not announced: its place is not part of the skin.
    void controlMoveStarted(QWidget* control);
    void controlMoveFinished(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void start(QWidget* control, QWidget* source, const QMouseEvent& press, bool window);
    void follow(const QPoint& global, Qt::KeyboardModifiers modifiers, bool dragging);

    QPointer<QWidget> m_control;
    QPointer<QWidget> m_source;
    Qt::MouseButton m_button = Qt::NoButton;
    bool m_window = false;
    bool m_dragged = false; // the pointer has left the press position
    QPoint m_startPos;      // the control's position (or the window's) at the press
    QPoint m_startGlobal;   // the pointer at the press
    QPoint m_grab;          // where the pointer holds the control, in its parent
    std::vector<QPointer<QWidget>> m_snapTargets;
    std::vector<QRect> m_neighbours; // the places of the dragged control's snap targets
    QPointer<SnapGuides> m_guides;
};

} // namespace fabulor
