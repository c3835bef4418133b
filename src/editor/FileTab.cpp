// The "Plik" tab: loading a skin file into the document and saving the
// document as a skin file.

#include "editor/SettingsWindow.h"

#include "document/DocumentText.h"
#include "editor/Guarded.h"
#include "skinfile/SkinEntry.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include <exception>

namespace fabulor {
namespace {

// The full path the archive component wants, in the file system's encoding.
std::string FullPath(const QString& fileName)
{
    return QFile::encodeName(QFileInfo(fileName).absoluteFilePath()).toStdString();
}

} // namespace

void TFBox::buildFileTab()
{
    Button1 = new QPushButton(QStringLiteral("Wczytaj z pliku"), Plik);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(56, 32, 145, 25);
    connect(Button1, &QPushButton::clicked, this, Guarded(this, [this] { Button1Click(); }));

    Button2 = new QPushButton(QStringLiteral("Zapisz do pliku"), Plik);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(56, 64, 145, 25);
    connect(Button2, &QPushButton::clicked, this, Guarded(this, [this] { Button2Click(); }));
}

void TFBox::Button1Click()
{
    // Anything of that name is handed on: a pipe or a folder is refused with
    // the archive's open error rather than passed over in silence.
    if (Op.Execute() && !Op.FileName().isEmpty() && QFileInfo::exists(Op.FileName())) {
        MemoryStream text = LoadSkinEntry(FullPath(Op.FileName()), Zip);
        // An entry that did not come out whole would look like a loaded skin
        // and, saved again, replace the good file: refuse it and keep the
        // document as it is.
        if (const std::optional<QuietFailure>& failure = Zip.lastItemFailure())
            std::rethrow_exception(failure->error);
        LoadDocumentBytes(document(), text);
    }
    // Also after a cancelled dialog: the preview returns to the document.
    LoadStateFromDocument();
}

void TFBox::Button2Click()
{
    SaveStateToDocument();
    if (!Sa.Execute() || Sa.FileName().isEmpty()) return;
    MemoryStream text;
    SaveDocumentBytes(document(), text);
    SaveSkinEntry(FullPath(Sa.FileName()), text, Zip);
}

} // namespace fabulor
