#include "editor/SkinRender.h"

#include "editor/Catalogue.h"
#include "editor/HoverPreview.h"
#include "pictures/TransparentForm.h"
#include "preview/Overlays.h"
#include "preview/PreviewControls.h"
#include "preview/PreviewWindow.h"
#include "widgets/PageControl.h"
#include "widgets/PictureBox.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryFile>

namespace fabulor {
namespace {

// The page of the page control a component lies on, or -1.
int PageOf(TF& f, int index)
{
    const QWidget* control = ComponentControl(f, index);
    for (int page = 0; control && page < f.PC1->pageCount(); ++page)
        if (control->parentWidget() == f.PC1->page(page)) return page;
    return -1;
}

} // namespace

QImage RenderSkin(TF& preview)
{
    const OverlaysHidden content(preview);
    // Taken as the window grabs itself: drawing into an image of another
    // format would round the skin picture's colours differently.
    QImage image = preview.grab().toImage();
    // The skin's shape (none: the whole window shows); what lies outside it
    // is not there. Cleared pixel by pixel through the shape's 1-bit
    // picture: a busy mask's region is more than Qt's painter can clip to.
    const QImage shape = preview.Mask->shape();
    if (shape.isNull()) return image.convertToFormat(QImage::Format_RGB32);
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // The shape is in the window's coordinates, the picture in device pixels.
    const qreal ratio = image.devicePixelRatio();
    const auto shown = [&](int x, int y) {
        if (ratio != 1) {
            x = int(x / ratio);
            y = int(y / ratio);
        }
        return x < shape.width() && y < shape.height() && (shape.constScanLine(y)[x / 8] >> (x % 8) & 1);
    };
    for (int y = 0; y < image.height(); ++y) {
        auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (!shown(x, y)) pixels[x] = 0;
    }
    return image;
}

bool HasMouseOverPicture(int index)
{
    const CatalogueEntry* button = ButtonForIndex(index);
    return button && button->schema->has(MouseOverGroup);
}

QImage RenderSkinHovered(TF& preview, HoverPreview& hover, int index)
{
    if (!HasMouseOverPicture(index)) return RenderSkin(preview);
    const int shownPage = preview.PC1->activePageIndex();
    const int page = PageOf(preview, index);
    if (page >= 0) preview.PC1->setActivePageIndex(page);
    hover.showAsHovered(index);
    const auto restore = qScopeGuard([&] {
        hover.showAsHovered(-1);
        preview.PC1->setActivePageIndex(shownPage);
    });
    return RenderSkin(preview);
}

void UseHeadlessPlatform(QTemporaryFile& config)
{
    const QByteArray asked = qgetenv("QT_QPA_PLATFORM");
    if (!asked.isEmpty() && asked != "offscreen") return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // One screen as the platform makes it by default; only the frame goes.
    if (!config.open()) return;
    config.write(R"({"windowFrameMargins": false, "screens": [{"name": "offscreen"}]})");
    if (!config.flush()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
}

} // namespace fabulor
