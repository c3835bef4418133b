#include "ListView.h"

#include <QScrollBar>

namespace fabulor {

ListView::ListView(QWidget* parent) : SkinBox(parent)
{
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setWordWrap(true);
}

void ListView::setFlatScrollBars(bool flat)
{
    m_flatScrollBars = flat;
    // Flat bars: a plain groove and handle without the bevelled 3D look.
    const QString sheet =
        flat ? QStringLiteral("QScrollBar { background: palette(window); border: none; }"
                              "QScrollBar::handle { background: palette(mid); border: none; }"
                              "QScrollBar::add-line, QScrollBar::sub-line { border: none; }")
             : QString();
    verticalScrollBar()->setStyleSheet(sheet);
    horizontalScrollBar()->setStyleSheet(sheet);
}

} // namespace fabulor
