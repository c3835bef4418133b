#pragma once
// The open-picture dialog of the picture file-name edits: an open-file
// dialog with a preview pane beside its file list.

#include "widgets/Dialogs.h"

#include <QFileDialog>

namespace fabulor {

class PicturePreviewPane;

class PictureDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit PictureDialog(const FileDialogOptions& options, QWidget* parent = nullptr);

    // Selects the proposed file, when there is one, and previews it.
    void proposeFile(const QString& fileName);

    // What the dialog shows beside its file list; tests look at it there.
    PicturePreviewPane* previewPane() const { return m_pane; }

private:
    PicturePreviewPane* m_pane;
};

} // namespace fabulor
