#include "preview/Overlays.h"

#include <QVariant>
#include <QWidget>

namespace fabulor {
namespace {

constexpr const char* OverlayProperty = "fabulorOverlay";

} // namespace

void MarkAsOverlay(QWidget* overlay)
{
    overlay->setProperty(OverlayProperty, true);
}

bool IsOverlay(const QWidget* widget)
{
    return widget && widget->property(OverlayProperty).toBool();
}

OverlaysHidden::OverlaysHidden(QWidget* window)
{
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (!IsOverlay(child) || child->isHidden()) continue;
        child->hide();
        m_hidden.append(child);
    }
}

OverlaysHidden::~OverlaysHidden()
{
    for (const QPointer<QWidget>& overlay : m_hidden)
        if (overlay) overlay->show();
}

} // namespace fabulor
