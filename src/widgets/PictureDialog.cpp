#include "PictureDialog.h"

#include "widgets/PicturePreviewPane.h"

#include <QGridLayout>

namespace fabulor {

PictureDialog::PictureDialog(const FileDialogOptions& options, QWidget* parent)
    : QFileDialog(parent), m_pane(nullptr)
{
    setObjectName(QStringLiteral("PictureDialog"));
    // The platform's own dialog cannot take a pane; Qt's can.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setAcceptMode(QFileDialog::AcceptOpen);
    // Only an existing file in an existing folder can be confirmed.
    setFileMode(options.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    setNameFilters(QtNameFilters(options.filters));
    setDefaultSuffix(options.defaultExtension);

    m_pane = new PicturePreviewPane(this);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        // Qt's dialog lays out its file list in the second row of a grid;
        // the pane takes a column of its own to the right of it.
        grid->addWidget(m_pane, 1, grid->columnCount(), 1, 1);
    } else if (layout()) {
        layout()->addWidget(m_pane);
    }
    connect(this, &QFileDialog::currentChanged, m_pane, &PicturePreviewPane::showFile);
    resize(sizeHint().expandedTo(QSize(700, 420)));
}

void PictureDialog::proposeFile(const QString& fileName)
{
    if (fileName.isEmpty()) return;
    selectFile(fileName);
    m_pane->showFile(fileName);
}

} // namespace fabulor
