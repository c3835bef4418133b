#include "PicturePreviewPane.h"

#include "document/FileAccess.h"
#include "graphics/Bitmap.h"
#include "graphics/JpegPicture.h"
#include "graphics/PictureLimits.h"
#include "widgets/FileNames.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include <cstdint>
#include <exception>
#include <optional>
#include <span>
#include <vector>

namespace fabulor {
namespace {

enum class PictureKind { None, Bitmap, Icon, EnhancedMetafile, Metafile, Jpeg };

// The only kinds the preview knows; GIF, PCX and ANI files show nothing.
struct KnownKind {
    const char* extension;
    PictureKind kind;
};

constexpr KnownKind KnownKinds[] = {
    {"bmp", PictureKind::Bitmap},   {"ico", PictureKind::Icon}, {"emf", PictureKind::EnhancedMetafile},
    {"wmf", PictureKind::Metafile}, {"jpg", PictureKind::Jpeg}, {"jpeg", PictureKind::Jpeg},
};

const KnownKind* FindKind(const QString& fileName)
{
    // Extensions are matched without regard to case, as file names are on
    // the system the skins are made for.
    const QString extension = QFileInfo(fileName).suffix();
    for (const KnownKind& known : KnownKinds)
        if (extension.compare(QLatin1String(known.extension), Qt::CaseInsensitive) == 0) return &known;
    return nullptr;
}

QImage DecodeFile(const QString& fileName, PictureKind kind)
{
    // Read through the regular-file check, so a pipe the dialog passes over
    // cannot stop the dialog; a file larger than any picture we would hold
    // is not worth reading just to browse past it.
    const std::optional<std::vector<std::uint8_t>> data =
        ReadRegularFile(FileNameBytes(fileName), MaxPictureBytes);
    if (!data) return {};
    if (kind == PictureKind::Icon) {
        QByteArray bytes(reinterpret_cast<const char*>(data->data()), static_cast<qsizetype>(data->size()));
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "ico");
        return reader.read();
    }
    if (kind == PictureKind::Bitmap) {
        Bitmap bitmap;
        ReadMaskBitmap(std::span<const std::uint8_t>(*data), bitmap);
        return bitmap.image();
    }
    // A copy: the picture object and its pixels end with this call.
    return DecodeJpegPicture(std::span<const std::uint8_t>(*data)).pixels().copy();
}

} // namespace

QImage LoadPreviewPicture(const QString& fileName)
{
    const KnownKind* known = FindKind(fileName);
    if (!known) return {};
    if (!FileNameIsRegularFile(fileName)) return {};
    // Qt draws no metafiles.
    if (known->kind == PictureKind::EnhancedMetafile || known->kind == PictureKind::Metafile) return {};
    try {
        QImage image = DecodeFile(fileName, known->kind);
        // An empty bitmap reads without failure, but there is nothing to show.
        if (image.width() <= 0 || image.height() <= 0) return {};
        return image;
    } catch (const std::exception&) {
        // Browsing past a damaged file is no error: the pane just shows nothing.
        return {};
    }
}

PicturePreviewPane::PicturePreviewPane(QWidget* parent)
    : QWidget(parent), m_caption(new QLabel(this)), m_view(new QLabel(this))
{
    setObjectName(QStringLiteral("PicturePreviewPane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_caption);
    layout->addWidget(m_view, 1);
    m_view->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_view->setAlignment(Qt::AlignCenter);
    m_view->setBackgroundRole(QPalette::Base);
    m_view->setAutoFillBackground(true);
    // The view follows the pane; a large picture must not widen the dialog.
    m_view->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_view->setMinimumSize(64, 64);
    setMinimumWidth(160);
    updateView();
}

void PicturePreviewPane::showFile(const QString& path)
{
    m_picture = path.isEmpty() ? QImage() : LoadPreviewPicture(path);
    updateView();
}

QString PicturePreviewPane::caption() const
{
    return m_caption->text();
}

QString PicturePreviewPane::placeholderText() const
{
    return hasPicture() ? QString() : m_view->text();
}

QSize PicturePreviewPane::shownSize() const
{
    return hasPicture() ? m_view->pixmap().size() : QSize();
}

void PicturePreviewPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    updateView();
}

void PicturePreviewPane::updateView()
{
    if (m_picture.isNull()) {
        m_caption->setText(QStringLiteral("Picture:"));
        m_view->setPixmap(QPixmap());
        m_view->setText(QStringLiteral("(None)"));
        return;
    }
    m_caption->setText(QString::asprintf(" (%dx%d)", m_picture.width(), m_picture.height()));
    // Scaled down to the view keeping its proportions, never enlarged.
    const QSize room = m_view->contentsRect().size().boundedTo(QSize(4096, 4096)) - QSize(4, 4);
    QSize size = m_picture.size();
    if (size.width() > room.width() || size.height() > room.height())
        size = size.scaled(room.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const QImage shown = size == m_picture.size()
                             ? m_picture
                             : m_picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_view->setPixmap(QPixmap::fromImage(shown));
}

} // namespace fabulor
