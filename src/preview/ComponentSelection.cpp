#include "preview/ComponentSelection.h"

#include <utility>

namespace fabulor {

ComponentSelection::ComponentSelection(int count, QObject* parent) : QObject(parent), m_count(count) {}

void ComponentSelection::setCurrent(int index)
{
    if (index < 0 || index >= m_count) return;
    replace({index});
}

void ComponentSelection::set(const QList<int>& indexes)
{
    QList<int> selected;
    for (const int index : indexes)
        if (index >= 0 && index < m_count && !selected.contains(index)) selected.append(index);
    replace(std::move(selected));
}

void ComponentSelection::clear()
{
    replace({});
}

void ComponentSelection::replace(QList<int> selected)
{
    if (selected == m_selected) return;
    const int previous = current();
    m_selected = std::move(selected);
    emit changed(current(), previous);
}

} // namespace fabulor
