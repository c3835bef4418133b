#include "editor/SkinFileGuard.h"

#include "editor/Guarded.h"
#include "widgets/Dialogs.h"
#include "widgets/FileNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QUndoStack>
#include <QWidget>

namespace fabulor {

SkinFileGuard::SkinFileGuard(QWidget& window, const QUndoStack& stack, Dialogs& dialogs,
                             std::function<bool()> save, std::function<void(const QString&)> load)
    : QObject(&window), m_window(window), m_stack(stack), m_dialogs(dialogs), m_save(std::move(save)),
      m_load(std::move(load))
{}

bool SkinFileGuard::MayLeaveSkin()
{
    if (m_stack.isClean()) return true;
    const SaveChangesAnswer answer = m_dialogs.askSaveChanges(
        QCoreApplication::applicationName(), QStringLiteral("Skórka ma niezapisane zmiany. Zapisać je?"));
    if (answer == SaveChangesAnswer::Discard) return true;
    if (answer == SaveChangesAnswer::Cancel) return false;
    // The same save as "Zapisz do pliku". A cancelled dialog keeps the skin;
    // so does a failed save, whose error box still follows as for the button.
    bool saved = false;
    Guarded(&m_window, [this, &saved] { saved = m_save(); })();
    return saved;
}

bool SkinFileGuard::MayReplaceFileOnDisk(const std::string& path, const QString& fileName)
{
    // Only the file the skin came from or went to last: saving over any
    // other file is what the user chose it for, and asks nothing.
    if (!m_onDisk || !SameFile(path, m_onDisk->path) || !FileChangedSince(path, m_onDisk->stamp)) return true;
    const QString name = QDir::toNativeSeparators(FileNameShown(AbsoluteFileName(fileName)));
    return m_dialogs.askReplaceChangedFile(
        QCoreApplication::applicationName(),
        QStringLiteral("Plik %1 zmienił się na dysku od wczytania. Zastąpić go?").arg(name));
}

void SkinFileGuard::setFileOnDisk(const std::string& path, const std::optional<FileStamp>& stamp)
{
    m_onDisk.reset();
    if (stamp) m_onDisk = FileOnDisk{path, *stamp};
}

void SkinFileGuard::OpenSkinFile(const QString& fileName)
{
    if (!MayLeaveSkin()) return;
    m_load(fileName);
}

} // namespace fabulor
