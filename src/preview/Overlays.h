#pragma once
// Marks on the preview that are no part of the skin (the selection frame,
// the snapping guides, the mask area): whatever draws the skin's own look
// from the preview (a picture of the window, a comparison of pixels) hides
// them first.

#include <QPointer>

#include <vector>

class QWidget;

namespace fabulor {

class TF;

// While one lives, every widget on the preview window, on its page control
// and on the pages that is not part of the skin is hidden; they show again as
// they were when it goes. It asks what the skin is (its picture, its
// components, the pages) rather than what the editor adds, so a mark added
// later is left out too, with no need to declare itself. What lies inside a
// component is the component's own.
class OverlaysHidden {
public:
    explicit OverlaysHidden(TF& preview);
    ~OverlaysHidden();
    OverlaysHidden(const OverlaysHidden&) = delete;
    OverlaysHidden& operator=(const OverlaysHidden&) = delete;

private:
    void hideOthersOn(QWidget* parent);

    std::vector<const QWidget*> m_content;
    std::vector<QPointer<QWidget>> m_hidden;
};

} // namespace fabulor
