// The "Skóra" tab: switching the window's shape on and off, and choosing the
// mask and the skin picture.

#include "editor/SettingsWindow.h"

#include "graphics/Bitmap.h"
#include "graphics/pictures/TransparentForm.h"
#include "preview/PreviewWindow.h"
#include "widgets/FileNameEdit.h"
#include "widgets/WindowGeometry.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>

namespace fabulor {
namespace {

FileDialogOptions MaskDialog()
{
    FileDialogOptions options;
    options.kind = FileDialogOptions::Kind::OpenPicture;
    options.filters = {{QStringLiteral("Bitmapy (*.bmp)"), QStringLiteral("*.bmp")}};
    options.defaultExtension = QStringLiteral("bmp");
    options.fileMustExist = true;
    return options;
}

} // namespace

void TFBox::buildSkinTab()
{
    CheckBox2 = new QCheckBox(QStringLiteral("Użyj skóry"), Skora);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setGeometry(8, 8, 97, 17);
    // The handler runs on every change of state, by the user or by code.
    connect(CheckBox2, &QCheckBox::toggled, this, &TFBox::CheckBox2Click);

    Panel1 = new QFrame(Skora);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 32, 249, 209);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    Label1 = new QLabel(QStringLiteral("Maska:"), Panel1);
    Label1->setGeometry(8, 12, 34, 13);
    Maska = new FileNameEdit(m_dialogs, MaskDialog(), Panel1);
    Maska->setObjectName(QStringLiteral("Maska"));
    Maska->setGeometry(56, 8, 185, 21);
}

void TFBox::CheckBox2Click()
{
    const bool checked = CheckBox2->isChecked();
    Panel1->setEnabled(checked);
    const QString maskFile = Maska->text();
    if (checked && !maskFile.isEmpty() && QFileInfo(maskFile).isFile()) {
        // A file that is no bitmap raises here and reaches the error box;
        // the mask and the window then stay as they were.
        ReadMaskBitmap(QFile::encodeName(maskFile).toStdString(), F.Mask->mask());
        setOuterWidth(&F, F.Mask->mask().width());
        setOuterHeight(&F, F.Mask->mask().height());
        F.Mask->setActive(true);
    } else {
        F.Mask->setActive(false);
    }
}

} // namespace fabulor
