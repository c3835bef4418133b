// The "Plik" tab: loading a skin file into the document, saving the document
// as a skin file, stepping through the edit history, and the skins opened or
// saved last.

#include "editor/SettingsWindow.h"

#include "document/DocumentText.h"
#include "document/Errors.h"
#include "editor/Guarded.h"
#include "editor/RecentSkins.h"
#include "skinfile/SkinEntry.h"
#include "widgets/FileNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QUndoStack>

#include <exception>

namespace fabulor {
namespace {

// The full path the archive component wants, byte for byte as the file
// system names it.
std::string FullPath(const QString& fileName)
{
    return FileNameBytes(AbsoluteFileName(fileName));
}

// Keeps the recent skins current: another run of the program may have
// changed them, and a listed file may have gone since. They are read again
// when the "Plik" tab comes into view or the settings window is activated.
// Enter opens the skin the keyboard reached.
class RecentSkinsWatch : public QObject {
public:
    explicit RecentSkinsWatch(TFBox& box)
        : QObject(&box), m_box(box), m_window(&box), m_tab(box.Plik), m_list(box.RecentList)
    {
        box.installEventFilter(this);
        box.Plik->installEventFilter(this);
        box.RecentList->installEventFilter(this);
    }

    // The window's own members are reached only for the events handled: the
    // filter still sees events while the window is being destroyed.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if ((watched == m_window && event->type() == QEvent::WindowActivate) ||
            (watched == m_tab && event->type() == QEvent::Show))
            m_box.ShowRecentSkins();
        if (watched == m_list && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_box.RecentList->currentItem()) {
                OpenRecent(m_box, *m_box.RecentList->currentItem());
                return true;
            }
        }
        return false;
    }

    // Opened from the event loop: opening rebuilds the list, which must not
    // happen under the list's own mouse handling, and it may ask about
    // unsaved changes first.
    static void OpenRecent(TFBox& box, const QListWidgetItem& item)
    {
        QMetaObject::invokeMethod(
            &box, [&box, name = item.data(Qt::UserRole).toString()] { box.RecentListClick(name); },
            Qt::QueuedConnection);
    }

private:
    TFBox& m_box;
    const QObject* m_window;
    const QObject* m_tab;
    const QObject* m_list;
};

void BuildRecentSkins(TFBox& box)
{
    box.RecentLabel = new QLabel(QStringLiteral("Ostatnie skórki:"), box.Plik);
    box.RecentLabel->setObjectName(QStringLiteral("RecentLabel"));
    box.RecentLabel->move(8, 140);
    box.RecentLabel->adjustSize();

    // A plain list on the tab's face, read like a menu: no frame, no
    // selection, one click opens.
    QListWidget* list = box.RecentList = new QListWidget(box.Plik);
    list->setObjectName(QStringLiteral("RecentList"));
    list->setAccessibleName(QStringLiteral("Ostatnie skórki"));
    list->setGeometry(4, 156, 258, RecentSkinCount * 16 + 2);
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
    QObject::connect(list, &QListWidget::itemClicked, &box,
                     [&box](QListWidgetItem* item) { RecentSkinsWatch::OpenRecent(box, *item); });
    new RecentSkinsWatch(box);
    box.ShowRecentSkins();
}

// "Cofnij: przesunięcie PClose", or the bare verb when the step has no name.
QString StepTip(const QString& verb, const QString& step)
{
    return step.isEmpty() ? verb : verb + QStringLiteral(": ") + step;
}

} // namespace

void TFBox::buildFileTab()
{
    Button1 = new QPushButton(QStringLiteral("Wczytaj z pliku"), Plik);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(56, 32, 145, 25);
    connect(Button1, &QPushButton::clicked, this, Guarded(this, [this] { Button1Click(); }));

    Button2 = new QPushButton(QStringLiteral("Zapisz do pliku"), Plik);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(56, 64, 145, 25);
    connect(Button2, &QPushButton::clicked, this, Guarded(this, [this] { Button2Click(); }));

    UndoButton = new QPushButton(QStringLiteral("Cofnij"), Plik);
    UndoButton->setObjectName(QStringLiteral("UndoButton"));
    UndoButton->setGeometry(56, 104, 70, 25);
    connect(UndoButton, &QPushButton::clicked, this, Guarded(this, [this] { m_history->undo(); }));

    RedoButton = new QPushButton(QStringLiteral("Ponów"), Plik);
    RedoButton->setObjectName(QStringLiteral("RedoButton"));
    RedoButton->setGeometry(131, 104, 70, 25);
    connect(RedoButton, &QPushButton::clicked, this, Guarded(this, [this] { m_history->redo(); }));

    const auto showSteps = [this] {
        UndoButton->setEnabled(History->canUndo());
        UndoButton->setToolTip(StepTip(QStringLiteral("Cofnij"), History->undoText()));
        RedoButton->setEnabled(History->canRedo());
        RedoButton->setToolTip(StepTip(QStringLiteral("Ponów"), History->redoText()));
    };
    connect(History, &QUndoStack::canUndoChanged, this, showSteps);
    connect(History, &QUndoStack::canRedoChanged, this, showSteps);
    connect(History, &QUndoStack::undoTextChanged, this, showSteps);
    connect(History, &QUndoStack::redoTextChanged, this, showSteps);
    showSteps();

    BuildRecentSkins(*this);
}

void TFBox::ShowRecentSkins()
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

void TFBox::RecentListClick(const QString& fileName)
{
    if (!FileNameExists(fileName)) {
        ForgetSkinFile(fileName);
        ShowRecentSkins();
        throw Exception(
            FileNameBytes(QStringLiteral("Plik nie istnieje: ") + QDir::toNativeSeparators(fileName)));
    }
    OpenSkinFile(fileName);
}

bool TFBox::MayLeaveSkin()
{
    if (History->isClean()) return true;
    const SaveChangesAnswer answer = m_dialogs.askSaveChanges(
        QCoreApplication::applicationName(), QStringLiteral("Skórka ma niezapisane zmiany. Zapisać je?"));
    if (answer == SaveChangesAnswer::Discard) return true;
    if (answer == SaveChangesAnswer::Cancel) return false;
    // The same save as "Zapisz do pliku". A cancelled dialog keeps the skin;
    // so does a failed save, whose error box still follows as for the button.
    bool saved = false;
    Guarded(this, [this, &saved] { saved = Button2Click(); })();
    return saved;
}

bool TFBox::MayReplaceFileOnDisk(const std::string& path, const QString& fileName)
{
    // Only the file the skin came from or went to last: saving over any
    // other file is what the user chose it for, and asks nothing.
    if (!m_onDisk || !SameFile(path, m_onDisk->path) || !FileChangedSince(path, m_onDisk->stamp)) return true;
    const QString name = QDir::toNativeSeparators(FileNameShown(AbsoluteFileName(fileName)));
    return m_dialogs.askReplaceChangedFile(
        QCoreApplication::applicationName(),
        QStringLiteral("Plik %1 zmienił się na dysku od wczytania. Zastąpić go?").arg(name));
}

void TFBox::Button1Click()
{
    if (!MayLeaveSkin()) return;
    // A cancelled dialog changes nothing: the skin, the preview and the edit
    // history stay exactly as they were.
    if (!Op.Execute() || Op.FileName().isEmpty() || !FileNameExists(Op.FileName())) return;
    LoadSkinFile(Op.FileName());
}

void TFBox::LoadSkinFile(const QString& fileName, bool remember)
{
    // Anything of that name is handed on: a pipe or a folder is refused with
    // the archive's open error rather than passed over in silence, and so is
    // a name that does not exist.
    const std::string path = FullPath(fileName);
    // Taken before the load: a change made while it reads is then one the
    // next save asks about rather than one it misses. A picture drawn from
    // the command line is never saved, so it takes none.
    std::optional<FileStamp> stamp;
    if (remember) stamp = StampFile(path);
    MemoryStream text = LoadSkinEntry(path, Zip);
    // An entry that did not come out whole would look like a loaded skin
    // and, saved again, replace the good file: refuse it and keep the
    // document, and with it the history of its edits, as they are.
    if (const std::optional<QuietFailure>& failure = Zip.lastItemFailure())
        std::rethrow_exception(failure->error);
    LoadDocumentBytes(document(), text);
    // The old steps belong to the old skin: a new history starts, also when
    // applying the new one fails half-way. The file is the user's skin now
    // either way.
    const auto newHistory = qScopeGuard([this, fileName, remember, path, stamp] {
        History->clear();
        if (!remember) return;
        m_onDisk.reset();
        if (stamp) m_onDisk = FileOnDisk{path, *stamp};
        RememberSkinFile(fileName);
        ShowRecentSkins();
        emit skinLoaded();
    });
    LoadStateFromDocument();
}

void TFBox::OpenSkinFile(const QString& fileName)
{
    if (!MayLeaveSkin()) return;
    LoadSkinFile(fileName);
}

bool TFBox::Button2Click()
{
    SaveStateToDocument();
    if (!MaySaveWithErrors()) return false;
    if (!Sa.Execute() || Sa.FileName().isEmpty()) return false;
    const std::string path = FullPath(Sa.FileName());
    if (!MayReplaceFileOnDisk(path, Sa.FileName())) return false;
    MemoryStream text;
    SaveDocumentBytes(document(), text);
    SaveSkinEntry(path, text, Zip);
    m_onDisk.reset();
    if (const std::optional<FileStamp> stamp = StampFile(path)) m_onDisk = FileOnDisk{path, *stamp};
    History->setClean();
    RememberSkinFile(Sa.FileName());
    ShowRecentSkins();
    return true;
}

} // namespace fabulor
