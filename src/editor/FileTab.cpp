// The "Plik" tab: loading a skin file into the document and saving the
// document as a skin file. The tab also holds the edit history's buttons
// (HistoryButtons.h), the skins opened or saved last (RecentSkins.h) and the
// check's button (Checking.h).

#include "editor/SettingsWindow.h"

#include "document/DocumentText.h"
#include "document/Errors.h"
#include "editor/Checking.h"
#include "editor/Guarded.h"
#include "editor/HistoryButtons.h"
#include "editor/RecentSkins.h"
#include "editor/SkinFileGuard.h"
#include "skinfile/SkinEntry.h"
#include "widgets/FileNames.h"
#include "widgets/Make.h"

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

} // namespace

void TFBox::buildFileTab()
{
    Button1 = Make<QPushButton>(Plik, "Button1", {56, 32, 145, 25}, QStringLiteral("Wczytaj z pliku"));
    connect(Button1, &QPushButton::clicked, this, Guarded(this, [this] { Button1Click(); }));

    Button2 = Make<QPushButton>(Plik, "Button2", {56, 64, 145, 25}, QStringLiteral("Zapisz do pliku"));
    connect(Button2, &QPushButton::clicked, this, Guarded(this, [this] { Button2Click(); }));

    m_fileGuard = new SkinFileGuard(
        *this, *m_stack, m_dialogs, [this] { return Button2Click(); },
        [this](const QString& fileName) { LoadSkinFile(fileName); });

    m_historyButtons = new HistoryButtons(*m_history, Plik, this);

    m_recentSkins = new RecentSkinsList(
        *this, Plik, [this](const QString& fileName) { m_fileGuard->OpenSkinFile(fileName); });
}

void TFBox::Button1Click()
{
    if (!m_fileGuard->MayLeaveSkin()) return;
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
        m_stack->clear();
        if (!remember) return;
        m_fileGuard->setFileOnDisk(path, stamp);
        m_recentSkins->remember(fileName);
        emit skinLoaded();
    });
    LoadStateFromDocument();
}

bool TFBox::Button2Click()
{
    SaveStateToDocument();
    if (!m_check->MaySaveWithErrors()) return false;
    if (!Sa.Execute() || Sa.FileName().isEmpty()) return false;
    const std::string path = FullPath(Sa.FileName());
    if (!m_fileGuard->MayReplaceFileOnDisk(path, Sa.FileName())) return false;
    MemoryStream text;
    SaveDocumentBytes(document(), text);
    SaveSkinEntry(path, text, Zip);
    m_fileGuard->setFileOnDisk(path, StampFile(path));
    m_stack->setClean();
    m_recentSkins->remember(Sa.FileName());
    return true;
}

} // namespace fabulor
