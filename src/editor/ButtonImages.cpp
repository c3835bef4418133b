// The picture band "Rysunek" of the "Komponenty" tab: the mouse-out and
// mouse-over pictures of the current button. A chosen file is stored in the
// document before it is decoded, so its bytes stay whether it shows or not.

#include "editor/SettingsWindow.h"

#include "editor/Catalogue.h"
#include "editor/HoverPreview.h"
#include "editor/PictureFile.h"
#include "editor/SkinPictures.h"
#include "editor/Steps.h"
#include "pictures/BuiltInPictures.h"
#include "preview/PreviewWindow.h"
#include "widgets/BandPanel.h"
#include "widgets/FileNameEdit.h"
#include "widgets/FileNames.h"
#include "widgets/LazyIcon.h"
#include "widgets/Make.h"
#include "widgets/PictureBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QUndoStack>

#include <span>

namespace fabulor {
namespace {

// A page with two green circular arrows: "read the picture again".
QIcon RefreshGlyph()
{
    QPixmap glyph(16, 16);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(2.5, 0.5, 10, 14));
    const QColor green(20, 150, 40);
    painter.setPen(QPen(green, 1.6));
    painter.setBrush(Qt::NoBrush);
    const QRectF circle(4, 4, 8, 8);
    painter.drawArc(circle, 30 * 16, 150 * 16);
    painter.drawArc(circle, 210 * 16, 150 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(green);
    QPainterPath head;
    head.moveTo(3.0, 6.5);
    head.lineTo(6.5, 6.5);
    head.lineTo(4.5, 9.5);
    head.closeSubpath();
    painter.drawPath(head);
    QPainterPath tail;
    tail.moveTo(13.0, 9.5);
    tail.lineTo(9.5, 9.5);
    tail.lineTo(11.5, 6.5);
    tail.closeSubpath();
    painter.drawPath(tail);
    return QIcon(glyph);
}

} // namespace

void TFBox::buildPictureBand()
{
    QWidget* band = Rysunek->content();
    BRefr = Make<QToolButton>(band, "BRefr", {200, 40, 23, 22});
    BRefr->setAccessibleName(QStringLiteral("Odśwież rysunki"));
    // Drawn when first shown: the band is on a tab the editor does not open with.
    BRefr->setIcon(LazyIcon(RefreshGlyph));
    BRefr->setIconSize(QSize(16, 16));
    BRefr->setAutoRaise(true);
    connect(BRefr, &QToolButton::clicked, this, &TFBox::BRefrClick);

    MOU = Make<PictureBox>(band, "MOU", {48, 88, 49, 49});
    MOU->setAutoSize(false);
    MOV = Make<PictureBox>(band, "MOV", {128, 88, 49, 49});
    MOV->setAutoSize(false);

    // A chosen picture is a step of the history: the stored bytes, what the
    // button shows and the file name.
    const auto hook = [this](FileNameEdit* edit, KeyRole picture, const QString& what,
                             void (TFBox::*handler)(const QString&)) {
        ConnectStep(
            this, *m_history, edit, &FileNameEdit::afterDialog,
            [this, edit, picture, what] {
                const int component = currentComponent();
                return StepSpec{what.arg(SectionName(component)),
                                StepParts::buttonPicture(F, component, picture, edit)};
            },
            handler);
    };
    hook(MP1, KeyRole::MouseOut, QStringLiteral("obrazek MouseOut %1"), &TFBox::MP1AfterDialog);
    hook(MP2, KeyRole::MouseOver, QStringLiteral("obrazek Mouse Over %1"), &TFBox::MP2AfterDialog);

    m_hover = new HoverPreview(
        F, m_document, [this] { return currentComponent(); }, [this] { return m_pictures->pictureBudget(); },
        this);
    m_hover->buildOption(band);
    m_hover->setThumbnails(MOU, MOV);
    // Pictures change with a choice, an undo or a redo, and with a load
    // (which starts a new history); the boxes follow the chooser.
    connect(m_stack, &QUndoStack::indexChanged, m_hover, &HoverPreview::refresh);
    connect(this, &TFBox::currentComponentChanged, m_hover, &HoverPreview::refresh);

    m_pictures = new SkinPictures(F, *m_hover, this);
}

void TFBox::LoadButtonImages(bool fromFiles, const QString& mouseOut, const QString& mouseOver)
{
    const int index = currentComponent();
    const CatalogueEntry* button = ButtonForIndex(index);
    if (!button) return;
    Picture& picture = button->image(F)->picture();

    if (!fromFiles) {
        MemoryStream stored;
        document().readBinary(button->section, ComponentKey(index, KeyRole::MouseOut).name, stored);
        // The picture shown gives its share of the skin's picture memory
        // back before the one replacing it asks for its own.
        picture.clear();
        ShowButtonPicture(picture, stored, button->schema->builtInPicture, m_pictures->pictureBudget());
        return;
    }

    if (!mouseOut.isEmpty()) {
        const std::optional<std::vector<std::uint8_t>> bytes =
            FileNameIsRegularFile(mouseOut) ? ReadPictureFile(mouseOut) : std::nullopt;
        if (!bytes) {
            LoadBuiltInPicture(picture, button->schema->builtInPicture);
        } else {
            const MemoryStream stream(*bytes);
            document().writeBinary(button->section, ComponentKey(index, KeyRole::MouseOut).name, stream);
            picture.clear();
            ShowButtonPicture(picture, std::span<const std::uint8_t>(*bytes), button->schema->builtInPicture,
                              m_pictures->pictureBudget());
        }
    }

    // The warning picture has no mouse-over picture.
    if (!mouseOver.isEmpty() && button->schema->has(MouseOverGroup) && FileNameIsRegularFile(mouseOver)) {
        if (const std::optional<std::vector<std::uint8_t>> bytes = ReadPictureFile(mouseOver))
            document().writeBinary(button->section, ComponentKey(index, KeyRole::MouseOver).name,
                                   MemoryStream(*bytes));
    }
}

void TFBox::MP1AfterDialog(const QString& fileName)
{
    LoadButtonImages(true, fileName, QString());
}

void TFBox::MP2AfterDialog(const QString& fileName)
{
    LoadButtonImages(true, QString(), fileName);
}

void TFBox::BRefrClick()
{
    LoadButtonImages(false, QString(), QString());
}

} // namespace fabulor
