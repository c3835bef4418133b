#include "RecentSkins.h"

#include "document/Errors.h"
#include "widgets/FileNames.h"
#include "widgets/Make.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QSettings>

namespace fabulor {
namespace {

const QString Key = QStringLiteral("recentSkins");

QSettings Settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(SettingsOrganisation),
                     QString::fromLatin1(SettingsApplication));
}

// One spelling per file, so a file opened by two routes is listed once.
QString Normalised(const QString& fileName)
{
    return AbsoluteFileName(fileName);
}

QStringList Cleaned(const QStringList& stored)
{
    QStringList names;
    for (const QString& name : stored) {
        if (names.size() == RecentSkinCount) break;
        if (name.isEmpty() || !QDir::isAbsolutePath(name)) continue;
        const QString normalised = Normalised(name);
        if (!names.contains(normalised)) names << normalised;
    }
    return names;
}

void Store(const QStringList& names)
{
    QSettings settings = Settings();
    settings.setValue(Key, names);
}

} // namespace

QStringList RecentSkinFiles()
{
    // A value that is no list reads as an empty one.
    return Cleaned(Settings().value(Key).toStringList());
}

void RememberSkinFile(const QString& fileName)
{
    QStringList names = RecentSkinFiles();
    const QString normalised = Normalised(fileName);
    names.removeAll(normalised);
    names.prepend(normalised);
    Store(names.mid(0, RecentSkinCount));
}

void ForgetSkinFile(const QString& fileName)
{
    QStringList names = RecentSkinFiles();
    names.removeAll(Normalised(fileName));
    Store(names);
}

RecentSkinsList::RecentSkinsList(QWidget& window, QWidget* tab, std::function<void(const QString&)> open)
    : QObject(&window), m_open(std::move(open)), m_window(&window), m_tab(tab)
{
    RecentLabel = new QLabel(QStringLiteral("Ostatnie skórki:"), tab);
    RecentLabel->setObjectName(QStringLiteral("RecentLabel"));
    RecentLabel->move(8, 140);
    RecentLabel->adjustSize();

    // A plain list on the tab's face, read like a menu: no frame, no
    // selection, one click opens.
    QListWidget* list = RecentList =
        Make<QListWidget>(tab, "RecentList", {4, 156, 258, RecentSkinCount * 16 + 2});
    list->setAccessibleName(QStringLiteral("Ostatnie skórki"));
    list->setFrameShape(QFrame::NoFrame);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideMiddle);
    list->setUniformItemSizes(true);
    list->setMouseTracking(true);
    // The tab's own face shows through.
    QPalette face = list->palette();
    face.setColor(QPalette::Base, Qt::transparent);
    list->setPalette(face);
    connect(list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { openLater(*item); });
    window.installEventFilter(this);
    tab->installEventFilter(this);
    list->installEventFilter(this);
    show();
}

// The list's own members are reached only for the events handled: the
// filter still sees events while the window is being destroyed.
bool RecentSkinsList::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_window && event->type() == QEvent::WindowActivate) ||
        (watched == m_tab && event->type() == QEvent::Show))
        show();
    if (watched == RecentList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && RecentList->currentItem()) {
            openLater(*RecentList->currentItem());
            return true;
        }
    }
    return false;
}

void RecentSkinsList::openLater(const QListWidgetItem& item)
{
    QMetaObject::invokeMethod(
        this, [this, name = item.data(Qt::UserRole).toString()] { click(name); }, Qt::QueuedConnection);
}

void RecentSkinsList::show()
{
    if (!RecentList) return;
    const QStringList names = RecentSkinFiles();
    QList<bool> gone;
    for (const QString& name : names)
        gone << !FileNameExists(name);
    // Rebuilt only when something changed: the window is activated by the
    // very press that may be about to click an entry.
    bool same = RecentList->count() == names.size();
    for (int row = 0; same && row < names.size(); ++row) {
        const QListWidgetItem* item = RecentList->item(row);
        same = item->data(Qt::UserRole).toString() == names[row] &&
               item->data(Qt::UserRole + 1).toBool() == gone[row];
    }
    if (same) return;

    RecentList->clear();
    const QColor grey = RecentList->palette().color(QPalette::Disabled, QPalette::Text);
    for (int row = 0; row < names.size(); ++row) {
        auto* item = new QListWidgetItem(FileNameShown(QFileInfo(names[row]).fileName()), RecentList);
        item->setData(Qt::UserRole, names[row]);
        item->setData(Qt::UserRole + 1, gone[row]);
        item->setToolTip(QDir::toNativeSeparators(FileNameShown(names[row])));
        if (gone[row]) item->setForeground(grey);
    }
    RecentLabel->setEnabled(!names.isEmpty());
}

void RecentSkinsList::click(const QString& fileName)
{
    if (!FileNameExists(fileName)) {
        ForgetSkinFile(fileName);
        show();
        throw Exception(
            FileNameBytes(QStringLiteral("Plik nie istnieje: ") + QDir::toNativeSeparators(fileName)));
    }
    m_open(fileName);
}

void RecentSkinsList::remember(const QString& fileName)
{
    RememberSkinFile(fileName);
    show();
}

} // namespace fabulor
