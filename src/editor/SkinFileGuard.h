#pragma once
// The questions asked before the skin is let go or its file written over:
// whether to save unsaved changes first, and whether to replace a skin file
// another program has changed since it was loaded or saved. Skins opened
// outside the open dialog (a drop, the recent list) go through it too.

#include "skinfile/FileStamp.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QUndoStack;
class QWidget;

namespace fabulor {

class Dialogs;

class SkinFileGuard : public QObject {
public:
    // stack's clean state is the skin as last loaded or saved; save saves it
    // as "Zapisz do pliku" does (true when written); load loads a skin file
    // as "Wczytaj z pliku" does once a name is chosen. Failures of either are
    // raised again from window, as a handler's are.
    SkinFileGuard(QWidget& window, const QUndoStack& stack, Dialogs& dialogs, std::function<bool()> save,
                  std::function<void(const QString&)> load);

    // Asks, when the skin has unsaved changes, whether to save them first.
    // True when the caller may go on and replace or drop the skin: nothing
    // was unsaved, the user saved it, or chose to drop the changes.
    bool MayLeaveSkin();
    // Before a save over the file last loaded or saved: when another program
    // has changed it since, asks whether to replace it. True when the save
    // may go on.
    bool MayReplaceFileOnDisk(const std::string& path, const QString& fileName);
    // The skin is now the file at path (its full path), as stamp found it;
    // without a stamp there is no file a later save need ask about.
    void setFileOnDisk(const std::string& path, const std::optional<FileStamp>& stamp);

    // A skin file asked for outside the open dialog (a drop, the recent
    // list): unsaved changes are settled first, as for the button.
    void OpenSkinFile(const QString& fileName);

private:
    QWidget& m_window;
    const QUndoStack& m_stack;
    Dialogs& m_dialogs;
    std::function<bool()> m_save;
    std::function<void(const QString&)> m_load;
    // The skin file last loaded or saved, by its full path, and what it held
    // then.
    struct FileOnDisk {
        std::string path;
        FileStamp stamp;
    };
    std::optional<FileOnDisk> m_onDisk;
};

} // namespace fabulor
