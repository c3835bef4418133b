#pragma once
// The keys of the edit history in both windows: Ctrl+Z undoes, Ctrl+Shift+Z
// and Ctrl+Y redo, whichever of the program's widgets has the focus.

#include <QList>
#include <QObject>

class QAction;
class QKeyEvent;
class QWidget;

namespace fabulor {

class EditHistory;

class HistoryKeys : public QObject {
public:
    // Gives each of windows the undo and redo keys of history; parent owns
    // the keys and must not outlive the history.
    HistoryKeys(EditHistory& history, const QList<QWidget*>& windows, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isHistoryKey(const QKeyEvent& key) const;
    bool inOurWindows(QObject* object) const;

    QList<QWidget*> m_windows;
    QAction* m_undo;
    QAction* m_redo;
};

} // namespace fabulor
