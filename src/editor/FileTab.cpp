// The "Plik" tab: loading a skin file into the document, saving the document
// as a skin file, and stepping through the edit history.

#include "editor/SettingsWindow.h"

#include "document/DocumentText.h"
#include "editor/Guarded.h"
#include "skinfile/SkinEntry.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QScopeGuard>
#include <QUndoStack>

#include <exception>

namespace fabulor {
namespace {

// The full path the archive component wants, in the file system's encoding.
std::string FullPath(const QString& fileName)
{
    return QFile::encodeName(QFileInfo(fileName).absoluteFilePath()).toStdString();
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

void TFBox::Button1Click()
{
    if (!MayLeaveSkin()) return;
    // A cancelled dialog changes nothing: the skin, the preview and the edit
    // history stay exactly as they were.
    if (!Op.Execute() || Op.FileName().isEmpty() || !QFileInfo::exists(Op.FileName())) return;
    // Anything of that name is handed on: a pipe or a folder is refused with
    // the archive's open error rather than passed over in silence.
    MemoryStream text = LoadSkinEntry(FullPath(Op.FileName()), Zip);
    // An entry that did not come out whole would look like a loaded skin
    // and, saved again, replace the good file: refuse it and keep the
    // document, and with it the history of its edits, as they are.
    if (const std::optional<QuietFailure>& failure = Zip.lastItemFailure())
        std::rethrow_exception(failure->error);
    LoadDocumentBytes(document(), text);
    // The old steps belong to the old skin: a new history starts, also when
    // applying the new one fails half-way.
    const auto newHistory = qScopeGuard([this] { History->clear(); });
    LoadStateFromDocument();
}

bool TFBox::Button2Click()
{
    SaveStateToDocument();
    if (!Sa.Execute() || Sa.FileName().isEmpty()) return false;
    MemoryStream text;
    SaveDocumentBytes(document(), text);
    SaveSkinEntry(FullPath(Sa.FileName()), text, Zip);
    History->setClean();
    return true;
}

} // namespace fabulor
