#include "editor/HoverPreview.h"

#include "document/IniStore.h"
#include "document/MemoryStream.h"
#include "pictures/BuiltInPictures.h"
#include "preview/InteractiveMove.h"
#include "preview/PreviewWindow.h"
#include "widgets/Make.h"
#include "widgets/PictureBox.h"

#include <QCheckBox>
#include <QEvent>
#include <QImage>
#include <QPainter>

#include <string_view>

namespace fabulor {
namespace {

// The pixels a picture shows, keyed as its box draws them; a JPEG picture
// not drawn yet only as large as a box of size needs.
QImage PixelsOf(const Picture& picture, bool transparent, QSize size)
{
    if (const JpegPicture* jpeg = picture.jpeg()) return jpeg->preview(size);
    if (const Bitmap* bitmap = picture.bitmap()) {
        if (bitmap->isEmpty()) return {};
        return transparent ? KeyOutBottomLeftColour(bitmap->image()) : bitmap->image();
    }
    return {};
}

// The pixels made to fit the box, centred: a larger picture shrinks keeping
// its proportions, a smaller one keeps its own size rather than blurring.
Picture Thumbnail(const QImage& pixels, QSize box)
{
    Picture thumbnail;
    if (pixels.isNull() || box.isEmpty()) return thumbnail;
    const QImage fitted = pixels.width() > box.width() || pixels.height() > box.height()
                              ? pixels.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                              : pixels;
    QImage canvas(box, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.drawImage((box.width() - fitted.width()) / 2, (box.height() - fitted.height()) / 2, fitted);
    painter.end();
    thumbnail.assign(Bitmap(std::move(canvas)));
    return thumbnail;
}

void Show(PictureBox* box, const Picture& picture)
{
    if (!box) return;
    if (picture.kind() == Picture::Kind::None && box->picture().kind() == Picture::Kind::None) return;
    box->picture() = picture;
}

} // namespace

HoverPreview::HoverPreview(TF& preview, const std::optional<IniStore>& document, std::function<int()> current,
                           std::function<std::shared_ptr<PictureBudget>()> budget, QObject* parent)
    : QObject(parent), m_preview(preview), m_document(document), m_current(std::move(current)),
      m_budget(std::move(budget))
{
    for (int index = FirstButtonIndex; index <= LastButtonIndex; ++index) {
        PictureBox* box = ButtonForIndex(index)->image(preview);
        if (!box) continue;
        m_boxes[std::size_t(index)] = box;
        box->installEventFilter(this);
        // A new mouse-out picture (chosen, taken back, loaded) may come with
        // a new mouse-over one.
        connect(box, &PictureBox::pictureChanged, this, &HoverPreview::refresh);
    }
    // Nothing changes under a drag; where the pointer is counts once it ends.
    if (preview.Move)
        connect(preview.Move, &InteractiveMove::controlMoveFinished, this, &HoverPreview::showHover);
}

void HoverPreview::buildOption(QWidget* band)
{
    HoverCheck =
        Make<QCheckBox>(band, "HoverCheck", {48, 143, 170, 17}, QStringLiteral("Podgląd najechania"));
    HoverCheck->setAccessibleName(QStringLiteral("Podgląd najechania"));
    connect(HoverCheck, &QCheckBox::toggled, this, &HoverPreview::setEnabled);
}

void HoverPreview::setThumbnails(PictureBox* mouseOut, PictureBox* mouseOver)
{
    m_mouseOut = mouseOut;
    m_mouseOver = mouseOver;
    showThumbnails();
}

void HoverPreview::setEnabled(bool on)
{
    if (m_on == on) return;
    m_on = on;
    // Off leaves nothing decoded behind.
    if (!on) m_cache = {};
    showHover();
    showThumbnails();
}

void HoverPreview::refresh()
{
    if (!m_on) return;
    showHover();
    showThumbnails();
}

bool HoverPreview::dragging() const
{
    return m_preview.Move && m_preview.Move->isActive();
}

bool HoverPreview::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::Enter && type != QEvent::Leave) return QObject::eventFilter(watched, event);
    int index = -1;
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        if (m_boxes[i] && m_boxes[i] == watched) index = int(i);
    if (index < 0) return QObject::eventFilter(watched, event);
    if (type == QEvent::Enter)
        m_hovered = index;
    else if (m_hovered == index)
        m_hovered = -1;
    if (m_on && !dragging()) showHover();
    return QObject::eventFilter(watched, event);
}

const std::optional<Picture>& HoverPreview::mouseOver(int index)
{
    static const std::optional<Picture> none;
    const CatalogueEntry* button = ButtonForIndex(index);
    if (!button || !button->schema->has(MouseOverGroup) || !m_document) return none;
    Cached& cached = m_cache[std::size_t(index)];
    // The stored line names the picture: a choice, an undo or a load that
    // changes it makes the cached one stale.
    const std::string_view key = ComponentSection(index).key(KeyRole::MouseOver)->name;
    const std::optional<std::string> line = m_document->keyLine(button->section, key);
    const std::string_view text = line ? std::string_view(*line) : std::string_view();
    const std::size_t hash = std::hash<std::string_view>{}(text);
    if (cached.known && cached.hash == hash && cached.length == text.size()) return cached.picture;

    cached = Cached{true, hash, text.size(), std::nullopt};
    MemoryStream stored;
    if (m_document->readBinary(button->section, key, stored) == 0) return cached.picture;
    // The decoder and limits of the mouse-out picture; what does not decode
    // leaves the button its mouse-out picture, as in the reader.
    Picture decoded;
    ++m_decodes;
    ShowButtonPicture(decoded, stored, button->schema->builtInPicture, m_budget ? m_budget() : nullptr);
    if (decoded.jpeg()) cached.picture = std::move(decoded);
    return cached.picture;
}

void HoverPreview::dropUndecoded()
{
    for (Cached& cached : m_cache)
        if (cached.picture && cached.picture->jpeg() && !cached.picture->jpeg()->decoded())
            cached.picture.reset(); // still known: not decoded again for the same stored picture
    showHover();
}

void HoverPreview::showAsHovered(int index)
{
    m_forced = ButtonForIndex(index) ? index : -1;
    showHover();
    // Off leaves nothing decoded behind, as switching off does.
    if (m_forced < 0 && !m_on) m_cache = {};
}

void HoverPreview::showHover()
{
    if (dragging()) return;
    const int wanted = m_forced >= 0 ? m_forced : m_on ? m_hovered : -1;
    const std::optional<Picture>& picture = mouseOver(wanted);
    if (m_shown >= 0 && m_shown != wanted && m_boxes[std::size_t(m_shown)])
        m_boxes[std::size_t(m_shown)]->setStandIn(std::nullopt);
    m_shown = -1;
    if (wanted < 0 || !m_boxes[std::size_t(wanted)]) return;
    PictureBox* box = m_boxes[std::size_t(wanted)];
    if (picture) {
        box->setStandIn(picture);
        m_shown = wanted;
    } else if (box->hasStandIn()) {
        box->setStandIn(std::nullopt);
    }
}

void HoverPreview::showThumbnails()
{
    const CatalogueEntry* button = m_on ? ButtonForIndex(m_current ? m_current() : -1) : nullptr;
    if (!button) {
        Show(m_mouseOut, Picture());
        Show(m_mouseOver, Picture());
        return;
    }
    const int index = int(button - Catalogue().data());
    const PictureBox* image = button->image(m_preview);
    if (m_mouseOut)
        Show(m_mouseOut, Thumbnail(PixelsOf(image->picture(), image->transparent(), m_mouseOut->size()),
                                   m_mouseOut->size()));
    if (m_mouseOver) {
        const std::optional<Picture>& picture = mouseOver(index);
        Show(m_mouseOver, picture
                              ? Thumbnail(PixelsOf(*picture, false, m_mouseOver->size()), m_mouseOver->size())
                              : Picture());
    }
}

} // namespace fabulor
