#include "editor/SkinRender.h"

#include "editor/Catalogue.h"
#include "editor/HoverPreview.h"
#include "preview/Overlays.h"
#include "preview/PreviewControls.h"
#include "preview/PreviewWindow.h"
#include "widgets/PageControl.h"
#include "widgets/PictureBox.h"

#include <QFile>
#include <QPainter>
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
    QImage image = preview.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // The window's region is its shape (none: the whole window shows);
    // what lies outside it is not there.
    if (!preview.mask().isEmpty()) {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.setClipRegion(QRegion(image.rect()).subtracted(preview.mask()));
        painter.fillRect(image.rect(), Qt::transparent);
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
