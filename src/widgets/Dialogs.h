#pragma once
// The one seam through which the program shows modal dialogs and message
// boxes. The real implementation opens Qt's dialogs; tests install scripted
// answers, so every handler runs without a modal loop.

#include "document/ColourTable.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace fabulor {

// What a file dialog asks for. Filters are pairs of a description and its
// ";"-separated patterns, in the order the user sees them.
struct FileDialogOptions {
    enum class Kind { Open, Save, OpenPicture };
    struct Filter {
        QString description;
        QString patterns;
    };

    Kind kind = Kind::Open;
    QList<Filter> filters;
    QString defaultExtension; // without the dot; added to a name typed without one
    bool fileMustExist = false;
};

// The answers to the question whether unsaved changes should be saved.
enum class SaveChangesAnswer { Save, Discard, Cancel };

class Dialogs {
public:
    virtual ~Dialogs();

    // The error box: error icon, the given caption, the message as text.
    virtual void showError(const QString& caption, const QString& message) = 0;
    // A file dialog proposing proposedName; the chosen name, or nothing when
    // the user cancels.
    virtual std::optional<QString> chooseFile(const FileDialogOptions& options,
                                              const QString& proposedName) = 0;
    // The colour dialog set to initial; the chosen colour, or nothing when
    // the user cancels.
    virtual std::optional<Colour> chooseColour(Colour initial) = 0;
    // The question box asked before unsaved changes would be lost: save
    // them, drop them, or cancel what was about to drop them.
    virtual SaveChangesAnswer askSaveChanges(const QString& caption, const QString& message) = 0;
    // The question box asked before a skin with errors is saved: true for
    // "Zapisz mimo to", false for "Anuluj" (the default, and Escape).
    virtual bool askSaveAnyway(const QString& caption, const QString& message) = 0;
    // The question box asked before a save replaces a file that another
    // program changed since the skin was loaded from it or saved to it: true
    // for "Zastąp", false for "Anuluj" (the default, and Escape).
    virtual bool askReplaceChangedFile(const QString& caption, const QString& message) = 0;
};

// A file dialog that remembers the name of its last confirmed choice and
// proposes it the next time it opens.
class FileDialog {
public:
    FileDialog(Dialogs& dialogs, FileDialogOptions options)
        : m_dialogs(dialogs), m_options(std::move(options))
    {}

    // True when the user confirmed; FileName() is then the chosen name.
    bool Execute();
    const QString& FileName() const { return m_fileName; }
    const FileDialogOptions& options() const { return m_options; }

private:
    Dialogs& m_dialogs;
    FileDialogOptions m_options;
    QString m_fileName;
};

// Qt's standard dialogs.
class StandardDialogs : public Dialogs {
public:
    // From here on the boxes know which window the user worked in last.
    StandardDialogs();
    void showError(const QString& caption, const QString& message) override;
    std::optional<QString> chooseFile(const FileDialogOptions& options, const QString& proposedName) override;
    std::optional<Colour> chooseColour(Colour initial) override;
    SaveChangesAnswer askSaveChanges(const QString& caption, const QString& message) override;
    bool askSaveAnyway(const QString& caption, const QString& message) override;
    bool askReplaceChangedFile(const QString& caption, const QString& message) override;
};

// The filter list in Qt's notation: "description (pattern pattern)".
QStringList QtNameFilters(const QList<FileDialogOptions::Filter>& filters);

} // namespace fabulor
