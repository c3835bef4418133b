#pragma once
// A file-name edit with a browse button: the user types a name or picks one
// in a file dialog. After the dialog closes, confirmed or cancelled,
// afterDialog() carries the chosen name, or on cancel the name the edit
// already holds.

#include "widgets/Dialogs.h"

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace fabulor {

class FileNameEdit : public QWidget {
    Q_OBJECT
public:
    FileNameEdit(Dialogs& dialogs, FileDialogOptions options, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

    // The parts the user types into and presses; tests drive them as the user does.
    QLineEdit* lineEdit() const { return m_edit; }
    QToolButton* browseButton() const { return m_browse; }

    // Opens the dialog as the browse button does.
    void browse();

signals:
    void afterDialog(const QString& fileName);

private:
    Dialogs& m_dialogs;
    FileDialogOptions m_options;
    QLineEdit* m_edit;
    QToolButton* m_browse;
};

} // namespace fabulor
