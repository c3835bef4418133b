#pragma once
// A file-name edit with a browse button: the user types a name or picks one
// in a file dialog. After the dialog closes, confirmed or cancelled,
// afterDialog() carries the chosen name, or on cancel the name the edit
// already holds. The edit and its button are made when the widget is first
// polished (shown) or asked for, as with SpinEdit.

#include "widgets/Dialogs.h"

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace fabulor {

class FileNameEdit : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText USER true)
public:
    FileNameEdit(Dialogs& dialogs, FileDialogOptions options, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

    // The parts the user types into and presses; tests drive them as the user
    // does. Asking for one makes them.
    QLineEdit* lineEdit() const;
    QToolButton* browseButton() const;
    bool hasParts() const { return m_edit != nullptr; }
    // Names the parts after the widget's accessible name, now and when made.
    void nameParts();

    // Opens the dialog as the browse button does.
    void browse();

signals:
    void afterDialog(const QString& fileName);

protected:
    bool event(QEvent* event) override;

private:
    void makeParts();

    Dialogs& m_dialogs;
    FileDialogOptions m_options;
    QLineEdit* m_edit = nullptr;
    QToolButton* m_browse = nullptr;
    // The name while there is no edit to hold it.
    QString m_text;
};

} // namespace fabulor
