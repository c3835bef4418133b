#include "widgets/FocusOrder.h"

#include <QWidget>

namespace fabulor {

void PutInFocusOrderAt(QWidget* place, QWidget* late)
{
    // Qt moves a widget only after one that takes the focus: from a widget
    // that takes none (a composite, a page), it moves the wrong one.
    QWidget* before = place->previousInFocusChain();
    while (before != place && (before->focusPolicy() == Qt::NoFocus || before == late))
        before = before->previousInFocusChain();
    if (before != place) QWidget::setTabOrder(before, late);
}

} // namespace fabulor
