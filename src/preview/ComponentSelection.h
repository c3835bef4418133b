#pragma once
// Which components of the preview are selected, by catalogue index, the
// current one first: the one the selection frame marks, the placing keys
// move and Tab steps on from. It holds the state and says when it changes;
// a choice (a press, Tab, the chooser, a finding's "go to", a drop) runs
// SelectComponent, which brings the settings window to the component and
// sets the selection.
//
// A choice selects one component. The selection keeps a list all the same,
// so that selecting several at once has no second place to keep them.

#include <QList>
#include <QObject>

namespace fabulor {

class ComponentSelection : public QObject {
    Q_OBJECT
public:
    // count: how many components there are; an index outside 0 to count - 1
    // is never selected.
    explicit ComponentSelection(int count, QObject* parent = nullptr);

    // The current component, or -1 while nothing is selected.
    int current() const { return m_selected.isEmpty() ? -1 : m_selected.first(); }
    // Every selected component, the current one first, the others in the
    // order they were given.
    const QList<int>& selected() const { return m_selected; }
    bool contains(int index) const { return m_selected.contains(index); }
    bool isEmpty() const { return m_selected.isEmpty(); }

    // Selects index alone; an index outside the components changes nothing.
    void setCurrent(int index);
    // Selects indexes, the first of them the current one; indexes outside
    // the components and repeats are left out.
    void set(const QList<int>& indexes);
    void clear();

signals:
    // The selected components changed: current is the current one now (-1
    // for none), previous the one before. When only the others changed,
    // current equals previous.
    void changed(int current, int previous);

private:
    void replace(QList<int> selected);

    int m_count = 0;
    QList<int> m_selected;
};

} // namespace fabulor
