#include "Dialogs.h"

#include "widgets/Colours.h"
#include "widgets/DialogPlacement.h"
#include "widgets/PictureDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace fabulor {

Dialogs::~Dialogs() = default;

bool FileDialog::Execute()
{
    const std::optional<QString> chosen = m_dialogs.chooseFile(m_options, m_fileName);
    if (!chosen) return false;
    m_fileName = *chosen;
    // A name typed without an extension gets the default one, whichever
    // dialog implementation answered.
    if (!m_fileName.isEmpty() && !m_options.defaultExtension.isEmpty() &&
        QFileInfo(m_fileName).suffix().isEmpty())
        m_fileName += QLatin1Char('.') + m_options.defaultExtension;
    return true;
}

QStringList QtNameFilters(const QList<FileDialogOptions::Filter>& filters)
{
    QStringList out;
    for (const FileDialogOptions::Filter& filter : filters) {
        // Qt reads the patterns from the last parentheses, separated by
        // blanks; a description that already ends with them is used as is.
        QString patterns = filter.patterns;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString description = filter.description;
        const QString own = QStringLiteral("(%1)").arg(filter.patterns);
        if (description.endsWith(own)) description.chop(own.size());
        out << QStringLiteral("%1 (%2)").arg(description.trimmed(), patterns);
    }
    return out;
}

StandardDialogs::StandardDialogs()
{
    TrackWorkingWindow();
}

void StandardDialogs::showError(const QString& caption, const QString& message)
{
    QWidget* working = WorkingWindow();
    QMessageBox box(QMessageBox::Critical, caption, message, QMessageBox::Ok, working);
    PlaceAboveAll(box, working);
    box.exec();
}

SaveChangesAnswer StandardDialogs::askSaveChanges(const QString& caption, const QString& message)
{
    QWidget* working = WorkingWindow();
    QMessageBox box(QMessageBox::Question, caption, message, QMessageBox::NoButton, working);
    QPushButton* save = box.addButton(QStringLiteral("Zapisz"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Nie zapisuj"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Anuluj"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    // Escape and the box's own close button leave everything as it was.
    box.setEscapeButton(cancel);
    PlaceAboveAll(box, working);
    box.exec();
    if (box.clickedButton() == save) return SaveChangesAnswer::Save;
    if (box.clickedButton() == discard) return SaveChangesAnswer::Discard;
    return SaveChangesAnswer::Cancel;
}

bool StandardDialogs::askSaveAnyway(const QString& caption, const QString& message)
{
    QWidget* working = WorkingWindow();
    QMessageBox box(QMessageBox::Warning, caption, message, QMessageBox::NoButton, working);
    QPushButton* save = box.addButton(QStringLiteral("Zapisz mimo to"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Anuluj"), QMessageBox::RejectRole);
    // A skin with errors is saved only on purpose: Enter and Escape both
    // keep it unsaved.
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    PlaceAboveAll(box, working);
    box.exec();
    return box.clickedButton() == save;
}

bool StandardDialogs::askReplaceChangedFile(const QString& caption, const QString& message)
{
    QWidget* working = WorkingWindow();
    QMessageBox box(QMessageBox::Warning, caption, message, QMessageBox::NoButton, working);
    QPushButton* replace = box.addButton(QStringLiteral("Zastąp"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Anuluj"), QMessageBox::RejectRole);
    // The other program's work is lost only on purpose.
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    PlaceAboveAll(box, working);
    box.exec();
    return box.clickedButton() == replace;
}

std::optional<QString> StandardDialogs::chooseFile(const FileDialogOptions& options,
                                                   const QString& proposedName)
{
    if (options.kind == FileDialogOptions::Kind::OpenPicture) {
        PictureDialog dialog(options, QApplication::activeWindow());
        dialog.proposeFile(proposedName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().constFirst();
    }
    QFileDialog dialog(QApplication::activeWindow());
    const bool save = options.kind == FileDialogOptions::Kind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(options.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(QtNameFilters(options.filters));
    dialog.setDefaultSuffix(options.defaultExtension);
    // Replacing a skin file is what saving is for: no confirmation. (The
    // editor asks itself when another program changed the file it saves
    // over.)
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!proposedName.isEmpty()) dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace fabulor

namespace fabulor {

std::optional<Colour> StandardDialogs::chooseColour(Colour initial)
{
    const QColor chosen = QColorDialog::getColor(toQColor(initial), QApplication::activeWindow());
    if (!chosen.isValid()) return std::nullopt;
    return fromQColor(chosen);
}

} // namespace fabulor
