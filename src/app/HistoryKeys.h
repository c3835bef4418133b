#pragma once
// The keys of the edit history in both windows: Ctrl+Z undoes, Ctrl+Shift+Z
// and Ctrl+Y redo, whichever of the program's widgets has the focus, except
// for a text field with typing of its own to undo or redo: it takes them.

#include <QList>
#include <QObject>

#include <functional>

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
    // What the focused text field does for the history key: its own undo or
    // redo; empty when it is no text field or has nothing to undo or redo.
    std::function<void()> fieldStep(QObject* watched, const QKeyEvent& key) const;
    bool inOurWindows(QObject* object) const;

    QList<QWidget*> m_windows;
    QAction* m_undo;
    QAction* m_redo;
};

} // namespace fabulor
