#pragma once
// Ctrl+O and Ctrl+S in both windows: "Wczytaj z pliku" and "Zapisz do
// pliku" of the settings window's "Plik" tab, whichever window is active.

#include <QList>
#include <QObject>

class QAction;
class QWidget;

namespace fabulor {

class TFBox;

class FileKeys : public QObject {
public:
    // Gives each of windows the keys of box's two file buttons; box owns them.
    FileKeys(TFBox& box, const QList<QWidget*>& windows);

    QAction* open() const { return m_open; }
    QAction* save() const { return m_save; }

private:
    QAction* m_open;
    QAction* m_save;
};

} // namespace fabulor
