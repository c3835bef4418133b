#include "FileKeys.h"

#include "editor/Guarded.h"
#include "editor/SettingsWindow.h"

#include <QAction>
#include <QWidget>

namespace fabulor {

FileKeys::FileKeys(TFBox& box, const QList<QWidget*>& windows)
    : QObject(&box), m_open(new QAction(QStringLiteral("Wczytaj z pliku"), this)),
      m_save(new QAction(QStringLiteral("Zapisz do pliku"), this))
{
    m_open->setShortcuts(QKeySequence::Open);
    m_save->setShortcuts(QKeySequence::Save);
    // Exactly what the buttons do, failures included.
    connect(m_open, &QAction::triggered, this, Guarded(this, [&box] { box.Button1Click(); }));
    connect(m_save, &QAction::triggered, this, Guarded(this, [&box] { box.Button2Click(); }));
    // One pair serves both windows: a window shortcut works in any window
    // the action was added to.
    m_open->setShortcutContext(Qt::WindowShortcut);
    m_save->setShortcutContext(Qt::WindowShortcut);
    for (QWidget* window : windows)
        window->addActions({m_open, m_save});
}

} // namespace fabulor
