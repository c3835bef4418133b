#pragma once
// Marks on the preview that are no part of the skin (the selection frame,
// the snapping guides, the mask area): whatever draws the skin's own look
// from the preview (a picture of the window, a comparison of pixels) hides
// them first.

class QWidget;

#include <QList>
#include <QPointer>

namespace fabulor {

// Declares overlay one of the preview's marks.
void MarkAsOverlay(QWidget* overlay);
bool IsOverlay(const QWidget* widget);

// While one lives, every mark on window is hidden; they show again as they
// were when it goes.
class OverlaysHidden {
public:
    explicit OverlaysHidden(QWidget* window);
    ~OverlaysHidden();
    OverlaysHidden(const OverlaysHidden&) = delete;
    OverlaysHidden& operator=(const OverlaysHidden&) = delete;

private:
    QList<QPointer<QWidget>> m_hidden;
};

} // namespace fabulor
