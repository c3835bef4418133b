#include "preview/Overlays.h"

#include "document/SkinSchema.h"
#include "preview/PreviewControls.h"
#include "preview/PreviewWindow.h"
#include "widgets/PageControl.h"
#include "widgets/PictureBox.h"

#include <QWidget>

#include <algorithm>

namespace fabulor {

OverlaysHidden::OverlaysHidden(TF& preview)
{
    m_content.push_back(preview.Skin);
    for (int index = 0; index < int(ComponentCount); ++index)
        m_content.push_back(ComponentControl(preview, index));
    for (int page = 0; page < preview.PC1->pageCount(); ++page)
        m_content.push_back(preview.PC1->page(page));

    hideOthersOn(&preview);
    hideOthersOn(preview.PC1);
    for (int page = 0; page < preview.PC1->pageCount(); ++page)
        hideOthersOn(preview.PC1->page(page));
}

OverlaysHidden::~OverlaysHidden()
{
    for (const QPointer<QWidget>& widget : m_hidden)
        if (widget) widget->show();
}

void OverlaysHidden::hideOthersOn(QWidget* parent)
{
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow() || widget->isHidden()) continue;
        if (std::find(m_content.begin(), m_content.end(), widget) != m_content.end()) continue;
        widget->hide();
        m_hidden.emplace_back(widget);
    }
}

} // namespace fabulor
