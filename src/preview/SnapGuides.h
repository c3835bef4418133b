#pragma once
// The guides of a drag: thin lines over the dragged control's parent that
// show which lines of its neighbours or of the parent it has snapped to.
// Like the selection frame they are no part of the skin and invisible to the
// mouse; they show only while a drag holds the control on a line.

#include "preview/Snapping.h"

#include <QWidget>

#include <vector>

namespace fabulor {

class SnapGuides : public QWidget {
    Q_OBJECT
public:
    explicit SnapGuides(QWidget* parent = nullptr);

    // Draws guides over area, the parent of the dragged control, whose
    // coordinates they are in; hides for none.
    void showGuides(QWidget* area, std::vector<SnapGuide> guides);
    // Hides the guides: the drag is over.
    void clear();
    const std::vector<SnapGuide>& guides() const { return m_guides; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<SnapGuide> m_guides;
};

} // namespace fabulor
